#include "windows/actual_size_dlg.h"

#include "core/command_ids.h"
#include "resource.h"
#include "windows/preview_rules.h"

namespace pv = framlet::preview;
namespace ui = framlet::ui;

namespace {

constexpr wchar_t kTitle[] = L"원본크기로 보기(100%)";

}  // namespace

CActualSizeDlg::CActualSizeDlg(HBITMAP picture) : CDialogBase(IDD_ACTUAL_SIZE), picture_(picture) {}

CActualSizeDlg::~CActualSizeDlg() = default;

BOOL CActualSizeDlg::OnInitDialog() {
  HWND hwnd = Hwnd();
  const pv::Box place =
      pv::Centred(pv::kViewerWidth, pv::kViewerHeight, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(hwnd, nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);

  skin_.Load();
  titleFont_.Reset(CreateFontW(12, 0, 0, 0, 590, FALSE, FALSE, FALSE, HANGEUL_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"굴림"));
  maximize_.Attach(hwnd, IDC_AS_MAXIMIZE, IDB_MAXIMISE, IDB_MAXIMISE, IDB_MAXIMISE_HOVER);
  restore_.Attach(hwnd, IDC_AS_RESTORE, IDB_RESTORE, IDB_RESTORE, IDB_RESTORE_HOVER);
  close_.Attach(hwnd, IDC_AS_CLOSE, IDB_CLOSE, IDB_CLOSE, IDB_CLOSE_HOVER);
  restore_.Show(false);
  keys_.Install(hwnd, false, {});

  view = std::make_unique<CImageScrollView>(picture_);
  if (view->Create(hwnd)) {
    RECT client = {};
    GetClientRect(hwnd, &client);
    SetWindowPos(view->Hwnd(), nullptr, 30, 50, client.right - 60, client.bottom - 80, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(view->Hwnd(), SW_SHOWNOACTIVATE);
  }
  LayOut();
  return TRUE;
}

void CActualSizeDlg::LayOut() {
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  const pv::ViewerLayout l = pv::LayOutViewer(client.right, client.bottom);
  maximize_.Move(l.maximize.x, l.maximize.y, l.maximize.width, l.maximize.height);
  restore_.Move(l.maximize.x, l.maximize.y, l.maximize.width, l.maximize.height);
  close_.Move(l.close.x, l.close.y, l.close.width, l.close.height);
  // Borderless: the client area starts at the window's top-left corner.
  if (view && view->Hwnd())
    SetWindowPos(view->Hwnd(), nullptr, l.view.x, l.view.y, l.view.width, l.view.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CActualSizeDlg::Compose(HDC dc, int w, int h) {
  skin_.DrawTitleStrip(dc, w);
  skin_.DrawLeftEdge(dc, h);
  skin_.DrawTiles(dc, 4, pv::kTitleHeight, w, h);
  skin_.DrawRightEdge(dc, w, h);
  skin_.DrawBottomStrip(dc, w, h);
  ui::SelectGuard font(dc, titleFont_.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  TextOutW(dc, 10, 8, kTitle, lstrlenW(kTitle));
}

void CActualSizeDlg::OnPaint() {
  ui::PaintDC dc(Hwnd());
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  ui::MemoryDC memory(dc);
  ui::Bitmap surface(CreateCompatibleBitmap(dc, w, h));
  if (!memory || !surface) return;
  {
    ui::SelectGuard use(memory, surface.Get());
    Compose(memory, w, h);
    BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
  }
  if (view && view->Hwnd()) view->UpdateScrollRanges();
}

void CActualSizeDlg::SetMaximized(bool on) {
  ShowWindow(Hwnd(), on ? SW_MAXIMIZE : SW_RESTORE);
  maximize_.Show(!on);
  restore_.Show(on);
  maximized = on;
}

void CActualSizeDlg::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_AS_CLOSE:
      if (code == BN_CLICKED) Close(IDCANCEL);
      return;
    case IDC_AS_MAXIMIZE:
      if (code == BN_CLICKED) SetMaximized(true);
      return;
    case IDC_AS_RESTORE:
      if (code == BN_CLICKED) SetMaximized(false);
      return;
    case IDCANCEL:
      Close(IDCANCEL);
      return;
    case IDOK:
      return;
  }
  CDialogBase::OnCommand(id, code, control);
}

void CActualSizeDlg::OnDestroy() {
  keys_.Remove();
  if (view && view->Hwnd()) DestroyWindow(view->Hwnd());
  view.reset();
}

INT_PTR CActualSizeDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (WindowFromDC(dc) != Hwnd()) {
        RECT client = {};
        GetClientRect(Hwnd(), &client);
        Compose(dc, client.right, client.bottom);
      }
      return Result(TRUE);
    }
    case WM_PAINT:
      OnPaint();
      return TRUE;
    case WM_SIZE:
      LayOut();
      InvalidateRect(Hwnd(), nullptr, FALSE);
      return TRUE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {pv::kMinWidth, pv::kMinHeight};
      return Result(0);
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Hwnd() && LOWORD(lParam) == HTCLIENT &&
          pv::SetZoneCursor(Hwnd(), maximized))
        return Result(TRUE);
      break;
    case WM_MOUSEMOVE:
      pv::SetZoneCursor(Hwnd(), maximized);
      return TRUE;
    case WM_LBUTTONDOWN: {
      const POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      pv::BeginDrag(Hwnd(), pv::ZoneAt(Hwnd(), maximized, p), p);
      return TRUE;
    }
    case WM_LBUTTONDBLCLK:
      if (static_cast<short>(HIWORD(lParam)) < pv::kTitleHeight) SetMaximized(!maximized);
      return TRUE;
    case WM_MOUSEWHEEL:
      if (view && view->Hwnd()) view->OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return TRUE;
    case WM_CLOSE:
      Close(IDCANCEL);
      return TRUE;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
