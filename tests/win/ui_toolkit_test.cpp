// The window toolkit: DC guards, picture drawing, the skinned check box and
// label, the hover tip, the notification icon and the OLE session.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "resource.h"
#include "ui/compositor.h"
#include "ui/gdi.h"
#include "ui/hover_tip_dlg.h"
#include "ui/ole_session.h"
#include "ui/picture.h"
#include "ui/skin_button.h"
#include "ui/skin_label.h"
#include "ui/tray_icon.h"
#include "ui/window_base.h"
#include "win_test_util.h"

using namespace framlet::ui;

namespace {

constexpr int kButtonId = 500;
constexpr int kLabelId = 501;

// A plain parent window that records the notifications of its children.
class TestParent : public CWindowBase {
 public:
  struct Click {
    int id;
    int code;
    LRESULT checkAtNotification;
  };
  std::vector<Click> clicks;
  bool throwOnPaint = false;

  bool Open() {
    return CreateWindowOf(L"FramletToolkitTestParent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 50, 50, 300, 200,
                          nullptr);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_COMMAND: {
        HWND control = reinterpret_cast<HWND>(lParam);
        clicks.push_back({LOWORD(wParam), HIWORD(wParam), SendMessageW(control, BM_GETCHECK, 0, 0)});
        return 0;
      }
      case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(Hwnd(), &r);
        Brush green(CreateSolidBrush(RGB(0, 128, 0)));
        FillRect(reinterpret_cast<HDC>(wParam), &r, green);
        return 1;
      }
      case WM_PAINT:
        if (throwOnPaint) {
          ValidateRect(Hwnd(), nullptr);
          throw std::runtime_error("paint failed");
        }
        break;
    }
    return CWindowBase::HandleMessage(message, wParam, lParam);
  }
};

class Toolkit : public wintest::WinTest {
 protected:
  void SetUp() override { ASSERT_TRUE(parent_.Open()); }
  HWND AddChild(const wchar_t* cls, DWORD style, int id, int x, int y, int w, int h, const wchar_t* text = L"x") {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent_.Hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  }
  TestParent parent_;
};

TEST_F(Toolkit, SelectGuardsRestoreWhatTheySelectedInReverseOrder) {
  MemoryDC dc(nullptr);
  ASSERT_TRUE(dc);
  HGDIOBJ originalPen = GetCurrentObject(dc, OBJ_PEN);
  HGDIOBJ originalBitmap = GetCurrentObject(dc, OBJ_BITMAP);
  Pen red(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
  Pen blue(CreatePen(PS_SOLID, 1, RGB(0, 0, 255)));
  Bitmap canvas(CreateBitmap(4, 4, 1, 32, nullptr));
  {
    SelectGuard selectRed(dc, red);
    EXPECT_EQ(selectRed.Previous(), originalPen);
    {
      SelectGuard selectBlue(dc, blue);
      SelectGuard selectCanvas(dc, canvas);
      EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), blue.Get());
      EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), canvas.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), red.Get());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), originalBitmap);
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), originalPen);
  // Nothing of ours stays selected, so the owners can delete their objects.
  EXPECT_TRUE(DeleteObject(red.Release()));
  EXPECT_TRUE(DeleteObject(canvas.Release()));
}

TEST_F(Toolkit, WindowAndPaintDcAreGivenBack) {
  HWND hwnd = parent_.Hwnd();
  HDC borrowed = nullptr;
  {
    WindowDC dc(hwnd);
    ASSERT_TRUE(dc);
    borrowed = dc;
  }
  // A released common DC can no longer be released a second time.
  EXPECT_EQ(ReleaseDC(hwnd, borrowed), 0);
  InvalidateRect(hwnd, nullptr, FALSE);
  {
    PaintDC dc(hwnd);
    EXPECT_NE(static_cast<HDC>(dc), nullptr);
  }
  RECT update;
  EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE)) << "EndPaint validated the window";
}

TEST_F(Toolkit, PicturesDrawAtSizeStretchedAndKeyed) {
  Picture hole(IDB_HOLE_KEY);     // solid magenta
  Picture light(IDB_FILL_LIGHT);  // solid 240,240,240
  ASSERT_TRUE(hole);
  ASSERT_TRUE(light);
  EXPECT_EQ(hole.ResourceId(), static_cast<UINT>(IDB_HOLE_KEY));
  Picture missing(9999);
  EXPECT_FALSE(missing);

  WindowDC screen(nullptr);
  MemoryDC dc(screen);
  Bitmap canvas(CreateCompatibleBitmap(screen, 40, 40));
  SelectGuard select(dc, canvas);
  RECT all = {0, 0, 40, 40};
  Brush blue(CreateSolidBrush(RGB(0, 0, 255)));
  FillRect(dc, &all, blue);

  light.Draw(dc, 0, 0);
  EXPECT_EQ(GetPixel(dc, light.Width() - 1, light.Height() - 1), RGB(240, 240, 240));
  EXPECT_EQ(GetPixel(dc, light.Width(), 0), RGB(0, 0, 255)) << "drawn at its own size only";
  light.Stretch(dc, 0, 20, 40, 20);
  EXPECT_EQ(GetPixel(dc, 39, 39), RGB(240, 240, 240));
  // Keyed: the magenta picture leaves what was there.
  hole.DrawKeyed(dc, 0, 0, 40, 40);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(240, 240, 240));
  EXPECT_EQ(GetPixel(dc, 30, 15), RGB(0, 0, 255));
  // Not keyed: magenta.
  hole.Stretch(dc, 0, 0, 10, 10);
  EXPECT_EQ(GetPixel(dc, 9, 9), RGB(255, 0, 255));
}

TEST_F(Toolkit, SkinnedCheckBoxTogglesBeforeNotifyingTheParent) {
  HWND control = AddChild(L"BUTTON", BS_AUTOCHECKBOX, kButtonId, 10, 10, 16, 16, L"placeholder");
  CSkinButton box;
  ASSERT_TRUE(box.AttachCheck(parent_.Hwnd(), kButtonId, IDB_TOPMOST_OFF, IDB_TOPMOST_ON, IDB_TOPMOST_OFF));
  EXPECT_EQ(GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(GetWindowTextLengthW(control), 0) << "caption cleared";
  EXPECT_FALSE(box.Checked());

  SendMessageW(control, BM_CLICK, 0, 0);
  ASSERT_EQ(parent_.clicks.size(), 1u);
  EXPECT_EQ(parent_.clicks[0].id, kButtonId);
  EXPECT_EQ(parent_.clicks[0].code, BN_CLICKED);
  EXPECT_EQ(parent_.clicks[0].checkAtNotification, BST_CHECKED) << "the parent reads the new state";
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(IsDlgButtonChecked(parent_.Hwnd(), kButtonId), BST_CHECKED);

  // A quick second click counts as a click, not as a double click.
  SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  ASSERT_EQ(parent_.clicks.size(), 2u);
  EXPECT_EQ(parent_.clicks[1].code, BN_CLICKED);
  EXPECT_EQ(parent_.clicks[1].checkAtNotification, BST_UNCHECKED);

  // Released outside: no click, no toggle.
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
  EXPECT_EQ(parent_.clicks.size(), 2u);
  EXPECT_FALSE(box.Checked());

  // Setting the state from code does not notify.
  CheckDlgButton(parent_.Hwnd(), kButtonId, BST_CHECKED);
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(parent_.clicks.size(), 2u);
}

TEST_F(Toolkit, SkinnedCheckBoxKeepsTheStateSetBeforeTheSkin) {
  HWND control = AddChild(L"BUTTON", BS_AUTOCHECKBOX, kButtonId, 10, 10, 16, 16);
  SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
  CSkinButton box;
  ASSERT_TRUE(box.AttachCheck(parent_.Hwnd(), kButtonId, IDB_TOPMOST_OFF, IDB_TOPMOST_ON, IDB_TOPMOST_OFF));
  EXPECT_TRUE(box.Checked());
}

TEST_F(Toolkit, SkinnedButtonShowsItsFacesOverTheParent) {
  AddChild(L"BUTTON", BS_PUSHBUTTON, kButtonId, 10, 10, 16, 16);
  CSkinButton box;
  ASSERT_TRUE(box.AttachCheck(parent_.Hwnd(), kButtonId, IDB_TOPMOST_OFF, IDB_TOPMOST_ON, IDB_TOPMOST_OFF));
  // Paint into a memory DC the way the control paints itself.
  WindowDC screen(nullptr);
  MemoryDC dc(screen);
  Bitmap canvas(CreateCompatibleBitmap(screen, 16, 16));
  SelectGuard select(dc, canvas);
  SendMessageW(box.Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), PRF_CLIENT);
  const COLORREF restCorner = GetPixel(dc, 0, 0);
  EXPECT_NE(restCorner, RGB(255, 0, 255)) << "magenta never reaches the screen";
  box.SetChecked(true);
  SendMessageW(box.Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), PRF_CLIENT);
  Picture pressed(IDB_TOPMOST_ON);
  Picture rest(IDB_TOPMOST_OFF);
  // The checked face differs from the rest face somewhere; the control shows it.
  bool differs = false;
  {
    MemoryDC faces(screen);
    Bitmap both(CreateCompatibleBitmap(screen, 32, 16));
    SelectGuard selectBoth(faces, both);
    rest.Draw(faces, 0, 0);
    pressed.Draw(faces, 16, 0);
    for (int y = 0; y < 16 && !differs; ++y)
      for (int x = 0; x < 16 && !differs; ++x) {
        const COLORREF p = GetPixel(faces, 16 + x, y);
        if (GetPixel(faces, x, y) != p && p != RGB(255, 0, 255)) {
          differs = true;
          EXPECT_EQ(GetPixel(dc, x, y), p) << "checked face at " << x << "," << y;
        }
      }
  }
  EXPECT_TRUE(differs) << "the two faces are the same picture";
}

// Records the label's own messages in order.
LRESULT CALLBACK RecordLabel(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* log = reinterpret_cast<std::vector<std::string>*>(data);
  if (message == WM_SHOWWINDOW) log->push_back(wParam ? "show" : "hide");
  if (message == WM_SETTEXT) log->push_back("text");
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

TEST_F(Toolkit, SkinnedLabelHidesTakesTheTextAndShowsAgain) {
  HWND control = AddChild(L"STATIC", SS_LEFT, kLabelId, 20, 150, 220, 12, L"");
  CSkinLabel label;
  ASSERT_TRUE(label.Attach(parent_.Hwnd(), kLabelId));
  label.SetTextColour(RGB(202, 202, 202));
  wintest::PumpUntil([&] { return wintest::Painted(parent_.Hwnd()); });
  // The outermost subclass sees the messages first.
  std::vector<std::string> log;
  SetWindowSubclass(control, RecordLabel, 77, reinterpret_cast<DWORD_PTR>(&log));
  ValidateRect(parent_.Hwnd(), nullptr);

  label.SetText(L"img Size | X:4 Y:121 | W:828 H:577");
  EXPECT_EQ(log, (std::vector<std::string>{"hide", "text", "show"}));
  EXPECT_EQ(label.Text(), L"img Size | X:4 Y:121 | W:828 H:577");
  EXPECT_TRUE(label.Visible());
  // Hiding left the parent something to repaint under the label: its paint handler runs.
  RECT update = {};
  ASSERT_TRUE(GetUpdateRect(parent_.Hwnd(), &update, FALSE));
  EXPECT_LE(update.left, 20);
  EXPECT_GE(update.bottom, 162);
  RemoveWindowSubclass(control, RecordLabel, 77);
}

TEST_F(Toolkit, SkinnedLabelDrawsItsColourOverTheParent) {
  AddChild(L"STATIC", SS_LEFT, kLabelId, 20, 150, 120, 16, L"");
  CSkinLabel label;
  ASSERT_TRUE(label.Attach(parent_.Hwnd(), kLabelId));
  label.SetTextColour(RGB(255, 255, 0));
  label.SetText(L"WWWW");
  WindowDC screen(nullptr);
  MemoryDC dc(screen);
  Bitmap canvas(CreateCompatibleBitmap(screen, 120, 16));
  SelectGuard select(dc, canvas);
  SendMessageW(label.Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), PRF_CLIENT);
  int text = 0, background = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 120; ++x) {
      const COLORREF p = GetPixel(dc, x, y);
      if (GetRValue(p) > 128 && GetBValue(p) < 64) ++text;  // yellow, or yellow smoothed into green
      if (p == RGB(0, 128, 0)) ++background;
    }
  EXPECT_GT(text, 10) << "text in the chosen colour";
  EXPECT_GT(background, 1000) << "see-through: the parent's background around it";
}

TEST_F(Toolkit, NoExceptionLeavesTheWindowProcedure) {
  parent_.throwOnPaint = true;
  InvalidateRect(parent_.Hwnd(), nullptr, TRUE);
  UpdateWindow(parent_.Hwnd());  // would terminate the test program if the exception escaped
  EXPECT_TRUE(IsWindow(parent_.Hwnd()));
}

// A dialog whose handlers throw while it opens, on a command, and on a message
// of its own with something that is no std::exception.
class ThrowingDialog : public CDialogBase {
 public:
  ThrowingDialog() : CDialogBase(IDD_LOGIN_PROMPT) {}
  int finalMessages = 0;

 protected:
  BOOL OnInitDialog() override { throw std::runtime_error("opening failed"); }
  void OnCommand(int, int, HWND) override { throw std::logic_error("command failed"); }
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_APP) throw 42;
    return CDialogBase::HandleMessage(message, wParam, lParam);
  }
  void OnFinalMessage() override { ++finalMessages; }
};

TEST_F(Toolkit, NoExceptionLeavesTheDialogProcedure) {
  ThrowingDialog dialog;
  // Each would terminate the test program if the exception escaped.
  ASSERT_TRUE(dialog.Create(parent_.Hwnd())) << "opens although its opening handler threw";
  HWND hwnd = dialog.Hwnd();
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(SendMessageW(hwnd, WM_APP, 0, 0), 0) << "the message got default handling";
  SendMessageW(hwnd, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(IsWindow(hwnd)) << "the throwing command handler did not close it";

  DestroyWindow(hwnd);
  EXPECT_EQ(dialog.Hwnd(), nullptr) << "unbound when the window went";
  EXPECT_EQ(dialog.finalMessages, 1);
}

// What the compositor wait and the transitions switch find. Wine draws
// straight onto the X display: no composition, so hiding needs no wait, and
// it accepts the switch without doing anything; a wrong library or entry
// point name would show as NoCompositor or a refused switch. Windows' side
// is in tests/README.md.
TEST_F(Toolkit, TheCompositorWaitAndTransitionsSwitchFindWhatTheSystemHas) {
  const framlet::ui::CompositorWait wait = framlet::ui::WaitForCompositor();
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const bool transitionsOff = framlet::ui::DisableTransitions(window);
  DestroyWindow(window);
  if (wintest::UnderWine()) {
    EXPECT_EQ(wait, framlet::ui::CompositorWait::CompositionOff);
  } else {
    EXPECT_EQ(wait, framlet::ui::CompositorWait::Flushed);
  }
  EXPECT_TRUE(transitionsOff);
}

TEST_F(Toolkit, HoverTipPicksItsPictureAndHidesWhenThePointerEnters) {
  CHoverTipDlg tip;
  ASSERT_TRUE(tip.Create(parent_.Hwnd()));
  EXPECT_FALSE(tip.Visible()) << "created hidden";
  EXPECT_TRUE(GetWindowLongPtrW(tip.Hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(tip.Hwnd(), &key, &alpha, &flags));
  EXPECT_EQ(key, RGB(255, 0, 255));
  EXPECT_TRUE(flags & LWA_COLORKEY);

  tip.SetTip(12, 360, 51);
  EXPECT_EQ(tip.PictureId(), 333u);
  tip.SetPicture(42);
  EXPECT_EQ(tip.PictureId(), 333u) << "an unknown index keeps the picture";
  tip.SetPicture(0);
  EXPECT_EQ(tip.PictureId(), 320u);

  tip.ShowAt(400, 300);
  EXPECT_TRUE(tip.Visible());
  RECT r;
  GetWindowRect(tip.Hwnd(), &r);
  EXPECT_EQ(r.left, 400);
  EXPECT_EQ(r.top, 300);
  EXPECT_EQ(r.right - r.left, 360);
  EXPECT_EQ(r.bottom - r.top, 51);
  EXPECT_TRUE(GetWindowLongPtrW(tip.Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  SendMessageW(tip.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(tip.Visible());
}

TEST_F(Toolkit, TrayIconIsAddedRemovedAndAddedAgainWhenTheTaskbarReturns) {
  auto iconExists = [&](UINT id) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = parent_.Hwnd();
    data.uID = id;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
  };
  {
    CTrayIcon icon;
    EXPECT_FALSE(icon.Create(nullptr, WM_USER + 10, L"Framlet", nullptr, 148)) << "no window, no icon";
    if (!icon.Create(parent_.Hwnd(), WM_USER + 10, L"Framlet", nullptr, 148))
      GTEST_SKIP() << "no notification area on this desktop";
    EXPECT_TRUE(icon.SetIcon(IDI_APP));
    EXPECT_TRUE(icon.Exists());
    EXPECT_TRUE(iconExists(148));
    EXPECT_FALSE(iconExists(149));

    // The shell lost its icons (Explorer restarted): the icon comes back with the taskbar.
    NOTIFYICONDATAW gone = {};
    gone.cbSize = sizeof gone;
    gone.hWnd = parent_.Hwnd();
    gone.uID = 148;
    Shell_NotifyIconW(NIM_DELETE, &gone);
    EXPECT_FALSE(iconExists(148));
    EXPECT_NE(CTrayIcon::TaskbarCreatedMessage(), 0u);
    EXPECT_TRUE(icon.OnTaskbarCreated());
    EXPECT_TRUE(iconExists(148));
    // Default handling of a click with no menu resource of that id: nothing happens.
    EXPECT_EQ(icon.OnTrayNotification(148, WM_RBUTTONUP), 0);
  }
  EXPECT_FALSE(iconExists(148)) << "removed with its owner";
}

struct FilterChange {
  HWND window;
  UINT message;
  DWORD action;
};
std::vector<FilterChange> g_filterChanges;

TEST_F(Toolkit, TrayIconLetsTheTaskbarsReturnThroughAnElevatedWindowsFilter) {
  g_filterChanges.clear();
  CTrayIcon::SetMessageFilterChangeForTesting([](HWND window, UINT message, DWORD action, PCHANGEFILTERSTRUCT) {
    g_filterChanges.push_back({window, message, action});
    return TRUE;
  });
  {
    CTrayIcon icon;
    icon.Create(nullptr, WM_USER + 10, L"Framlet", nullptr, 148);
    icon.Create(parent_.Hwnd(), WM_USER + 10, L"Framlet", nullptr, 148);
  }
  CTrayIcon::SetMessageFilterChangeForTesting(nullptr);
  ASSERT_EQ(g_filterChanges.size(), 1u) << "once, for the icon's window";
  EXPECT_EQ(g_filterChanges[0].window, parent_.Hwnd());
  EXPECT_EQ(g_filterChanges[0].message, CTrayIcon::TaskbarCreatedMessage());
  EXPECT_EQ(g_filterChanges[0].action, static_cast<DWORD>(MSGFLT_ALLOW));
}

// An object handed to a browser engine; the engine's reference goes only when
// OLE ends on the thread. Its owner's free is marked, not done, so a release
// that comes too late is seen instead of touching freed memory.
class EngineHeld final : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    *object = IsEqualIID(iid, IID_IUnknown) ? this : nullptr;
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++references); }
  STDMETHODIMP_(ULONG) Release() override {
    if (freed) releasedAfterFree = true;
    return static_cast<ULONG>(--references);
  }
  int references = 0;
  bool freed = false;
  bool releasedAfterFree = false;
};

TEST_F(Toolkit, OleSessionFreesWhatItKeepsOnlyAfterOleHasEnded) {
  EngineHeld held;
  int heldByEngine = 0;
  std::thread([&] {
    OleSession session;
    if (!session.Started()) return;
    session.Keep(std::shared_ptr<EngineHeld>(&held, [](EngineHeld* object) { object->freed = true; }));
    // The engine's reference: marshalled table-strong, so the thread's
    // apartment holds it until OLE ends.
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return;
    CoMarshalInterface(stream, IID_IUnknown, &held, MSHCTX_INPROC, nullptr, MSHLFLAGS_TABLESTRONG);
    stream->Release();
    heldByEngine = held.references;
  }).join();
  ASSERT_GT(heldByEngine, 0);
  EXPECT_EQ(held.references, 0) << "OLE's end dropped the engine's reference";
  EXPECT_TRUE(held.freed);
  EXPECT_FALSE(held.releasedAfterFree) << "freed while the engine still held it";
}

}  // namespace
