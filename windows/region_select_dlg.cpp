#include "windows/region_select_dlg.h"

#include <windowsx.h>

#include "core/settings.h"
#include "resource.h"
#include "windows/region_rules.h"

namespace region = framlet::region;
namespace settings = framlet::settings;
namespace keys = framlet::keys;
using framlet::ui::SelectGuard;

namespace {

constexpr COLORREF kLineColour = 0xFFE400;
// How long windows of other programs get to repaint what the veil covered.
// Their repaint follows the window system's exposure notice and cannot be
// observed from here.
constexpr DWORD kRepaintWait = 60;

region::Screens CurrentScreens() {
  region::Screens s;
  s.monitorCount = GetSystemMetrics(SM_CMONITORS);
  s.primaryWidth = GetSystemMetrics(SM_CXSCREEN);
  s.virtualWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  s.virtualHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  s.virtualLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
  s.virtualTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return s;
}

void DrawSegment(HDC dc, const region::Segment& s) {
  MoveToEx(dc, s.x1, s.y1, nullptr);
  LineTo(dc, s.x2, s.y2);
}

}  // namespace

void LetScreenRepaint() {
  RedrawWindow(nullptr, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&msg);
    const DWORD spent = GetTickCount() - start;
    if (spent >= kRepaintWait) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kRepaintWait - spent, QS_PAINT);
  }
}

CRegionSelectDlg::CRegionSelectDlg(IRegionSelectHost& host) : CDialogBase(IDD_REGION_SELECT), host_(host) {}

CRegionSelectDlg::~CRegionSelectDlg() {
  // The window goes first: its destroy step frees the engine and the panel.
  if (IsOpen()) DestroyWindow(Hwnd());
}

BOOL CRegionSelectDlg::OnInitDialog() {
  HWND hwnd = Hwnd();
  engine_ = std::make_unique<CCaptureEngine>(hwnd);
  // The quality is the one stored when the program started.
  options_ = framlet::ReadCaptureOptions();
  cross_ = LoadCursorW(Instance(), MAKEINTRESOURCEW(IDCUR_REGION_SELECT));
  CoverScreens(SWP_NOACTIVATE | SWP_HIDEWINDOW);
  SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetOpacity(region::kVeilOpacity);
  panel_.Create(hwnd);
  if (panel_.IsOpen()) ShowWindow(panel_.Hwnd(), SW_HIDE);
  return FALSE;
}

void CRegionSelectDlg::OnDestroy() {
  if (panel_.IsOpen()) DestroyWindow(panel_.Hwnd());
  engine_.reset();
}

void CRegionSelectDlg::OnCommand(int id, int code, HWND control) {
  // Enter and Escape close nothing: a selection ends with the button.
  if (id == IDOK || id == IDCANCEL) return;
  CDialogBase::OnCommand(id, code, control);
}

void CRegionSelectDlg::SetOpacity(BYTE alpha) {
  SetLayeredWindowAttributes(Hwnd(), 0, alpha, LWA_ALPHA);
}

void CRegionSelectDlg::CoverScreens(UINT flags) {
  overlay_ = region::OverlayRect(CurrentScreens(), GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(Hwnd(), HWND_TOPMOST, overlay_.left, overlay_.top, overlay_.Width(), overlay_.Height(), flags);
}

void CRegionSelectDlg::Show() {
  if (!IsOpen()) return;
  HWND hwnd = Hwnd();
  // Monitors may have been added or moved since the last selection.
  CoverScreens(SWP_SHOWWINDOW);
  SetForegroundWindow(hwnd);
  if (panel_.IsOpen())
    SetWindowPos(panel_.Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  if (cross_) SetCursor(cross_);
}

void CRegionSelectDlg::OnEraseBackground(HDC dc) {
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  // The erase took the lines away: the next move has nothing to remove.
  lastCrossX_ = -1;
  lastCrossY_ = -1;
  firstMove_ = true;
}

void CRegionSelectDlg::OnButtonDown(int x, int y) {
  startX_ = cornerX_ = x;
  startY_ = cornerY_ = y;
  dragging_ = true;
  SetCapture(Hwnd());
}

void CRegionSelectDlg::ToggleBand(HDC dc, int x, int y) {
  const region::Rect r = region::NormalizeRect(startX_, startY_, x, y);
  if (r.Empty()) return;
  for (const region::Segment& s : region::BandSegments(r.left, r.top, r.right, r.bottom)) DrawSegment(dc, s);
}

void CRegionSelectDlg::ToggleCrossHair(HDC dc, int x, int y, int width, int height) {
  if (x < 0 || y < 0) return;
  DrawSegment(dc, {0, y, width, y});
  DrawSegment(dc, {x, 0, x, height});
}

void CRegionSelectDlg::OnMouseMove(int x, int y) {
  HWND hwnd = Hwnd();
  if (panel_.IsOpen()) {
    const region::Point at = region::ClientToDisplay({x, y}, overlay_);
    const region::Point p = region::PanelPlace(at.x, at.y, region::kPanelWidth, region::kPanelHeight, CurrentScreens());
    panel_.MoveTo(p.x, p.y, at.x, at.y);
  }
  if (cross_) SetCursor(cross_);

  RECT client = {};
  GetClientRect(hwnd, &client);
  framlet::ui::WindowDC dc(hwnd);
  if (!dc) return;
  framlet::ui::Pen pen(CreatePen(PS_SOLID, 1, kLineColour));
  SelectGuard usePen(dc, pen);
  const int oldMix = SetROP2(dc, R2_XORPEN);
  if (dragging_) {
    if (firstMove_) {
      firstMove_ = false;
    } else {
      ToggleBand(dc, cornerX_, cornerY_);
    }
    ToggleBand(dc, x, y);
    cornerX_ = x;
    cornerY_ = y;
  }
  ToggleCrossHair(dc, lastCrossX_, lastCrossY_, client.right, client.bottom);
  ToggleCrossHair(dc, x, y, client.right, client.bottom);
  lastCrossX_ = x;
  lastCrossY_ = y;
  SetROP2(dc, oldMix);
}

void CRegionSelectDlg::OnButtonUp(int x, int y) {
  HWND hwnd = Hwnd();
  if (GetCapture() == hwnd) ReleaseCapture();
  const region::Point end = region::ClientToDisplay({x, y}, overlay_);
  const region::Point start = dragging_ ? region::ClientToDisplay({startX_, startY_}, overlay_) : end;
  const region::Rect selection = region::NormalizeRect(start.x, start.y, end.x, end.y);
  // The band and cross-hair go with the next erase, whatever was dragged.
  InvalidateRect(hwnd, nullptr, TRUE);
  firstMove_ = true;
  dragging_ = false;

  // Out of the picture: the veil fully transparent and hidden, the panel hidden.
  SetOpacity(0);
  ShowWindow(hwnd, SW_HIDE);
  if (panel_.IsOpen()) ShowWindow(panel_.Hwnd(), SW_HIDE);
  LetScreenRepaint();

  const bool review = settings::ReadFlag(keys::kCaptureReview);
  const bool autoSave = settings::ReadFlag(keys::kAutoSave, true);
  const GrabMode mode = host_.FrameSeeThrough() ? ExcludeLayered : IncludeLayered;
  const int quality = options_.jpegQuality;
  if (engine_) {
    if (review) {
      engine_->GrabAndDeliver(selection.left, selection.top, selection.right, selection.bottom, quality, 1, mode);
    } else if (autoSave) {
      engine_->GrabAndAutoSave(selection.left, selection.top, selection.right, selection.bottom, quality);
    } else {
      engine_->GrabAndDeliver(selection.left, selection.top, selection.right, selection.bottom, quality, 0, mode);
    }
  }
  host_.RestoreFrame();
  SetOpacity(region::kVeilOpacity);
}

INT_PTR CRegionSelectDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      OnEraseBackground(reinterpret_cast<HDC>(wParam));
      return Result(1);
    case WM_LBUTTONDOWN:
      OnButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_LBUTTONUP:
      OnButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && cross_) {
        SetCursor(cross_);
        return Result(TRUE);
      }
      break;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
