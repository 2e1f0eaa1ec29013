// The capture frame's browser views: pages opened as new windows come back
// into the primary view (through the browser's own navigation events), the
// address box and tab strip get what the pages report, the guide popup opens
// over the frame when the start page has loaded and closes on its page's
// calls, and nothing happens when the views could not be made.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "core/command_ids.h"
#include "core/settings.h"
#include "web/external_dispatch.h"
#include "web/frame_views.h"
#include "web/page_rules.h"
#include "web/page_test_hook.h"
#include "web/script_runner.h"
#include "web/site_config.h"
#include "web_test_util.h"
#include "win_test_util.h"

using namespace framlet;
using webtest::Wide;

namespace {

bool Online(unsigned long* flags) {
  *flags = web::kLanConnection;
  return true;
}
bool Offline(unsigned long* flags) {
  *flags = 0;
  return false;
}

// Runs `action` from the message loop that is running `delay` ms from now
// (the popup's own loop, once it is open).
class Later {
 public:
  Later(int delay, std::function<void()> action) : action_(std::move(action)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, static_cast<UINT>(delay), Fire);
  }
  ~Later() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool fired = false;

 private:
  static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (!current_ || current_->fired) return;
    current_->fired = true;
    current_->action_();
  }
  static inline Later* current_ = nullptr;
  std::function<void()> action_;
  UINT_PTR timer_;
};

class FrameViews : public wintest::WinTest {
 protected:
  void SetUp() override {
    calls_.popup = [this] { return views_.GuidePopupWindow(); };
    external_.SetHost(&calls_);
    views_.SetConnectedQuery(Online);
  }
  void TearDown() override { external_.SetHost(nullptr); }
  bool CreateViews() { return views_.Create(frame_.Hwnd(), {4, 121, 828, 698}); }
  void StartPageCompletes() {
    web::DeliverBrowserEvent(*views_.Primary(), web::BrowserEvent::DocumentComplete, Wide(site::StartPageUrl()));
  }

  webtest::OleScope ole_;
  webtest::HostWindow frame_{100, 60, 836, 721};
  CExternalDispatch external_;
  webtest::PageCallRecorder calls_;
  webtest::FrameRecorder host_;
  CFrameViews views_{host_, &external_};
};

TEST_F(FrameViews, PrimaryShownSecondHidden) {
  ASSERT_TRUE(CreateViews());
  ASSERT_NE(views_.Second(), nullptr);
  EXPECT_EQ(views_.Primary()->ControlId(), IDC_WEB_VIEW);
  EXPECT_EQ(views_.Second()->ControlId(), IDC_WEB_SECOND_VIEW);
  EXPECT_TRUE(IsWindowVisible(views_.Primary()->Hwnd()));
  EXPECT_FALSE(IsWindowVisible(views_.Second()->Hwnd()));
}

TEST_F(FrameViews, NewWindowsComeBackIntoThePrimaryView) {
  ASSERT_TRUE(CreateViews());
  // A link with a new-window target in the primary view: the browser is handed
  // the second view, loads the page there, and the second view's real
  // navigation event sends it back to the primary view.
  const std::wstring page = L"http://127.0.0.1:9/news.html";
  web::DeliverBrowserEvent(*views_.Primary(), web::BrowserEvent::NewWindow2, page);
  EXPECT_TRUE(webtest::WaitFor([&] { return views_.Primary()->LocationUrl() == page; }));
  EXPECT_EQ(views_.Second()->LocationUrl(), L"") << "the second view's navigation was cancelled";

  // The second view navigating anywhere, however it started.
  views_.Second()->Navigate(std::wstring(L"http://127.0.0.1:9/direct.html"));
  EXPECT_TRUE(webtest::WaitFor([&] { return views_.Primary()->LocationUrl() == L"http://127.0.0.1:9/direct.html"; }));
  EXPECT_EQ(views_.Second()->LocationUrl(), L"");
}

TEST_F(FrameViews, OnlyThePrimaryViewRoutesNewWindows) {
  ASSERT_TRUE(CreateViews());
  IDispatch* given = nullptr;
  views_.OnNewWindow(*views_.Primary(), &given);
  ASSERT_NE(given, nullptr);
  IUnknown* handedOut = nullptr;
  IUnknown* second = nullptr;
  given->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&handedOut));
  views_.Second()->Browser()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&second));
  EXPECT_EQ(handedOut, second) << "the second view's browser";
  handedOut->Release();
  second->Release();
  given->Release();

  IDispatch* none = nullptr;
  views_.OnNewWindow(*views_.Second(), &none);
  EXPECT_EQ(none, nullptr) << "other views keep the browser's own new window";
}

TEST_F(FrameViews, AddressBoxAndTitles) {
  ASSERT_TRUE(CreateViews());
  struct Case {
    const char* situation;
    std::string address;
    bool shown;
  };
  const Case cases[] = {
      {"start page, lower-cased", "http://WWW.Framlet.Example/Home/Index.HTML?ver=5.0", true},
      {"another page", "http://127.0.0.1:9/Some/Page.html", true},
      {"sign-in check page", site::SignInCheckUrl(), false},
      {"guide popup page", site::GuidePopupUrl(), false},
  };
  for (const Case& c : cases) {
    host_.addresses.clear();
    views_.Navigate(c.address);
    // (The browser writes the host in lower case itself.)
    ASSERT_TRUE(webtest::WaitFor([&] {
      return lstrcmpiW(views_.Primary()->LocationUrl().c_str(), Wide(c.address).c_str()) == 0;
    })) << c.situation;
    web::DeliverBrowserEvent(*views_.Primary(), web::BrowserEvent::NavigateComplete2, L"");
    std::wstring lower = Wide(c.address);
    CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    EXPECT_EQ(host_.addresses, c.shown ? std::vector<std::wstring>{lower} : std::vector<std::wstring>{}) << c.situation;
  }
  web::DeliverBrowserEvent(*views_.Primary(), web::BrowserEvent::TitleChange, L"첫 페이지");
  web::DeliverBrowserEvent(*views_.Primary(), web::BrowserEvent::TitleChange, L"");
  EXPECT_EQ(host_.titles, (std::vector<std::wstring>{L"첫 페이지", L""}));
}

TEST_F(FrameViews, GuidePopupOverTheFrameClosedForThisRun) {
  ASSERT_TRUE(CreateViews());
  struct Seen {
    bool open = false;
    RECT place = {};
    bool frameDisabled = false;
    bool primaryShown = false;
    bool secondHidden = false;
    std::wstring page;
    bool scriptRan = false;
  } seen;
  int popupsDuringRun = 0;
  Later closeIt(300, [&] {
    HWND popup = views_.GuidePopupWindow();
    seen.open = popup != nullptr && IsWindowVisible(popup);
    if (!popup) return;
    GetWindowRect(popup, &seen.place);
    seen.frameDisabled = !IsWindowEnabled(frame_.Hwnd());
    CGuidePopupDlg& dialog = views_.GuidePopup();
    seen.primaryShown = dialog.PrimaryView() && IsWindowVisible(dialog.PrimaryView()->Hwnd());
    seen.secondHidden = dialog.SecondView() && !IsWindowVisible(dialog.SecondView()->Hwnd());
    webtest::WaitFor([&] { return !dialog.PrimaryView()->LocationUrl().empty(); }, 2000);
    seen.page = dialog.PrimaryView()->LocationUrl();
    // The start page completing again while the popup is open opens no second one.
    StartPageCompletes();
    popupsDuringRun = views_.GuidePopupWindow() == popup ? 1 : 2;
    // The guide page's close button.
    IDispatch* external = web::PageExternalOf(*dialog.PrimaryView());
    seen.scriptRan = external && web::RunJScript(L"external.FL_Popclose();", external).ok;
    if (external) external->Release();
  });
  StartPageCompletes();  // returns when the popup has closed
  ASSERT_TRUE(closeIt.fired);
  EXPECT_TRUE(seen.open);
  EXPECT_EQ(seen.place.left, 100 + 4);
  EXPECT_EQ(seen.place.top, 60 + 28);
  EXPECT_EQ(seen.place.right - seen.place.left, 525);
  EXPECT_EQ(seen.place.bottom - seen.place.top, 464);
  EXPECT_TRUE(seen.frameDisabled) << "modal over the frame";
  EXPECT_TRUE(seen.primaryShown);
  EXPECT_TRUE(seen.secondHidden);
  EXPECT_EQ(seen.page, Wide(site::GuidePopupUrl()));
  EXPECT_EQ(popupsDuringRun, 1);
  EXPECT_TRUE(seen.scriptRan);
  EXPECT_EQ(views_.GuidePopupWindow(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(frame_.Hwnd()));
  EXPECT_EQ(webtest::StoredPopCloseState(), "TRUE");
  EXPECT_TRUE(calls_.popupClosed);
  EXPECT_TRUE(host_.addresses.empty()) << "the guide page never reaches the address box";

  // Closed for this run: the start page loading again shows nothing.
  host_.popupClosed = calls_.popupClosed;
  bool reopened = false;
  Later check(300, [&] { reopened = views_.GuidePopupWindow() != nullptr; });
  StartPageCompletes();
  webtest::WaitFor([&] { return check.fired; }, 1000);
  EXPECT_FALSE(reopened);
}

TEST_F(FrameViews, GuidePopupNeverAgainAfterItsSecondCloseCall) {
  ASSERT_TRUE(CreateViews());
  Later closeIt(300, [&] {
    if (CWebPage* page = views_.GuidePopup().PrimaryView()) {
      IDispatch* external = web::PageExternalOf(*page);
      web::RunJScript(L"external.FL_Popckclose();", external);
      external->Release();
    }
  });
  StartPageCompletes();
  ASSERT_TRUE(closeIt.fired);
  EXPECT_EQ(views_.GuidePopupWindow(), nullptr);
  EXPECT_EQ(webtest::StoredPopCloseState(), "FALSE");
  EXPECT_FALSE(calls_.popupClosed) << "the setting, not the run's flag, keeps it away";

  bool reopened = false;
  Later check(300, [&] { reopened = views_.GuidePopupWindow() != nullptr; });
  StartPageCompletes();
  webtest::WaitFor([&] { return check.fired; }, 1000);
  EXPECT_FALSE(reopened);
}

TEST_F(FrameViews, GuidePopupNotShownWhenARuleSaysNo) {
  ASSERT_TRUE(CreateViews());
  struct Case {
    const char* situation;
    std::function<void()> arrange;
    std::string completed;
  };
  const Case cases[] = {
      {"signed in", [&] { host_.signedIn = true; }, site::StartPageUrl()},
      {"offline", [&] { views_.SetConnectedQuery(Offline); }, site::StartPageUrl()},
      {"another page", [] {}, site::HomeUrl()},
  };
  for (const Case& c : cases) {
    host_.signedIn = false;
    views_.SetConnectedQuery(Online);
    c.arrange();
    bool opened = false;
    Later check(200, [&] { opened = views_.GuidePopupWindow() != nullptr; });
    web::DeliverBrowserEvent(*views_.Primary(), web::BrowserEvent::DocumentComplete, Wide(c.completed));
    webtest::WaitFor([&] { return check.fired; }, 1000);
    EXPECT_FALSE(opened) << c.situation;
  }
}

TEST_F(FrameViews, GuidePopupCentresAFrameLowOnTheScreen) {
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  SetWindowPos(frame_.Hwnd(), nullptr, 50, screenHeight - 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(CreateViews());
  RECT popupPlace = {};
  Later closeIt(300, [&] {
    if (HWND popup = views_.GuidePopupWindow()) GetWindowRect(popup, &popupPlace);
    SendMessageW(views_.GuidePopupWindow(), WM_CLOSE, 0, 0);
  });
  StartPageCompletes();
  ASSERT_TRUE(closeIt.fired);
  RECT frame = {};
  GetWindowRect(frame_.Hwnd(), &frame);
  EXPECT_EQ(frame.left, std::max(0, (screenWidth - 836) / 2));
  EXPECT_EQ(frame.top, std::max(0, (screenHeight - 721) / 2));
  EXPECT_EQ(popupPlace.left, frame.left + 4);
  EXPECT_EQ(popupPlace.top, frame.top + 28);
}

TEST_F(FrameViews, GuidePopupWithoutAPageEndsAtOnce) {
  // Only the guide page can close the popup: without a browser for it, no popup stays up.
  ASSERT_TRUE(CreateViews());
  const CLSID missing = {0x0badf00d, 0x1234, 0x5678, {0x9a, 0xbc, 0xde, 0xf0, 0x12, 0x34, 0x56, 0x78}};
  CWebPage::SetControlClassForTesting(&missing);
  StartPageCompletes();  // would not return if the popup waited for its page
  CWebPage::SetControlClassForTesting(nullptr);
  EXPECT_EQ(views_.GuidePopupWindow(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(frame_.Hwnd()));
  EXPECT_EQ(webtest::StoredPopCloseState(), "") << "nothing stored: it may show next time";
}

TEST_F(FrameViews, EveryOperationHarmlessWithoutViews) {
  // No browser control on the machine: the frame carries on without pages.
  const CLSID missing = {0x0badf00d, 0x1234, 0x5678, {0x9a, 0xbc, 0xde, 0xf0, 0x12, 0x34, 0x56, 0x78}};
  CWebPage::SetControlClassForTesting(&missing);
  EXPECT_FALSE(CreateViews());
  CWebPage::SetControlClassForTesting(nullptr);
  EXPECT_EQ(views_.Primary(), nullptr);
  EXPECT_EQ(views_.Second(), nullptr);
  EXPECT_EQ(GetWindow(frame_.Hwnd(), GW_CHILD), nullptr);
  views_.Navigate(site::StartPageUrl());
  views_.Navigate(std::wstring(L"http://127.0.0.1:9/"));
  views_.GoBack();
  views_.GoForward();
  views_.Refresh();
  views_.Show(true);
  views_.Move(4, 121, 100, 100, true);
  EXPECT_EQ(views_.GuidePopupWindow(), nullptr);
  EXPECT_TRUE(host_.addresses.empty());
}

}  // namespace
