// What the browser views decide from addresses: which completed navigations
// reach the address box, when the guide popup is due, where it goes; and the
// test build's hook message.
#include <gtest/gtest.h>

#include <string>

#include "web/page_rules.h"
#include "web/site_config.h"
#include "web/test_hook_message.h"

namespace framlet::web {
namespace {

// Site addresses as the view hands them over: wide and lower-cased.
std::wstring Wide(const std::string& ascii) {
  std::wstring out;
  for (char c : ascii) out += static_cast<wchar_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return out;
}

TEST(AddressBox, WhichCompletedNavigationsReachIt) {
  struct Case {
    const char* situation;
    std::wstring url;
    bool shown;
  };
  const std::string domain = site::SiteDomain();
  const Case cases[] = {
      {"start page", Wide(site::StartPageUrl()), true},
      {"help page", Wide(site::HelpUrl()), true},
      {"sign-in page", Wide(site::SignInUrl("abc")), true},
      {"another site", L"http://example.org/", true},
      {"empty address", L"", true},
      {"sign-in check page", Wide(site::SignInCheckUrl()), false},
      {"sign-in check page with a query: not equal", Wide(site::SignInCheckUrl() + "?x=1"), true},
      {"guide popup page", Wide(site::GuidePopupUrl()), false},
      {"another guide page (marker inside)", Wide("http://" + domain + "/home/guide_popup_2.html"), false},
      {"guide page on the www host (marker inside)", Wide("http://www." + domain + "/home/guide_popup.html"), false},
      {"guide page path on another domain", L"http://example.org/home/guide_popup.html", true},
  };
  for (const Case& c : cases) EXPECT_EQ(ShownInAddressBox(c.url), c.shown) << c.situation;
}

TEST(GuidePopup, DueOnlyWhenEveryConditionHolds) {
  const std::wstring start = Wide(site::StartPageUrl());
  const std::wstring home = Wide(site::HomeUrl());
  // Online on a LAN, not signed in, never closed, setting allows, start page.
  const GuidePopupCheck due{true, start, false, false, false, true, kLanConnection};
  struct Case {
    const char* situation;
    GuidePopupCheck check;
    bool expected;
  };
  auto with = [&](auto change) {
    GuidePopupCheck c = due;
    change(c);
    return c;
  };
  const Case cases[] = {
      {"start page loaded, signed out, online", due, true},
      {"online by modem", with([](GuidePopupCheck& c) { c.connectedFlags = kModemConnection; }), true},
      {"home page instead of the start page", with([&](GuidePopupCheck& c) { c.lowerUrl = home; }), false},
      {"start page with more after it", with([&](GuidePopupCheck& c) { c.lowerUrl = std::wstring(start) + L"&x"; }),
       false},
      {"setting stops it for good", with([](GuidePopupCheck& c) { c.popupAllowed = false; }), false},
      {"signed in", with([](GuidePopupCheck& c) { c.signedIn = true; }), false},
      {"closed by its page in this run", with([](GuidePopupCheck& c) { c.popupClosed = true; }), false},
      {"already open: no second one", with([](GuidePopupCheck& c) { c.popupOpen = true; }), false},
      {"connected-state query failed", with([](GuidePopupCheck& c) { c.connectedQueryOk = false; }), false},
      {"neither modem nor LAN (proxy flag only)", with([](GuidePopupCheck& c) { c.connectedFlags = 0x04; }), false},
  };
  for (const Case& c : cases) EXPECT_EQ(GuidePopupDue(c.check), c.expected) << c.situation;
}

TEST(GuidePopup, PlacedOverThePageAreaAndTheFrameCentredWhenLow) {
  struct Case {
    const char* situation;
    Box frame;
    int createdBottom;
    GuidePopupPlacement expected;
  };
  // 1600 x 1200 screen: "low" means a bottom edge below 1190.
  const Case cases[] = {
      {"frame in the middle", {300, 200, 836, 721}, 700, {false, 0, 0, {304, 228, 525, 464}}},
      {"bottom edge exactly 10 pixels above the screen's: stays",
       {300, 200, 836, 721},
       1190,
       {false, 0, 0, {304, 228, 525, 464}}},
      {"bottom edge one pixel lower: frame centred first",
       {300, 700, 836, 721},
       1191,
       {true, 382, 239, {386, 267, 525, 464}}},
      {"frame larger than the screen: centred, corner kept on it",
       {0, 0, 1700, 1300},
       1250,
       {true, 0, 0, {4, 28, 525, 464}}},
  };
  for (const Case& c : cases) {
    const GuidePopupPlacement p = PlaceGuidePopup(c.frame, c.createdBottom, 1600, 1200);
    EXPECT_EQ(p.moveFrame, c.expected.moveFrame) << c.situation;
    if (p.moveFrame) {
      EXPECT_EQ(p.frameLeft, c.expected.frameLeft) << c.situation;
      EXPECT_EQ(p.frameTop, c.expected.frameTop) << c.situation;
    }
    EXPECT_EQ(p.popup.left, c.expected.popup.left) << c.situation;
    EXPECT_EQ(p.popup.top, c.expected.popup.top) << c.situation;
    EXPECT_EQ(p.popup.width, c.expected.popup.width) << c.situation;
    EXPECT_EQ(p.popup.height, c.expected.popup.height) << c.situation;
  }
}

TEST(TestHookMessage, EventTextsParsed) {
  struct Case {
    const char16_t* text;
    ViewPlace place;
    int id;
    BrowserEvent event;
    const char16_t* argument;
  };
  const Case cases[] = {
      {u"frame:121212\nDocumentComplete\nhttp://www.framlet.example/home/index.html?ver=5.0", ViewPlace::Frame, 121212,
       BrowserEvent::DocumentComplete, u"http://www.framlet.example/home/index.html?ver=5.0"},
      {u"popup:121213\nBeforeNavigate2\nhttp://a/", ViewPlace::Popup, 121213, BrowserEvent::BeforeNavigate2,
       u"http://a/"},
      {u"frame:1\nTitleChange\n", ViewPlace::Frame, 1, BrowserEvent::TitleChange, u""},
      {u"frame:1\nTitleChange\n두 줄\n제목", ViewPlace::Frame, 1, BrowserEvent::TitleChange, u"두 줄\n제목"},
      {u"frame:1\nNewWindow2\nhttp://a/", ViewPlace::Frame, 1, BrowserEvent::NewWindow2, u"http://a/"},
      {u"frame:1\nNavigateComplete2\nhttp://a/", ViewPlace::Frame, 1, BrowserEvent::NavigateComplete2, u"http://a/"},
  };
  for (const Case& c : cases) {
    const std::optional<HookEvent> parsed = ParseHookEvent(c.text);
    ASSERT_TRUE(parsed.has_value()) << "case " << (&c - cases);
    EXPECT_EQ(parsed->place, c.place);
    EXPECT_EQ(parsed->controlId, c.id);
    EXPECT_EQ(parsed->event, c.event);
    EXPECT_EQ(parsed->argument, c.argument);
  }
}

TEST(TestHookMessage, MalformedEventTextsRefused) {
  const char16_t* const cases[] = {
      u"frame:1\nDocumentComplete",         // no argument line
      u"frame:1\ndocumentcomplete\nx",      // names are exact
      u"window:1\nTitleChange\nx",          // unknown place
      u"frame:\nTitleChange\nx",            // no id
      u"frame:12a\nTitleChange\nx",         // not a number
      u"frame:9999999999\nTitleChange\nx",  // too long to be an id
      u"121212\nTitleChange\nx",            // no place
      u"",
  };
  for (const char16_t* const& text : cases)
    EXPECT_FALSE(ParseHookEvent(text).has_value()) << "case " << (&text - cases);
}

TEST(TestHookMessage, DriverTextParsesBack) {
  // The driver builds the text with FormatHookEvent; a title may hold anything, line breaks included.
  const std::optional<HookEvent> parsed =
      ParseHookEvent(FormatHookEvent(u"popup:121212", u"TitleChange", u"가\n나:다"));
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->place, ViewPlace::Popup);
  EXPECT_EQ(parsed->controlId, 121212);
  EXPECT_EQ(parsed->argument, u"가\n나:다");
}

}  // namespace
}  // namespace framlet::web
