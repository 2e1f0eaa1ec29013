// The capture frame in-process: layered modes, the paint handler's effects at
// the width thresholds, the hover tips of its own buttons, maximise/restore,
// presses on the logo, what the options dialog does to the frame, what its
// pages do to it (page calls, views and mode, no browser at all), the state
// captures and refused commands leave it in, and where it finds the recorder.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "app/capture_frame_dlg.h"
#include "app/commands_rules.h"
#include "app/frame_recorder.h"
#include "capture/capture_engine.h"
#include "capture/preview_opener.h"
#include "core/command_ids.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "dialog_test_util.h"
#include "resource.h"
#include "ui/key_chain.h"
#include "web/external_dispatch.h"
#include "web/script_runner.h"
#include "web/site_config.h"
#include "web/web_page.h"
#include "windows/capture_toolbar_dlg.h"
#include "windows/web_toolbar_dlg.h"
#include "web_test_util.h"
#include "win_test_util.h"

using namespace framlet;

namespace {

class Frame : public wintest::WinTest {
 protected:
  void SetUp() override {
    settings::WriteInt(keys::kLeft, 100);
    settings::WriteInt(keys::kTop, 80);
    ASSERT_TRUE(frame_.Create(nullptr));
    Settle();
  }
  void TearDown() override {
    if (frame_.IsOpen()) DestroyWindow(frame_.Hwnd());
  }
  // Dispatches what the frame was sent until it has nothing left to paint.
  void Settle() {
    wintest::PumpUntil([&] { return wintest::Painted(frame_.Hwnd()); });
  }

  void Resize(int w, int h) {
    SetWindowPos(frame_.Hwnd(), nullptr, 100, 80, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    Settle();
  }
  bool Shown(int id) { return IsWindowVisible(GetDlgItem(frame_.Hwnd(), id)) != FALSE; }
  int ItemX(int id) {
    RECT r;
    GetWindowRect(GetDlgItem(frame_.Hwnd(), id), &r);
    MapWindowPoints(nullptr, frame_.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r.left;
  }
  std::wstring LabelText() {
    wchar_t text[128] = {};
    GetDlgItemTextW(frame_.Hwnd(), IDC_COORD_LABEL, text, 128);
    return text;
  }

  CCaptureFrameDlg frame_;
};

TEST_F(Frame, LayeredModesWithTheMagentaKey) {
  HWND hwnd = frame_.Hwnd();
  EXPECT_FALSE(frame_.Layered());
  EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);

  ASSERT_TRUE(frame_.SetLayered(ui::Layering::ColourKey));
  EXPECT_TRUE(frame_.Layered());
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags));
  EXPECT_EQ(key, RGB(255, 0, 255));
  EXPECT_EQ(flags & (LWA_COLORKEY | LWA_ALPHA), static_cast<DWORD>(LWA_COLORKEY));

  ASSERT_TRUE(frame_.SetLayered(ui::Layering::Translucent));
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags));
  EXPECT_EQ(alpha, 110);
  EXPECT_TRUE(flags & LWA_ALPHA);

  ASSERT_TRUE(frame_.SetLayered(ui::Layering::Opaque));
  EXPECT_FALSE(frame_.Layered());
  EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(Frame, NormalModeLayeredHoleIsTheColourKey) {
  // Web mode: the light fill; normal mode with the key: magenta, which the key makes see-through.
  auto holePixel = [&] {
    HDC dc = GetDC(frame_.Hwnd());
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP canvas = CreateCompatibleBitmap(dc, 836, 721);
    HGDIOBJ old = SelectObject(memory, canvas);
    SendMessageW(frame_.Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    const COLORREF pixel = GetPixel(memory, 400, 400);
    SelectObject(memory, old);
    DeleteObject(canvas);
    DeleteDC(memory);
    ReleaseDC(frame_.Hwnd(), dc);
    return pixel;
  };
  EXPECT_EQ(holePixel(), RGB(240, 240, 240));
  frame_.SetNormalMode(true);
  frame_.SetLayered(ui::Layering::ColourKey);
  EXPECT_EQ(holePixel(), RGB(255, 0, 255));
  frame_.SetLayered(ui::Layering::Opaque);
  EXPECT_EQ(holePixel(), RGB(240, 240, 240)) << "not layered: no magenta on screen";
}

// The thresholds are the host rule FrameWidthRules; here a resize below and
// above them reaches the controls and the stored rectangle.
TEST_F(Frame, PaintAppliesTheWidthRulesAndStoresTheRectangle) {
  struct Case {
    int w;
    bool label, help, options;
    int areaX;
  } cases[] = {
      {229, false, false, false, 6},
      {270, true, true, true, 240},
  };
  for (const auto& c : cases) {
    Resize(c.w, 400);
    EXPECT_EQ(Shown(IDC_COORD_LABEL), c.label) << c.w;
    EXPECT_EQ(Shown(IDC_HELP_PAGE), c.help) << c.w;
    EXPECT_EQ(Shown(IDC_OPTIONS_MENU), c.options) << c.w;
    EXPECT_EQ(ItemX(IDC_AREA_DIALOG), c.areaX) << c.w;
    EXPECT_EQ(settings::ReadInt(keys::kWidth), c.w);
    EXPECT_EQ(settings::ReadInt(keys::kHeight), 400);
  }
  Resize(230, 400);
  EXPECT_EQ(LabelText(), L"img Size | X:104 Y:201 | W:222 H:256");
}

TEST_F(Frame, MoveReachesThePaintHandler) {
  SetWindowPos(frame_.Hwnd(), nullptr, 321, 123, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Settle();
  EXPECT_EQ(settings::ReadInt(keys::kLeft), 321);
  EXPECT_EQ(settings::ReadInt(keys::kTop), 123);
  EXPECT_EQ(LabelText(), L"img Size | X:325 Y:244 | W:828 H:577");
  const RECT capture = frame_.CaptureRect();
  EXPECT_EQ(capture.left, 325);
  EXPECT_EQ(capture.top, 244);
  EXPECT_EQ(capture.right, 321 + 836 - 4);
  EXPECT_EQ(capture.bottom, 123 + 721 - 23);
}

TEST_F(Frame, HoverTipsOfTheAreaButtonAndTheAlwaysOnTopBox) {
  HWND hwnd = frame_.Hwnd();
  RECT window;
  GetWindowRect(hwnd, &window);
  SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(hwnd, IDC_AREA_DIALOG)),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  ASSERT_TRUE(frame_.HoverTip().Visible());
  EXPECT_EQ(frame_.HoverTip().PictureId(), 333u);
  RECT tip;
  GetWindowRect(frame_.HoverTip().Hwnd(), &tip);
  EXPECT_EQ(tip.left, window.left + 213);
  EXPECT_EQ(tip.top, window.bottom - 51 - 23);
  EXPECT_EQ(tip.right - tip.left, 360);

  SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(hwnd, IDC_ALWAYS_TOP)),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(frame_.HoverTip().PictureId(), 332u);
  GetWindowRect(frame_.HoverTip().Hwnd(), &tip);
  EXPECT_EQ(tip.left, window.right - 360 - 36);
  EXPECT_EQ(tip.top, window.top + 20);

  // Anywhere else hides it.
  SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(hwnd, IDC_GO)),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_FALSE(frame_.HoverTip().Visible());
}

TEST_F(Frame, TipHidesWhenThePointerMovesOnToAnotherButton) {
  HWND hwnd = frame_.Hwnd();
  HWND box = GetDlgItem(hwnd, IDC_ALWAYS_TOP);
  // The system sends the cursor message to the window under the pointer.
  auto pointerOn = [](HWND window) {
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  };
  const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  for (int id : {IDC_MINIMIZE, IDC_CLOSE_TO_TRAY, IDC_OPTIONS_MENU, IDC_GO}) {
    pointerOn(box);
    ASSERT_TRUE(frame_.HoverTip().Visible()) << id;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    pointerOn(GetDlgItem(hwnd, id));
    EXPECT_FALSE(frame_.HoverTip().Visible()) << id;
    EXPECT_EQ(GetCursor(), hand) << id << ": the button still shows its hand";
  }
  // The address box keeps its own text cursor.
  pointerOn(box);
  pointerOn(GetDlgItem(hwnd, IDC_ADDRESS));
  EXPECT_FALSE(frame_.HoverTip().Visible());
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_IBEAM));
}

TEST_F(Frame, PressesOnTheLogoReachTheFrame) {
  // The frame moves from anywhere on its surface and maximises on a double
  // click in its top band: a press on the logo must reach the frame.
  HWND hwnd = frame_.Hwnd();
  RECT logo = {};
  GetWindowRect(GetDlgItem(hwnd, IDC_LOGO), &logo);
  ASSERT_EQ(logo.right - logo.left, 102);
  for (const POINT p : {POINT{logo.left + 2, logo.top + 12}, POINT{(logo.left + logo.right) / 2, logo.top + 12},
                        POINT{logo.right - 2, logo.bottom - 2}})
    EXPECT_EQ(WindowFromPoint(p), hwnd) << p.x - logo.left << "," << p.y - logo.top;
}

// The frame's options dialog, opened through the frame and worked from a second thread.
class FrameOptions : public Frame {
 protected:
  // Opens the options dialog over the frame, runs `steps` on it and waits until it is gone.
  void Options(const std::function<void(HWND)>& steps) {
    bool found = false;
    wintest::RunModal(
        [&] {
          frame_.OpenOptions();
          return INT_PTR{0};
        },
        L"Option", frame_.Hwnd(), steps, &found);
    ASSERT_TRUE(found) << "the options dialog did not open";
  }
  bool Topmost() { return (GetWindowLongPtrW(frame_.Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
  bool BoxChecked() { return IsDlgButtonChecked(frame_.Hwnd(), IDC_ALWAYS_TOP) == BST_CHECKED; }
};

TEST_F(FrameOptions, OkWithPositionMemoryOffLeavesTheFrameRectangleStored) {
  // The dialog opens centred on the screen, clear of the frame: nothing
  // uncovers the frame, so no repaint writes the rectangle for it.
  SetWindowPos(frame_.Hwnd(), nullptr, 10, 10, 540, 520, SWP_NOZORDER | SWP_NOACTIVATE);
  Settle();
  Options([](HWND d) {
    wintest::SetCheck(d, IDC_OPT_REMEMBER_POSITION, false);
    wintest::SetItemText(d, IDC_OPT_QUALITY, L"85");
    wintest::Click(d, IDC_OK_PICTURE);
  });
  // Read at once, before any message reaches the frame.
  EXPECT_EQ(settings::ReadText(keys::kRememberPosition), "FALSE");
  EXPECT_EQ(settings::ReadText(keys::kLeft), "10");
  EXPECT_EQ(settings::ReadText(keys::kTop), "10");
  EXPECT_EQ(settings::ReadText(keys::kWidth), "540");
  EXPECT_EQ(settings::ReadText(keys::kHeight), "520");
  const RECT capture = frame_.CaptureRect();
  EXPECT_EQ(capture.left, 14);
  EXPECT_EQ(capture.top, 131);
  EXPECT_EQ(capture.right, 10 + 540 - 4);
  EXPECT_EQ(capture.bottom, 10 + 520 - 23);
  // The frame's in-memory options carry the new quality.
  EXPECT_EQ(frame_.Options().jpegQuality, 85);
}

TEST_F(FrameOptions, AlwaysOnTopChoiceMovesTheCheckBoxWithTheState) {
  ASSERT_TRUE(Topmost());
  ASSERT_TRUE(BoxChecked());
  for (bool on : {false, true, false}) {
    Options([on](HWND d) {
      wintest::SetCheck(d, IDC_OPT_ALWAYS_TOP, on);
      wintest::Click(d, IDC_OK_PICTURE);
    });
    EXPECT_EQ(Topmost(), on);
    EXPECT_EQ(BoxChecked(), on);
    EXPECT_EQ(settings::ReadFlag(keys::kAlwaysTop), on);
  }
  // Cancel leaves box and state as they are.
  Options([](HWND d) {
    wintest::SetCheck(d, IDC_OPT_ALWAYS_TOP, true);
    wintest::Click(d, IDC_CANCEL_PICTURE);
  });
  EXPECT_FALSE(Topmost());
  EXPECT_FALSE(BoxChecked());
}

TEST_F(Frame, MaximiseSavesTheRestoreRectangleAndRestoreGoesBack) {
  HWND hwnd = frame_.Hwnd();
  SetWindowPos(hwnd, nullptr, 150, 90, 700, 600, SWP_NOZORDER | SWP_NOACTIVATE);
  frame_.Maximize();
  EXPECT_TRUE(frame_.Maximized());
  EXPECT_EQ(frame_.RestoreRect(), (frame::Place{150, 90, 700, 600}));
  EXPECT_TRUE(Shown(IDC_RESTORE));
  EXPECT_FALSE(Shown(IDC_MAXIMIZE));
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
  // Maximised: no move, no resize anywhere.
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(frame::HitZone(2, 2, {client.left, client.top, client.right, client.bottom}, frame_.Maximized()),
            frame::Zone::Client);

  frame_.Restore();
  EXPECT_FALSE(frame_.Maximized());
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, 150);
  EXPECT_EQ(r.top, 90);
  EXPECT_EQ(r.right - r.left, 700);
  EXPECT_TRUE(Shown(IDC_MAXIMIZE));
  EXPECT_FALSE(Shown(IDC_RESTORE));
}

// The frame as the program opens it: pages reach its page-callable object.
class FramePages : public wintest::WinTest {
 protected:
  void TearDown() override {
    if (frame_.IsOpen()) DestroyWindow(frame_.Hwnd());
    CWebPage::SetControlClassForTesting(nullptr);
  }
  void Open() {
    ASSERT_TRUE(frame_.Create(nullptr));
    Settle();
  }
  // Dispatches what the frame was sent or posted until it has nothing left to paint.
  void Settle() {
    wintest::PumpUntil([&] { return wintest::Painted(frame_.Hwnd()); });
  }
  // A page script, as a page of the frame runs it.
  bool PageCalls(const wchar_t* script) { return web::RunJScript(script, &external_).ok; }
  HWND View(int id) const { return GetDlgItem(frame_.Hwnd(), id); }
  bool Shown(int id) const { return IsWindowVisible(View(id)) != FALSE; }

  webtest::OleScope ole_;
  CExternalDispatch external_;
  CCaptureFrameDlg frame_{&external_};
};

TEST_F(FramePages, PageCallsReachTheFrameOnlyWhileItsWindowExists) {
  Open();
  ASSERT_TRUE(PageCalls(L"external.FL_Login();"));
  EXPECT_TRUE(frame_.SignedIn());
  ASSERT_TRUE(PageCalls(L"external.FL_Logout();"));
  EXPECT_FALSE(frame_.SignedIn());

  // A late script of a page that outlives the frame's window changes nothing.
  DestroyWindow(frame_.Hwnd());
  EXPECT_TRUE(PageCalls(L"external.FL_Login(); external.FL_Popclose();"));
  EXPECT_FALSE(frame_.SignedIn());
  EXPECT_FALSE(frame_.PopupClosed());
  EXPECT_EQ(webtest::StoredPopCloseState(), "");
}

TEST_F(FramePages, ViewsFollowTheMode) {
  Open();
  ASSERT_NE(View(IDC_WEB_VIEW), nullptr) << "no browser control";
  EXPECT_TRUE(Shown(IDC_WEB_VIEW));
  frame_.SetNormalMode(true);
  EXPECT_FALSE(Shown(IDC_WEB_VIEW)) << "the see-through hole shows what lies under the frame";
  EXPECT_FALSE(Shown(IDC_WEB_SECOND_VIEW));
  frame_.SetNormalMode(false);
  EXPECT_TRUE(Shown(IDC_WEB_VIEW));
  EXPECT_FALSE(Shown(IDC_WEB_SECOND_VIEW));
}

TEST_F(FramePages, WithoutABrowserEveryHandlerAndButtonIsHarmless) {
  // No browser control on the machine: the frame opens without views.
  const CLSID missing = {0x0badf00d, 0x1234, 0x5678, {0x9a, 0xbc, 0xde, 0xf0, 0x12, 0x34, 0x56, 0x78}};
  CWebPage::SetControlClassForTesting(&missing);
  Open();
  HWND hwnd = frame_.Hwnd();
  EXPECT_EQ(View(IDC_WEB_VIEW), nullptr);
  EXPECT_EQ(View(IDC_WEB_SECOND_VIEW), nullptr);

  for (int id : {IDC_HOME_PAGE, IDC_BACK, IDC_FORWARD, IDC_GO, IDC_HELP_PAGE, ID_HELP_PAGE})
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, id)));
  frame_.SetNormalMode(true);
  frame_.SetNormalMode(false);
  SetWindowPos(hwnd, nullptr, 20, 30, 600, 500, SWP_NOZORDER | SWP_NOACTIVATE);
  Settle();
  // Page calls still reach the frame; there is no guide popup to close.
  EXPECT_TRUE(PageCalls(L"external.FL_Login(); external.FL_Popclose();"));

  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_TRUE(frame_.SignedIn());
  EXPECT_TRUE(frame_.PopupClosed());
  EXPECT_EQ(frame_.AddressText(), site::HomeUrl()) << "the home button writes its address all the same";
}

TEST(FrameKeys, ResourceTablesAreTheCommandTable) {
  for (const commands::Accelerator& table : commands::Accelerators()) {
    HACCEL loaded = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(table.resourceId));
    ASSERT_NE(loaded, nullptr) << table.resourceId;
    ACCEL entries[4] = {};
    ASSERT_EQ(CopyAcceleratorTableW(loaded, entries, 4), 1) << table.resourceId;
    EXPECT_EQ(entries[0].cmd, table.resourceId) << "a table sends its own id";
    EXPECT_EQ(entries[0].key, table.key.vk) << table.resourceId;
    const BYTE modifiers = FVIRTKEY | (table.key.ctrl ? FCONTROL : 0) | (table.key.shift ? FSHIFT : 0);
    EXPECT_EQ(entries[0].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), modifiers) << table.resourceId;
  }
}

// A key press as the frame's tables see it: the command of the first entry, in
// the order the frame loads its tables, whose virtual key and Ctrl, Shift and
// Alt state are exactly the press's; 0 when none is.
TEST(FrameKeys, KeysReachTheirCommandsThroughTheLoadedTables) {
  std::vector<ACCEL> entries;
  for (const commands::Accelerator& table : commands::Accelerators()) {
    HACCEL loaded = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(table.resourceId));
    ASSERT_NE(loaded, nullptr) << table.resourceId;
    std::vector<ACCEL> own(CopyAcceleratorTableW(loaded, nullptr, 0));
    ASSERT_EQ(CopyAcceleratorTableW(loaded, own.data(), static_cast<int>(own.size())), static_cast<int>(own.size()));
    entries.insert(entries.end(), own.begin(), own.end());
  }
  const auto commandFor = [&](WORD vk, BYTE modifiers) -> int {
    for (const ACCEL& entry : entries)
      if ((entry.fVirt & FVIRTKEY) && entry.key == vk && (entry.fVirt & (FCONTROL | FSHIFT | FALT)) == modifiers)
        return entry.cmd;
    return 0;
  };
  const struct {
    const char* situation;
    WORD vk;
    BYTE modifiers;
    int command;
  } cases[] = {
      {"F2", VK_F2, 0, IDR_ACCEL_AREA_CAPTURE},
      {"Ctrl+F2 is not F2", VK_F2, FCONTROL, 0},
      {"plain C types a letter", 'C', 0, 0},
      {"Ctrl+C copies the area", 'C', FCONTROL, IDR_ACCEL_COPY_AREA},
      {"Ctrl+Shift+C is not copy", 'C', FCONTROL | FSHIFT, 0},
      {"Ctrl+Enter", VK_RETURN, FCONTROL, IDR_ACCEL_FULL_SCREEN},
      {"plain Enter stays with the dialog", VK_RETURN, 0, 0},
      {"plain Right is the frame's own move", VK_RIGHT, 0, 0},
      {"Shift+Right widens", VK_RIGHT, FSHIFT, IDR_ACCEL_NUDGE_RIGHT},
      {"Alt+S belongs to the preview", 'S', FALT, 0},
      {"Alt+F2 is no table", VK_F2, FALT, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(commandFor(c.vk, c.modifiers), c.command) << c.situation;
}

// A command sent as its key sends it (code 1), or as a click; what it posts is
// dispatched and what it leaves to paint is painted.
void SendCommand(HWND frame, int id, int code) {
  SendMessageW(frame, WM_COMMAND, MAKEWPARAM(id, code), 0);
  wintest::PumpUntil([&] { return wintest::Painted(frame); });
}

TEST_F(FramePages, ContinuousStopWithNothingRunningLeavesTheFrameAsItWas) {
  Open();
  ASSERT_TRUE(PageCalls(L"external.FL_Login();"));
  HWND hwnd = frame_.Hwnd();
  for (bool normal : {false, true}) {
    frame_.SetNormalMode(normal);
    Settle();
    RECT before = {};
    GetWindowRect(hwnd, &before);
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    // A late press on the continuous stop button, after its series ended,
    // changes nothing. (The scroll stop button resumes a paused capture.)
    for (int id : {IDC_STOP_CONTINUOUS}) {
      SendCommand(hwnd, id, id < 1000 ? 1 : BN_CLICKED);
      RECT after = {};
      GetWindowRect(hwnd, &after);
      EXPECT_TRUE(EqualRect(&before, &after)) << id << (normal ? " normal" : " web");
      EXPECT_TRUE(IsWindowVisible(hwnd)) << id;
      EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_EXSTYLE), exStyle) << id;
      EXPECT_EQ(frame_.NormalMode(), normal) << id;
    }
  }
}

TEST_F(FramePages, ModeButtonsSwitchButtonsViewAndLayering) {
  Open();
  HWND hwnd = frame_.Hwnd();
  ASSERT_TRUE(PageCalls(L"external.FL_Login();"));
  SendCommand(hwnd, IDC_TO_NORMAL_MODE, BN_CLICKED);
  EXPECT_TRUE(frame_.NormalMode());
  EXPECT_TRUE(Shown(IDC_TO_WEB_MODE));
  EXPECT_FALSE(Shown(IDC_TO_NORMAL_MODE));
  EXPECT_TRUE(frame_.Layered()) << "the hole is see-through";
  EXPECT_FALSE(Shown(IDC_WEB_VIEW));
  SendCommand(hwnd, IDC_TO_WEB_MODE, BN_CLICKED);
  EXPECT_FALSE(frame_.NormalMode());
  EXPECT_FALSE(Shown(IDC_TO_WEB_MODE));
  EXPECT_TRUE(Shown(IDC_TO_NORMAL_MODE));
  EXPECT_FALSE(frame_.Layered());
}

TEST_F(FramePages, SizeKeysChangeTheStoredRectangleByOnePixel) {
  Open();
  HWND hwnd = frame_.Hwnd();
  frame_.SavePosition();
  RECT before = {};
  GetWindowRect(hwnd, &before);
  SendCommand(hwnd, IDR_ACCEL_NUDGE_RIGHT, 1);
  RECT after = {};
  GetWindowRect(hwnd, &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left + 1);
  EXPECT_EQ(after.left, before.left);
  frame_.SavePosition();
  SendCommand(hwnd, IDR_ACCEL_NUDGE_UP, 1);
  RECT shorter = {};
  GetWindowRect(hwnd, &shorter);
  EXPECT_EQ(shorter.bottom - shorter.top, after.bottom - after.top - 1);
}

// The frame signed in, its window at 100, 80; the previews its captures ask
// for are counted (they would run modally), with whether the frame was on the
// screen at that moment, that is while the picture was taken.
class FrameStates : public FramePages {
 protected:
  void SetUp() override {
    settings::WriteInt(keys::kLeft, 100);
    settings::WriteInt(keys::kTop, 80);
    Open();
    CCaptureEngine::SetPreviewOpener(&previews_);
    previews_.frame = frame_.Hwnd();
    ASSERT_TRUE(PageCalls(L"external.FL_Login();"));
  }
  void TearDown() override {
    CCaptureEngine::SetPreviewOpener(nullptr);
    FramePages::TearDown();
  }
  // Runs `open` on this thread while a second thread waits for a window the
  // frame owns and hands it to `steps`; fails the case when none opens.
  void WithOwnedWindow(const std::function<void()>& open, const std::function<void(HWND)>& steps) {
    bool found = false;
    wintest::RunModal(
        [&] {
          open();
          return INT_PTR{0};
        },
        nullptr, frame_.Hwnd(), steps, &found);
    EXPECT_TRUE(found) << "no window of the frame opened";
  }

  struct Previews : IPreviewOpener {
    HWND frame = nullptr;
    int opened = 0;
    bool frameShown = false;
    void OpenPreview(HWND, CCapturedImage) override {
      ++opened;
      frameShown = IsWindowVisible(frame) != FALSE;
    }
  } previews_;
};

TEST_F(FrameStates, FullScreenCaptureGivesTheFrameBackItsModesLayering) {
  HWND hwnd = frame_.Hwnd();
  // Web capture keyed afterwards would leave the page out of every later grab of the hole.
  for (bool normal : {false, true}) {
    frame_.SetNormalMode(normal);
    SendCommand(hwnd, IDR_ACCEL_FULL_SCREEN, 1);
    EXPECT_FALSE(previews_.frameShown) << "the frame is not in the picture";
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(frame_.Layered(), normal) << (normal ? "normal" : "web");
    EXPECT_EQ((GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0, normal);
  }
  EXPECT_EQ(previews_.opened, 2);
}

TEST_F(FrameStates, CoveringTheScreenShowsAHiddenFrameBeforeTheNoticeAndLeavesItInItsModesLayering) {
  // The notification menu reaches the cover (through snap) while the frame is
  // hidden, in web capture.
  HWND hwnd = frame_.Hwnd();
  frame_.SetNormalMode(false);
  ShowWindow(hwnd, SW_HIDE);
  bool shown = false;
  WithOwnedWindow(
      [&] {
        frame_.Commands().CoverWholeScreen({0, 0, 800, 600});
      },
      [&](HWND notice) {
        shown = IsWindowVisible(hwnd) != FALSE;
        wintest::Click(notice, IDC_NOTICE_CLOSE);
      });
  EXPECT_TRUE(shown) << "the outline and notice came without the frame";
  EXPECT_FALSE(frame_.Layered()) << "web capture keyed after the notice: later grabs would leave the page out";
}

TEST_F(FrameStates, WindowPickOfAMaximisedFrameLeavesItOutAndBringsItBackRestored) {
  HWND hwnd = frame_.Hwnd();
  frame_.SetNormalMode(true);
  SetWindowPos(hwnd, nullptr, 150, 90, 700, 600, SWP_NOZORDER | SWP_NOACTIVATE);
  Settle();
  frame_.Maximize();
  Settle();
  // A window where the maximised frame's top band lies, picked by a click.
  testwin::ThreadWindow target;
  ASSERT_TRUE(target.Open(testwin::At(300, 40, 120, 60, testwin::Solid(RGB(0, 200, 0)))));
  SetCursorPos(360, 70);
  ASSERT_TRUE(wintest::PumpUntil([] {
    POINT at = {};
    return GetCursorPos(&at) && at.x == 360 && at.y == 70;
  }));
  WithOwnedWindow([&] { SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDR_ACCEL_WINDOW_PICK, 1), 0); },
                  [](HWND picker) { PostMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 30)); });
  ASSERT_EQ(previews_.opened, 1);
  EXPECT_FALSE(previews_.frameShown) << "the frame's band was over the window for the grab";
  // Back, no longer maximised, where it was before it was maximised.
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_FALSE(frame_.Maximized());
  RECT r = {};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ((frame::Place{r.left, r.top, r.right - r.left, r.bottom - r.top}), (frame::Place{150, 90, 700, 600}));
}

TEST_F(FrameStates, ScrollButtonTipsComeBackWhenTheCaptureIsRefused) {
  HWND hwnd = frame_.Hwnd();
  frame_.SetNormalMode(true);
  Settle();
  CCaptureToolbarDlg& panel = *frame_.CaptureToolbar();
  const struct {
    const char* refusal;
    const wchar_t* script;
    bool maximised;
  } cases[] = {
      {"the sign-in prompt", L"external.FL_Logout();", false},
      {"the maximised frame's message", L"external.FL_Login();", true},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(PageCalls(c.script));
    if (c.maximised) frame_.Maximize();
    WithOwnedWindow([&] { wintest::Click(panel.Hwnd(), IDC_TB_SCROLL); },
                    [](HWND refusal) { PostMessageW(refusal, WM_CLOSE, 0, 0); });
    EXPECT_FALSE(panel.TipsSuppressed()) << c.refusal;
    EXPECT_FALSE(frame_.Commands().Seams().scrollCapture->ScrollRunning()) << c.refusal;
  }
  EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(FrameStates, RegionSelectionWithoutItsWindowLeavesTheFrameShown) {
  HWND hwnd = frame_.Hwnd();
  frame_.SetNormalMode(true);
  // The selection window: the frame's own window over the whole virtual screen.
  HWND veil = nullptr;
  for (HWND w = GetTopWindow(nullptr); w && !veil; w = GetWindow(w, GW_HWNDNEXT)) {
    RECT r = {};
    GetWindowRect(w, &r);
    if (GetWindow(w, GW_OWNER) == hwnd && r.right - r.left == GetSystemMetrics(SM_CXVIRTUALSCREEN) &&
        r.bottom - r.top == GetSystemMetrics(SM_CYVIRTUALSCREEN))
      veil = w;
  }
  ASSERT_NE(veil, nullptr);
  DestroyWindow(veil);
  SendCommand(hwnd, IDR_ACCEL_REGION_SELECT, 1);
  EXPECT_TRUE(IsWindowVisible(hwnd)) << "nothing would have shown it again";
}

TEST(FrameRecorder, ListedInEitherRegistryViewAndTakenFromThatViewsFolder) {
  const char* uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tapeloom";
  const auto program = [](int folderId) {
    char folder[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, folderId, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\Orvandi\\Tapeloom\\Tapeloom.exe";
  };
  ASSERT_NE(program(CSIDL_PROGRAM_FILES), program(CSIDL_PROGRAM_FILESX86));
  EXPECT_EQ(InstalledRecorderProgram(), "") << "not listed";
  for (const auto& [view, folderId] :
       {std::pair{KEY_WOW64_32KEY, CSIDL_PROGRAM_FILESX86}, std::pair{KEY_WOW64_64KEY, CSIDL_PROGRAM_FILES}}) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, uninstall, 0, nullptr, 0, KEY_WRITE | view, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(InstalledRecorderProgram(), program(folderId)) << (view == KEY_WOW64_32KEY ? "32-bit" : "native");
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, uninstall, view, 0);
  }
  EXPECT_EQ(InstalledRecorderProgram(), "");
}

// A child's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND child) {
  RECT r = {};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(FramePages, ToolbarPanelsSitAtTheirPlaceAndSwapWithTheMode) {
  Open();
  HWND hwnd = frame_.Hwnd();
  ASSERT_NE(frame_.CaptureToolbar(), nullptr);
  ASSERT_NE(frame_.WebToolbar(), nullptr);
  HWND normalPanel = frame_.CaptureToolbar()->Hwnd();
  HWND webPanel = frame_.WebToolbar()->Hwnd();
  ASSERT_TRUE(IsWindow(normalPanel) && IsWindow(webPanel));
  EXPECT_EQ(GetParent(normalPanel), hwnd);
  EXPECT_EQ(GetParent(webPanel), hwnd);
  EXPECT_TRUE(IsWindowVisible(webPanel)) << "web capture at start-up";
  EXPECT_FALSE(IsWindowVisible(normalPanel));

  for (int width : {458, 836}) {
    SetWindowPos(hwnd, nullptr, 20, 30, width, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    Settle();
    RECT client = {};
    GetClientRect(hwnd, &client);
    for (HWND panel : {normalPanel, webPanel}) {
      const RECT r = PlaceInParent(panel);
      EXPECT_EQ(r.left, 4) << width;
      EXPECT_EQ(r.top, 28) << width;
      EXPECT_EQ(r.right - r.left, client.right - 8) << width;
      EXPECT_EQ(r.bottom - r.top, 60) << width;
    }
  }

  frame_.SetNormalMode(true);
  EXPECT_TRUE(IsWindowVisible(normalPanel));
  EXPECT_FALSE(IsWindowVisible(webPanel));
  frame_.SetNormalMode(false);
  EXPECT_FALSE(IsWindowVisible(normalPanel));
  EXPECT_TRUE(IsWindowVisible(webPanel));
}

TEST_F(FramePages, PanelKeyReachesTheFramesCommands) {
  Open();
  HWND hwnd = frame_.Hwnd();
  frame_.SetNormalMode(true);
  SetWindowPos(hwnd, nullptr, 3, 5, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
  Settle();
  // F12 pressed in the normal-capture panel centres the frame.
  MSG key = {};
  key.hwnd = frame_.CaptureToolbar()->Hwnd();
  key.message = WM_KEYDOWN;
  key.wParam = VK_F12;
  EXPECT_TRUE(frame_.CaptureToolbar()->TranslateKey(key));
  Settle();
  RECT r = {};
  GetWindowRect(hwnd, &r);
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(r.left, work.left + (work.right - work.left - frame::kDefaultWidth) / 2);
  EXPECT_EQ(r.top, work.top + (work.bottom - work.top - frame::kDefaultHeight) / 2);
  EXPECT_EQ(r.right - r.left, frame::kDefaultWidth);
  // A key of another window is not the panel's.
  key.hwnd = hwnd;
  EXPECT_FALSE(frame_.CaptureToolbar()->TranslateKey(key));
}

// The characters this thread's loops took from the queue, for the window each was bound for.
std::vector<MSG> g_characters;
LRESULT CALLBACK RecordCharacter(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* msg = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_CHAR) g_characters.push_back(*msg);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The frame's own loop, with a second thread at the keyboard posting keys as
// the system posts them and looking at the frame between its messages.
TEST_F(FramePages, EnterInAPageIsThePagesAndInTheAddressBoxGoesToTheTypedAddress) {
  const wintest::LoopCaller onFrame;
  webtest::NavigationLog asked;
  g_characters.clear();
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, RecordCharacter, nullptr, GetCurrentThreadId());
  const DWORD frameThread = GetCurrentThreadId();
  std::thread keyboard([&] {
    struct EndLoop {
      DWORD thread;
      ~EndLoop() { PostThreadMessageW(thread, WM_QUIT, 0, 0); }
    } endLoop{frameThread};
    HWND frame = wintest::WaitDialog(L"Framlet5", nullptr, 8000);
    ASSERT_NE(frame, nullptr);
    HWND page = nullptr;
    HWND box = GetDlgItem(frame, IDC_ADDRESS);
    onFrame.Run([&] {
      if (CWebPage* view = frame_.Views().Primary()) {
        page = GetDlgItem(view->Hwnd(), CWebPage::kBrowserControlId);
        asked.Connect(view->Browser());
      }
      SetWindowTextW(box, L"http://127.0.0.1:9/typed-before.html");
    });
    ASSERT_NE(page, nullptr) << "no browser control";
    auto sawCharacter = [&](WPARAM character) {
      bool seen = false;
      onFrame.Run([&] {
        for (const MSG& m : g_characters) seen = seen || (m.hwnd == page && m.wParam == character);
      });
      return seen;
    };
    // Enter and Escape in the page's form: characters for the page.
    PostMessageW(page, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(page, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_TRUE(wintest::WaitUntil([&] { return sawCharacter(L'\r') && sawCharacter(0x1B); }))
        << "the page's form gets Enter and Escape";
    // Enter in the address box, after its first click, goes to what it holds.
    onFrame.Run([&] { SetWindowTextW(box, L"http://127.0.0.1:9/typed-in-the-box.html"); });
    PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    bool inTheBox = false;
    bool fromThePage = false;
    wintest::WaitUntil([&] {
      onFrame.Run([&] {
        inTheBox = asked.Asked(L"typed-in-the-box");
        fromThePage = asked.Asked(L"typed-before");
      });
      return inTheBox;
    });
    EXPECT_TRUE(inTheBox) << "Enter in the address box goes to the typed address";
    EXPECT_FALSE(fromThePage) << "Enter in the page left the address box alone";
    onFrame.Run([&] { asked.Disconnect(); });
  });
  frame_.RunModal();
  keyboard.join();
  UnhookWindowsHookEx(hook);
}

// Enter anywhere but a page presses the switch to web capture, also in web
// capture, which gives the page back its ordinary window (a full-screen
// capture leaves the frame colour-keyed).
TEST_F(FramePages, EnterPutsTheWebCaptureLayeringBack) {
  Open();
  HWND box = View(IDC_ADDRESS);
  SetWindowTextA(box, site::StartPageUrl().c_str());
  SetFocus(box);
  for (bool normal : {true, false}) {
    frame_.SetNormalMode(normal);
    frame_.SetLayered(ui::Layering::ColourKey);
    MSG enter = {box, WM_KEYDOWN, VK_RETURN, 0x001C0001, static_cast<DWORD>(GetMessageTime()), {}};
    EXPECT_TRUE(ui::PreTranslateMessage(enter));
    Settle();
    EXPECT_FALSE(frame_.NormalMode()) << normal;
    EXPECT_FALSE(frame_.Layered()) << normal;
  }
}

// Set by the timer below when a popup menu window was up while it ran.
bool menuSeen = false;
void CALLBACK CloseAnyMenu(HWND, UINT, UINT_PTR, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (menu && IsWindowVisible(menu)) {
    menuSeen = true;
    EndMenu();
  }
}

// Right-clicks the notification icon; true when a menu opened (it is closed
// again without a choice).
bool RightClickOpensMenu(HWND frame) {
  menuSeen = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, CloseAnyMenu);
  SendMessageW(frame, CCaptureFrameDlg::kTrayMessage, CCaptureFrameDlg::kTrayIconId, WM_RBUTTONUP);
  KillTimer(nullptr, timer);
  return menuSeen;
}

TEST_F(Frame, IconRightClickWithAModalWindowOpenBringsItForward) {
  HWND hwnd = frame_.Hwnd();
  EXPECT_TRUE(RightClickOpensMenu(hwnd)) << "the notification menu";
  EXPECT_TRUE(IsWindow(hwnd));

  // A modal window of the frame: the frame disabled under an owned window,
  // which has lost the foreground to another program's window.
  HWND modal = CreateWindowExW(0, L"STATIC", L"modal", WS_POPUP | WS_VISIBLE, 200, 200, 200, 100, hwnd, nullptr,
                               nullptr, nullptr);
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 300, 300, 200, 100, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_TRUE(modal && other);
  SetForegroundWindow(modal);
  EnableWindow(hwnd, FALSE);
  SetForegroundWindow(other);
  ASSERT_TRUE(wintest::PumpUntil([&] { return GetForegroundWindow() == other; }));

  EXPECT_FALSE(RightClickOpensMenu(hwnd)) << "no second command starts";
  wintest::PumpUntil([&] { return GetForegroundWindow() == modal; }, 5000, "the modal window brought forward");

  EnableWindow(hwnd, TRUE);
  DestroyWindow(other);
  DestroyWindow(modal);
}

// Picks the notification menu's item `downs` places down with the keyboard, once the menu is up.
int g_menuDowns = 0;
HWND g_menuOwner = nullptr;
void CALLBACK ChooseMenuItem(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, timer);
  for (int i = 0; i < g_menuDowns; ++i) PostMessageW(g_menuOwner, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(g_menuOwner, WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(FramePages, NotificationMenuCommandComesAfterTheFrameTookTheFocus) {
  Open();
  ASSERT_TRUE(PageCalls(L"external.FL_Login();"));
  HWND hwnd = frame_.Hwnd();
  // Web capture, frame shown: the second item is the region selection.
  g_menuDowns = 2;
  g_menuOwner = hwnd;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, ChooseMenuItem);
  SendMessageW(hwnd, CCaptureFrameDlg::kTrayMessage, CCaptureFrameDlg::kTrayIconId, WM_RBUTTONUP);
  KillTimer(nullptr, timer);
  // The selection covers the screen, owned by the frame, and takes the activation.
  struct Search {
    HWND owner, found;
  } search = {hwnd, nullptr};
  wintest::PumpUntil(
      [&] {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM p) -> BOOL {
              auto* s = reinterpret_cast<Search*>(p);
              RECT r = {};
              GetWindowRect(w, &r);
              if (GetWindow(w, GW_OWNER) == s->owner && IsWindowVisible(w) &&
                  r.right - r.left == GetSystemMetrics(SM_CXVIRTUALSCREEN))
                s->found = w;
              return s->found == nullptr;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      5000, "the region selection");
  HWND selection = search.found;
  EXPECT_EQ(GetActiveWindow(), selection) << "the region selection keeps the activation";
  if (selection) ShowWindow(selection, SW_HIDE);
}

TEST(WindowUnderFrame, PassesOverTheProgramsOwnWindowsToTheDesktop) {
  // Two windows of this program under a frame-like window, all at one place:
  // none of them is the window "under the frame", so the desktop is.
  HWND below = CreateWindowExW(0, L"STATIC", L"below", WS_POPUP | WS_VISIBLE, 50, 60, 300, 200, nullptr, nullptr,
                               nullptr, nullptr);
  HWND middle = CreateWindowExW(0, L"STATIC", L"middle", WS_POPUP | WS_VISIBLE, 50, 60, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
  HWND frame = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"frame", WS_POPUP | WS_VISIBLE, 40, 40, 320, 240, nullptr,
                               nullptr, nullptr, nullptr);
  ASSERT_TRUE(below && middle && frame);
  wintest::DispatchPending();
  EXPECT_EQ(WindowUnderFrame(frame, {200, 160}), GetDesktopWindow());
  DestroyWindow(frame);
  DestroyWindow(middle);
  DestroyWindow(below);
}

}  // namespace
