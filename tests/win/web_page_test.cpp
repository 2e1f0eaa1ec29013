// The browser view: how it is made (hidden, borderless, the browser filling
// it), what reaches its listener from the real browser and from events packed
// as the browser packs them, and a view that cannot be made. Its keys, in the
// frame's loop, are in ui_frame_test.cpp.
#include <gtest/gtest.h>
#include <urlmon.h>

#include <string>
#include <vector>

#include "web/browser_engine.h"
#include "web/external_dispatch.h"
#include "web/page_test_hook.h"
#include "web/web_page.h"
#include "web_test_util.h"
#include "win_test_util.h"

namespace web = framlet::web;

namespace {

struct Event {
  int view;
  std::string kind;
  std::wstring text;
  bool operator==(const Event& o) const { return view == o.view && kind == o.kind && text == o.text; }
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
  out << e.view << " " << e.kind << " ";
  for (wchar_t c : e.text) out << (c < 128 ? static_cast<char>(c) : '?');
  return out;
}

class RecordingListener : public IWebPageListener {
 public:
  void OnNavigateComplete(CWebPage& view, const std::wstring& url) override { Add(view, "navigated", url); }
  void OnBeforeNavigate(CWebPage& view, const std::wstring& url, bool& cancel) override {
    Add(view, "before", url);
    cancel = cancelNavigation;
  }
  void OnTitleChange(CWebPage& view, const std::wstring& title) override { Add(view, "title", title); }
  void OnNewWindow(CWebPage& view, IDispatch** newWindow) override {
    Add(view, "new window", *newWindow ? L"given" : L"empty");
    if (handOut) *newWindow = handOut->Application();
  }
  void OnDocumentComplete(CWebPage& view, const std::wstring& url) override { Add(view, "complete", url); }

  std::vector<Event> events;
  bool cancelNavigation = false;
  CWebPage* handOut = nullptr;

 private:
  void Add(CWebPage& view, const char* kind, const std::wstring& text) {
    events.push_back({view.ControlId(), kind, text});
  }
};

class WebPage : public wintest::WinTest {
 protected:
  std::unique_ptr<CWebPage> MakeView(int id, RECT rect = {10, 20, 410, 320}) {
    return CWebPage::Create(window_.Hwnd(), rect, id, &external_, &listener_);
  }
  bool SawEvent(const Event& wanted) {
    for (const Event& e : listener_.events)
      if (e == wanted) return true;
    return false;
  }

  webtest::OleScope ole_;
  webtest::HostWindow window_{50, 50, 600, 500};
  CExternalDispatch external_;
  RecordingListener listener_;
};

HWND BrowserWindowOf(const CWebPage& view) {
  return GetDlgItem(view.Hwnd(), CWebPage::kBrowserControlId);
}

TEST_F(WebPage, EngineReadiedForThisProgramNewestModeNoNavigationSounds) {
  const std::string key = std::string(web::kFeatureControlKey) + "\\" + web::kBrowserEmulationFeature;
  const char* program = "framlet_win_tests.exe";
  RegDeleteKeyValueA(HKEY_CURRENT_USER, key.c_str(), program);
  web::PrepareBrowserEngine();

  DWORD mode = 0;
  DWORD size = sizeof mode;
  EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, key.c_str(), program, RRF_RT_REG_DWORD, nullptr, &mode, &size),
            ERROR_SUCCESS)
      << "a value named after the program's own file";
  EXPECT_EQ(mode, 11000u);
  EXPECT_EQ(CoInternetIsFeatureEnabled(FEATURE_DISABLE_NAVIGATION_SOUNDS, GET_FEATURE_FROM_PROCESS), S_OK);
  RegDeleteKeyValueA(HKEY_CURRENT_USER, key.c_str(), program);
}

TEST_F(WebPage, MadeHiddenAndBorderlessWithTheBrowserFillingIt) {
  auto view = MakeView(121212);
  ASSERT_TRUE(view) << "the browser control exists on Windows and under Wine";
  EXPECT_EQ(view->ControlId(), 121212);
  EXPECT_EQ(GetParent(view->Hwnd()), window_.Hwnd());
  const LONG_PTR style = GetWindowLongPtrW(view->Hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_FALSE(style & WS_VISIBLE);
  EXPECT_FALSE(style & WS_BORDER);
  RECT place = {};
  GetWindowRect(view->Hwnd(), &place);
  MapWindowPoints(nullptr, window_.Hwnd(), reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, 10);
  EXPECT_EQ(place.top, 20);
  EXPECT_EQ(place.right, 410);
  EXPECT_EQ(place.bottom, 320);

  HWND browser = BrowserWindowOf(*view);
  ASSERT_NE(browser, nullptr) << "the browser's window carries the pane id";
  auto clientSize = [](HWND w) {
    RECT r = {};
    GetClientRect(w, &r);
    return std::make_pair(r.right, r.bottom);
  };
  EXPECT_EQ(clientSize(browser), std::make_pair(400L, 300L));
  view->Move(0, 0, 250, 150, false);
  EXPECT_EQ(clientSize(browser), std::make_pair(250L, 150L)) << "the browser follows the view's size";

  view->Show(true);
  EXPECT_TRUE(IsWindowVisible(view->Hwnd()));
  EXPECT_EQ(CWebPage::FromWindow(browser), view.get());
  EXPECT_EQ(CWebPage::FromWindow(view->Hwnd()), view.get());
  EXPECT_EQ(CWebPage::FromWindow(window_.Hwnd()), nullptr);
}

TEST_F(WebPage, PagesReachTheExternalObjectGivenAtCreation) {
  auto view = MakeView(1);
  ASSERT_TRUE(view);
  IDispatch* external = web::PageExternalOf(*view);
  EXPECT_EQ(external, static_cast<IDispatch*>(&external_));
  if (external) external->Release();
}

TEST_F(WebPage, RealNavigationReportsTheAddressBeforeLoading) {
  // Under Wine the browser has no HTML engine: it announces navigations and
  // keeps its address, but no document completes.
  auto view = MakeView(7);
  ASSERT_TRUE(view);
  const std::wstring address = L"http://127.0.0.1:9/Home/Index.html?ver=5.0";
  view->Navigate(address);
  ASSERT_TRUE(webtest::WaitFor([&] { return SawEvent({7, "before", address}); }));
  EXPECT_TRUE(webtest::WaitFor([&] { return view->LocationUrl() == address; }));

  // A cancelled navigation leaves the view where it was.
  listener_.cancelNavigation = true;
  view->Navigate(std::string("http://127.0.0.1:9/other.html"));
  ASSERT_TRUE(webtest::WaitFor([&] { return SawEvent({7, "before", L"http://127.0.0.1:9/other.html"}); }));
  webtest::WaitFor([] { return false; }, 300);
  EXPECT_EQ(view->LocationUrl(), address);
}

TEST_F(WebPage, EventsPackedAsTheBrowserPacksThem) {
  auto view = MakeView(3);
  auto second = MakeView(4);
  ASSERT_TRUE(view && second);
  view->Navigate(std::wstring(L"http://127.0.0.1:9/Start.HTML"));
  ASSERT_TRUE(webtest::WaitFor([&] { return !view->LocationUrl().empty(); }));
  listener_.events.clear();

  web::DeliverBrowserEvent(*view, web::BrowserEvent::DocumentComplete, L"HTTP://WWW.Framlet.Example/Home/X.html");
  web::DeliverBrowserEvent(*view, web::BrowserEvent::TitleChange, L"시작 페이지");
  // Navigation complete reports the browser's own address, not the event's.
  web::DeliverBrowserEvent(*view, web::BrowserEvent::NavigateComplete2, L"http://elsewhere/");
  web::DeliverBrowserEvent(*view, web::BrowserEvent::NewWindow2, L"http://127.0.0.1:9/popup.html");
  const std::vector<Event> expected = {
      {3, "complete", L"http://www.framlet.example/home/x.html"},
      {3, "title", L"시작 페이지"},
      {3, "navigated", L"http://127.0.0.1:9/start.html"},
      {3, "new window", L"empty"},
  };
  EXPECT_EQ(listener_.events, expected);

  // A browser handed out for the new window gets the page.
  listener_.events.clear();
  listener_.handOut = second.get();
  web::DeliverBrowserEvent(*view, web::BrowserEvent::NewWindow2, L"http://127.0.0.1:9/popup.html");
  EXPECT_TRUE(webtest::WaitFor([&] { return SawEvent({4, "before", L"http://127.0.0.1:9/popup.html"}); }));
}

TEST_F(WebPage, ViewThatCannotBeMadeLeavesNothingBehind) {
  // A control class nobody registered stands for a browser that cannot be made.
  const CLSID missing = {0x0badf00d, 0x1234, 0x5678, {0x9a, 0xbc, 0xde, 0xf0, 0x12, 0x34, 0x56, 0x78}};
  CWebPage::SetControlClassForTesting(&missing);
  const ULONG referencesBefore = external_.AddRef() - 1;
  external_.Release();
  EXPECT_EQ(MakeView(9), nullptr);
  CWebPage::SetControlClassForTesting(nullptr);
  EXPECT_EQ(GetWindow(window_.Hwnd(), GW_CHILD), nullptr) << "the view's window is gone too";
  EXPECT_EQ(external_.AddRef(), referencesBefore + 1) << "the failed view's site let go of the external object";
  external_.Release();
  // Without a parent window there is no view either.
  EXPECT_EQ(CWebPage::Create(nullptr, {0, 0, 100, 100}, 9, &external_, &listener_), nullptr);
}

}  // namespace
