// The toolkit's tab strip and the browser tab bar built on it: tabs added,
// made active and removed; a button reports only when released over itself;
// the bar keeps one tab with the latest page title, adds the page icon to its
// list once, and its close button goes through the sign-in gate.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ui/tab_strip.h"
#include "web/browser_tab_bar.h"
#include "win_test_util.h"

namespace {

// A top-level window that records the strip's notifications.
class Receiver : public CWindowBase {
 public:
  bool Make() {
    return CreateWindowOf(L"FramletTabTestReceiver", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 50, 50, 600, 200, nullptr);
  }
  std::vector<UINT> codes;
  std::vector<int> tabs;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NOTIFY) {
      const auto* n = reinterpret_cast<const CTabStrip::TabStripNotify*>(lParam);
      codes.push_back(n->hdr.code);
      tabs.push_back(n->tab);
      return 0;
    }
    return CWindowBase::HandleMessage(message, wParam, lParam);
  }
};

LPARAM Point(const RECT& r) {
  return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

class TabStrip : public wintest::WinTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(receiver_.Make());
    const RECT place = {0, 0, 500, 29};
    ASSERT_TRUE(strip_.Create(receiver_.Hwnd(), 3001, place));
    strip_.SetNotifyWindow(receiver_.Hwnd());
  }
  void TearDown() override { DestroyWindow(receiver_.Hwnd()); }

  void Press(CTabStrip::Button button, CTabStrip::Button releasedOver) {
    SendMessageW(strip_.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Point(strip_.ButtonRect(button)));
    SendMessageW(strip_.Hwnd(), WM_LBUTTONUP, 0, Point(strip_.ButtonRect(releasedOver)));
  }

  Receiver receiver_;
  CTabStrip strip_;
};

TEST_F(TabStrip, TabsAddedBecomeActiveAndRemovalKeepsTheActiveIndexValid) {
  EXPECT_EQ(strip_.Count(), 0);
  EXPECT_EQ(strip_.Active(), -1);
  HWND a = reinterpret_cast<HWND>(0x10), b = reinterpret_cast<HWND>(0x20), c = reinterpret_cast<HWND>(0x30);
  EXPECT_EQ(strip_.AddTab(a, L"\uCCAB", 0), 0);
  EXPECT_EQ(strip_.AddTab(b, L"\uB458", 0), 1);
  EXPECT_EQ(strip_.AddTab(c, L"\uC14B", 0), 2);
  EXPECT_EQ(strip_.Active(), 2);
  EXPECT_EQ(strip_.TabWindow(1), b);
  // Read from outside as other programs read it.
  EXPECT_EQ(SendMessageW(strip_.Hwnd(), CTabStrip::kGetCount, 0, 0), 3);
  wchar_t text[16] = {};
  GetWindowTextW(strip_.Hwnd(), text, 16);
  EXPECT_STREQ(text, L"\uC14B");

  strip_.RemoveTab(strip_.Active());
  EXPECT_EQ(strip_.Count(), 2);
  EXPECT_EQ(strip_.Active(), 1);
  strip_.SetActive(0);
  strip_.RemoveTab(1);
  EXPECT_EQ(strip_.Active(), 0);
  EXPECT_EQ(strip_.TabWindow(0), a);
  strip_.RemoveTab(0);
  EXPECT_EQ(strip_.Active(), -1);
  strip_.RemoveTab(0);  // nothing left to remove
  strip_.RemoveTab(-1);
  EXPECT_EQ(strip_.TabWindow(0), nullptr);
  GetWindowTextW(strip_.Hwnd(), text, 16);
  EXPECT_STREQ(text, L"");
}

TEST_F(TabStrip, ButtonsReportOnlyWhenReleasedOverThemselves) {
  strip_.AddTab(nullptr, L"t", 0);
  Press(CTabStrip::kClose, CTabStrip::kClose);
  Press(CTabStrip::kNewTab, CTabStrip::kNewTab);
  Press(CTabStrip::kClose, CTabStrip::kNewTab);  // slid off: nothing
  ASSERT_EQ(receiver_.codes.size(), 2u);
  // A quick second click on close counts as a click, not as a double click.
  SendMessageW(strip_.Hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(strip_.ButtonRect(CTabStrip::kClose)));
  SendMessageW(strip_.Hwnd(), WM_LBUTTONUP, 0, Point(strip_.ButtonRect(CTabStrip::kClose)));
  ASSERT_EQ(receiver_.codes.size(), 3u);
  EXPECT_EQ(receiver_.codes[2], CTabStrip::kCloseClicked);
  receiver_.codes.pop_back();
  receiver_.tabs.pop_back();
  EXPECT_EQ(receiver_.codes[0], CTabStrip::kCloseClicked);
  EXPECT_EQ(receiver_.tabs[0], 0);
  EXPECT_EQ(receiver_.codes[1], CTabStrip::kNewTabClicked);
  EXPECT_EQ(strip_.Count(), 1) << "the strip never closes a tab by itself";

  // A click on another tab makes it active and says so.
  strip_.AddTab(nullptr, L"u", 0);
  receiver_.codes.clear();
  SendMessageW(strip_.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Point(strip_.TabRect(0)));
  EXPECT_EQ(strip_.Active(), 0);
  ASSERT_EQ(receiver_.codes.size(), 2u);
  EXPECT_EQ(receiver_.codes[1], CTabStrip::kActiveChanged);
}

TEST_F(TabStrip, ScrollButtonsOnlyWhileTheTabsDoNotFit) {
  RECT r = strip_.ButtonRect(CTabStrip::kScrollLeft);
  EXPECT_TRUE(IsRectEmpty(&r));
  r = strip_.ButtonRect(CTabStrip::kClose);
  EXPECT_FALSE(IsRectEmpty(&r));
  EXPECT_LE(r.right, 500);
  for (int i = 0; i < 6; ++i) strip_.AddTab(nullptr, L"tab", 0);
  r = strip_.ButtonRect(CTabStrip::kScrollLeft);
  EXPECT_FALSE(IsRectEmpty(&r));
  // The active (last) tab is scrolled into view.
  r = strip_.TabRect(strip_.Active());
  EXPECT_FALSE(IsRectEmpty(&r));
}

// The frame's side of the tab bar.
struct FakeHost : IBrowserTabHost {
  bool SignedIn() const override { return signedIn; }
  void RequireSignIn() override { ++asked; }
  void EnterNormalMode() override { ++normal; }
  bool signedIn = false;
  int asked = 0;
  int normal = 0;
};

class BrowserTabBar : public wintest::WinTest {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 836,
                              300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    bar_ = std::make_unique<CBrowserTabBar>(host_);
    ASSERT_TRUE(bar_->Create(parent_));
    bar_->Place(418, 90, 298, 29);
    ShowWindow(bar_->Hwnd(), SW_SHOW);
  }
  void TearDown() override {
    bar_.reset();
    DestroyWindow(parent_);
  }
  void CloseButton() {
    const RECT r = bar_->Strip().ButtonRect(CTabStrip::kClose);
    SendMessageW(bar_->Strip().Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Point(r));
    SendMessageW(bar_->Strip().Hwnd(), WM_LBUTTONUP, 0, Point(r));
  }

  HWND parent_ = nullptr;
  FakeHost host_;
  std::unique_ptr<CBrowserTabBar> bar_;
};

TEST_F(BrowserTabBar, OneTabWithTheLatestTitleAndTheIconAddedOnce) {
  const CTabStrip& strip = bar_->Strip();
  bar_->AddTitle(L"\uCCAB \uD398\uC774\uC9C0");
  bar_->AddTitle(L"\uB458\uC9F8 \uD398\uC774\uC9C0");
  ASSERT_EQ(strip.Count(), 1);
  EXPECT_EQ(strip.TabText(0), L"\uB458\uC9F8 \uD398\uC774\uC9C0");
  EXPECT_EQ(strip.TabImage(0), 0);
  // Tied to a placeholder of the strip, which never shows.
  HWND tied = strip.TabWindow(0);
  ASSERT_NE(tied, nullptr);
  EXPECT_GE(GetDlgCtrlID(tied), CBrowserTabBar::kFirstPlaceholderId);
  EXPECT_LT(GetDlgCtrlID(tied), CBrowserTabBar::kFirstPlaceholderId + 15);
  EXPECT_EQ(GetParent(tied), strip.Hwnd());
  EXPECT_FALSE(IsWindowVisible(tied));

  // Many titles never use up the placeholders (no "cannot make more" message).
  for (int i = 0; i < 40; ++i) bar_->AddTitle(L"t" + std::to_wstring(i));
  EXPECT_EQ(strip.Count(), 1);
  EXPECT_EQ(strip.TabText(0), L"t39");
  EXPECT_EQ(ImageList_GetImageCount(bar_->TabImages()), 1);

  bar_->AddTitle(L"");
  ASSERT_EQ(strip.Count(), 1);
  EXPECT_EQ(strip.TabText(0), L"");
  bar_->AddTitle(std::wstring(300, L'x'));
  EXPECT_EQ(strip.TabText(0).size(), 259u);
}

TEST_F(BrowserTabBar, CloseButtonAsksToSignInOrLeavesWebCapture) {
  bar_->AddTitle(L"page");
  CloseButton();
  EXPECT_EQ(host_.asked, 1);
  EXPECT_EQ(host_.normal, 0);
  EXPECT_EQ(bar_->Strip().Count(), 1) << "signed out, the tab stays";

  host_.signedIn = true;
  CloseButton();
  EXPECT_EQ(host_.asked, 1);
  EXPECT_EQ(host_.normal, 1);
  EXPECT_EQ(bar_->Strip().Count(), 0);
  // With no tab left the button still leaves web capture.
  CloseButton();
  EXPECT_EQ(host_.normal, 2);
}

TEST_F(BrowserTabBar, StripFillsTheBarFromItsAnchorAndEnterOrEscapeCloseNothing) {
  RECT client = {};
  GetClientRect(bar_->Hwnd(), &client);
  RECT strip = {};
  GetWindowRect(bar_->Strip().Hwnd(), &strip);
  MapWindowPoints(nullptr, bar_->Hwnd(), reinterpret_cast<POINT*>(&strip), 2);
  EXPECT_EQ(strip.left, 0);
  EXPECT_EQ(strip.top, 0);
  EXPECT_EQ(strip.right, client.right);
  EXPECT_EQ(strip.bottom, client.bottom);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(bar_->Hwnd(), CBrowserTabBar::kAnchorId)));

  // A bar squeezed to nothing gives the strip no negative size.
  bar_->Place(418, 90, 0, 0);
  GetWindowRect(bar_->Strip().Hwnd(), &strip);
  EXPECT_GE(strip.right - strip.left, 0);

  SendMessageW(bar_->Hwnd(), WM_COMMAND, IDOK, 0);
  SendMessageW(bar_->Hwnd(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(bar_->IsOpen());
}

}  // namespace
