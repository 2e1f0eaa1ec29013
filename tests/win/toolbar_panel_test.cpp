// The toolbar panels as windows: buttons at their places for a frame width,
// clicks, menu items and keys forwarded to the host, tips at their places.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

#include "core/command_ids.h"
#include "dialog_test_util.h"
#include "win_test_util.h"
#include "windows/capture_toolbar_dlg.h"
#include "windows/web_toolbar_dlg.h"

namespace tb = framlet::toolbar;
using tb::Command;

namespace {

MSG KeyDown(HWND target, WPARAM key) {
  MSG message = {};
  message.hwnd = target;
  message.message = WM_KEYDOWN;
  message.wParam = key;
  return message;
}

constexpr int kFrameLeft = 40, kFrameTop = 30;

// Records what the panel asks of the frame; the frame is a plain pop-up window.
class FakeFrame : public IToolbarHost {
 public:
  explicit FakeFrame(int width) {
    frame_ = CreateWindowExW(0, L"STATIC", L"frame", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, kFrameLeft, kFrameTop,
                             width, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~FakeFrame() { DestroyWindow(frame_); }
  HWND FrameWindow() const override { return frame_; }
  void RunToolbarCommand(Command command) override { commands.push_back(command); }
  bool NormalMode() const override { return normalMode; }
  bool ContinuousRunning() const override { return continuousRunning; }
  bool ScrollRunning() const override { return scrollRunning; }
  void RefreshTabStrip() override { commands.push_back(Command::None); }

  std::vector<Command> commands;
  bool normalMode = true, continuousRunning = false, scrollRunning = false;

 private:
  HWND frame_ = nullptr;
};

using ToolbarPanel = wintest::WinTest;

// A panel opened inside a frame of the given width, where the frame puts it.
template <class Panel>
struct OpenPanel {
  explicit OpenPanel(int frameWidth) : frame(frameWidth), panel(frame) {
    wintest::InitControls();
    EXPECT_TRUE(panel.Create());
    panel.Place(4, 28, frameWidth - 8, 60);
    ShowWindow(panel.Hwnd(), SW_SHOWNA);
    wintest::DispatchPending();
  }
  FakeFrame frame;
  Panel panel;
};

POINT CentreOnScreen(HWND control) {
  RECT r = {};
  GetWindowRect(control, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

struct LayoutCase {
  int frameWidth;
  std::vector<int> shown, hidden;
  int folderX, printX, arrowX;  // -1: not checked (hidden)
};

template <class Panel>
void CheckLayout(const LayoutCase& c, int recordId) {
  OpenPanel<Panel> open(c.frameWidth);
  HWND panel = open.panel.Hwnd();
  for (int id : c.shown) {
    const int real = id == IDC_TB_RECORD ? recordId : id;
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(panel, real))) << real << " at frame " << c.frameWidth;
    RECT r = wintest::ChildRect(panel, real);
    EXPECT_EQ(r.right - r.left, real == IDC_TB_ARROW ? 16 : real == IDC_TB_SEPARATOR ? 2 : 52) << real;
  }
  for (int id : c.hidden) {
    const int real = id == IDC_TB_RECORD ? recordId : id;
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(panel, real))) << real << " at frame " << c.frameWidth;
  }
  const struct {
    int id, x;
  } places[] = {{IDC_TB_OPEN_FOLDER, c.folderX}, {IDC_TB_PRINT, c.printX}, {IDC_TB_ARROW, c.arrowX}};
  for (const auto& p : places) {
    if (p.x < 0) continue;
    EXPECT_EQ(wintest::ChildRect(panel, p.id).left, p.x) << p.id << " at frame " << c.frameWidth;
  }
  EXPECT_EQ(wintest::ChildRect(panel, IDC_TB_COPY).left, 351);
  HWND second = GetDlgItem(panel, IDC_TB_ARROW2);
  EXPECT_FALSE(second && IsWindowVisible(second));
}

// Which buttons a width shows and where the right group stands are the host
// rules ToolbarLayout; one frame width with buttons on both sides of the cut
// shows each panel laying itself out by them.
const LayoutCase kLayout = {
    608,
    {IDC_TB_AREA, IDC_TB_COPY, IDC_TB_RECORD, IDC_TB_SEPARATOR, IDC_TB_OPEN_FOLDER, IDC_TB_ARROW},
    {IDC_TB_SNAP, IDC_TB_PRINT},
    502,
    -1,
    580};

}  // namespace

TEST_F(ToolbarPanel, ButtonsFollowTheFrameWidth) {
  CheckLayout<CCaptureToolbarDlg>(kLayout, IDC_TB_RECORD);
  CheckLayout<CWebToolbarDlg>(kLayout, IDC_TB_RECORD_WEB);
}

TEST_F(ToolbarPanel, ResizingMovesTheRightGroup) {
  OpenPanel<CCaptureToolbarDlg> open(836);
  HWND panel = open.panel.Hwnd();
  open.panel.Place(4, 28, 600, 60);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(panel, IDC_TB_PRINT)));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(panel, IDC_TB_ARROW)));
  EXPECT_EQ(wintest::ChildRect(panel, IDC_TB_OPEN_FOLDER).left, 502);
}

// Which command a button runs in which panel is the host rule ToolbarCommands;
// here a click reaches it in each panel, with what the panel adds itself: the
// tips held back by a scroll capture, nothing from a greyed button, the tab
// strip refreshed before a whole-page capture.
TEST_F(ToolbarPanel, ClicksRunTheirPanelsCommands) {
  struct Case {
    bool web;
    int id;
    std::vector<Command> expected;
    bool tipsStaySuppressed;
  } cases[] = {
      {false, IDC_TB_AREA, {Command::CaptureArea}, false},
      {false, IDC_TB_SCROLL, {Command::StartScrollCapture}, true},  // released by the frame later
      {true, IDC_TB_SCROLL, {}, false},                             // greyed
      {true, IDC_TB_REGION, {Command::RegionSelectionKeepFrame}, false},
      {true, IDC_TB_FULL_SCREEN, {Command::None, Command::WholePageCapture}, false},  // tab strip first
  };
  for (const auto& c : cases) {
    OpenPanel<CCaptureToolbarDlg> normal(836);
    OpenPanel<CWebToolbarDlg> web(836);
    CToolbarPanel& panel = c.web ? static_cast<CToolbarPanel&>(web.panel) : normal.panel;
    FakeFrame& frame = c.web ? web.frame : normal.frame;
    wintest::Click(panel.Hwnd(), c.id);
    EXPECT_EQ(frame.commands, c.expected) << c.id << (c.web ? " web" : " normal");
    EXPECT_EQ(panel.TipsSuppressed(), c.tipsStaySuppressed) << c.id;
    EXPECT_TRUE(IsWindow(panel.Hwnd()));
  }
}

TEST_F(ToolbarPanel, MoreMenuItemsRunTheirCommands) {
  OpenPanel<CCaptureToolbarDlg> normal(458);
  std::vector<int> ids;
  for (const auto& item : normal.panel.MoreMenuItems()) ids.push_back(item.id);
  EXPECT_EQ(ids, (std::vector<int>{ID_MORE_RECORD, tb::kMenuRuleId, ID_MORE_OPEN_FOLDER, ID_MORE_SNAP, ID_MORE_PRINT}));
  normal.panel.RunMenuItem(ID_MORE_SNAP);
  normal.panel.RunMenuItem(ID_MORE_PRINT);
  EXPECT_EQ(normal.frame.commands, (std::vector<Command>{Command::SnapToWindow, Command::PrintArea}));

  OpenPanel<CWebToolbarDlg> web(608);
  ids.clear();
  for (const auto& item : web.panel.MoreMenuItems()) ids.push_back(item.id);
  EXPECT_EQ(ids, (std::vector<int>{tb::kMenuRuleId, ID_MORE_PRINT})) << "the rule has no button and stays";
  web.panel.RunMenuItem(ID_MORE_FULL_SCREEN);  // no tab-strip refresh from the menu
  web.panel.RunMenuItem(ID_MORE_WINDOW);
  EXPECT_EQ(web.frame.commands, std::vector<Command>{Command::WholePageCapture});
}

TEST_F(ToolbarPanel, ArrowOpensTheMoreMenuAndItsChoiceRuns) {
  OpenPanel<CCaptureToolbarDlg> open(458);
  std::atomic<bool> sawMenu{false};
  // The menu is tracked on this thread; another thread waits for its window,
  // then picks the first item (record) with the keyboard.
  std::thread picker([&] {
    HWND menu = nullptr;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 10000) {
      menu = FindWindowW(L"#32768", nullptr);
      if (menu && IsWindowVisible(menu)) break;
      menu = nullptr;
      Sleep(20);
    }
    if (!menu) return;
    sawMenu = true;
    wintest::HoldForScreenshot("toolbar_more_menu_458", open.frame.FrameWindow());
    for (WPARAM key : {WPARAM{VK_DOWN}, WPARAM{VK_RETURN}}) {
      PostMessageW(menu, WM_KEYDOWN, key, 1);
      PostMessageW(menu, WM_KEYUP, key, 0xC0000001);
    }
  });
  SetCursorPos(kFrameLeft + 440, kFrameTop + 60);
  wintest::Click(open.panel.Hwnd(), IDC_TB_ARROW);
  picker.join();
  EXPECT_TRUE(sawMenu);
  EXPECT_EQ(open.frame.commands, std::vector<Command>{Command::LaunchRecorder});
}

TEST_F(ToolbarPanel, TipShowsAtItsPlace) {
  struct Case {
    int frameWidth;
    int id;
    bool shown;
    int dx;  // from the frame's left edge
  } cases[] = {
      {836, IDC_TB_AREA, true, 4},
      {836, IDC_TB_COPY, true, 348},
      {836, IDC_TB_OPEN_FOLDER, true, 836 - 423},
      {836, IDC_TB_PRINT, true, 836 - 239},
      {608, IDC_TB_OPEN_FOLDER, true, 255},
  };
  for (const auto& c : cases) {
    OpenPanel<CCaptureToolbarDlg> open(c.frameWidth);
    EXPECT_EQ(open.panel.TrackPointer(CentreOnScreen(GetDlgItem(open.panel.Hwnd(), c.id))), c.shown) << c.id;
    HWND tip = open.panel.Tip().Hwnd();
    ASSERT_TRUE(tip);
    EXPECT_TRUE(IsWindowVisible(tip)) << c.id;
    RECT r = {};
    GetWindowRect(tip, &r);
    EXPECT_EQ(r.left, kFrameLeft + c.dx) << c.id;
    EXPECT_EQ(r.top, kFrameTop + 80) << c.id;
    EXPECT_EQ(r.bottom - r.top, 51) << c.id;
  }
}

TEST_F(ToolbarPanel, PointerOverAButtonShowsItsTipAndAPressHidesIt) {
  OpenPanel<CCaptureToolbarDlg> open(836);
  HWND button = GetDlgItem(open.panel.Hwnd(), IDC_TB_COPY);
  const POINT at = CentreOnScreen(button);
  SetCursorPos(at.x, at.y);
  // What the system sends a control under the pointer; the button asks the panel.
  SendMessageW(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  HWND tip = open.panel.Tip().Hwnd();
  ASSERT_TRUE(IsWindowVisible(tip));
  RECT r = {};
  GetWindowRect(tip, &r);
  EXPECT_EQ(r.left, kFrameLeft + 348);
  EXPECT_EQ(r.right - r.left, 310);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  SendMessageW(open.panel.Hwnd(), WM_LBUTTONDOWN, 0, MAKELPARAM(2, 2));
  EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(ToolbarPanel, NoTipForGreyedOrSuppressed) {
  OpenPanel<CWebToolbarDlg> web(836);
  EXPECT_FALSE(web.panel.TrackPointer(CentreOnScreen(GetDlgItem(web.panel.Hwnd(), IDC_TB_SCROLL))));
  EXPECT_FALSE(IsWindowVisible(web.panel.Tip().Hwnd()));

  // A narrow frame's arrow lies where the print button sat before it was hidden.
  OpenPanel<CCaptureToolbarDlg> normal(836);
  normal.panel.Place(4, 28, 668, 60);
  EXPECT_FALSE(normal.panel.TrackPointer(CentreOnScreen(GetDlgItem(normal.panel.Hwnd(), IDC_TB_ARROW))));

  normal.panel.SetTipsSuppressed(true);
  EXPECT_TRUE(normal.panel.TrackPointer(CentreOnScreen(GetDlgItem(normal.panel.Hwnd(), IDC_TB_AREA))));
  EXPECT_FALSE(IsWindowVisible(normal.panel.Tip().Hwnd()));
}

TEST_F(ToolbarPanel, KeysInThePanel) {
  OpenPanel<CCaptureToolbarDlg> normal(836);
  HWND button = GetDlgItem(normal.panel.Hwnd(), IDC_TB_AREA);
  const MSG f2 = KeyDown(button, VK_F2);
  EXPECT_TRUE(normal.panel.TranslateKey(f2));
  normal.frame.continuousRunning = true;
  const MSG escape = KeyDown(button, VK_ESCAPE);
  EXPECT_TRUE(normal.panel.TranslateKey(escape));
  const MSG elsewhere = KeyDown(normal.frame.FrameWindow(), VK_F2);
  EXPECT_FALSE(normal.panel.TranslateKey(elsewhere));
  EXPECT_EQ(normal.frame.commands, (std::vector<Command>{Command::CaptureArea, Command::StopContinuousCapture}));

  // The dialog manager's Escape and Enter never close a panel.
  SendMessageW(normal.panel.Hwnd(), WM_COMMAND, IDCANCEL, 0);
  SendMessageW(normal.panel.Hwnd(), WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(IsWindow(normal.panel.Hwnd()));
  EXPECT_EQ(normal.frame.commands.back(), Command::StopContinuousCapture);

  OpenPanel<CWebToolbarDlg> web(836);
  const MSG webF2 = KeyDown(GetDlgItem(web.panel.Hwnd(), IDC_TB_AREA), VK_F2);
  EXPECT_FALSE(web.panel.TranslateKey(webF2));  // left to the frame's own keys
}

TEST_F(ToolbarPanel, ControlsAreAnsweredWithThePanelGrey) {
  OpenPanel<CWebToolbarDlg> open(836);
  HWND panel = open.panel.Hwnd();
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(panel, WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(GetDlgItem(panel, IDC_TB_AREA))));
  LOGBRUSH info = {};
  ASSERT_TRUE(brush && GetObjectW(brush, sizeof info, &info));
  EXPECT_EQ(info.lbColor, RGB(234, 234, 234));
}

TEST_F(ToolbarPanel, BothPanelsAtFullWidth) {
  // Both panels one above the other in an 836-wide frame, for a look at them.
  OpenPanel<CCaptureToolbarDlg> normal(836);
  OpenPanel<CWebToolbarDlg> web(836);
  SetWindowPos(web.frame.FrameWindow(), HWND_TOP, kFrameLeft, kFrameTop + 220, 0, 0, SWP_NOSIZE);
  normal.panel.TrackPointer(CentreOnScreen(GetDlgItem(normal.panel.Hwnd(), IDC_TB_FULL_SCREEN)));
  wintest::HoldForScreenshot("toolbar_panels_836", normal.frame.FrameWindow());
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(web.panel.Hwnd(), IDC_TB_PRINT)));
}
