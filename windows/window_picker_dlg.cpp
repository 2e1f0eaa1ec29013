#include "windows/window_picker_dlg.h"

#include "capture/window_bounds.h"
#include "resource.h"
#include "windows/region_select_dlg.h"

namespace region = framlet::region;
using framlet::ui::SelectGuard;

namespace {

constexpr COLORREF kOutlineColour = RGB(255, 0, 0);
constexpr COLORREF kCrossKey = RGB(255, 255, 255);

region::Rect ToRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

bool CWindowPickerDlg::Surface::Make(HDC compatibleWith, int width, int height) {
  dc = CreateCompatibleDC(compatibleWith);
  image = CreateCompatibleBitmap(compatibleWith, width, height);
  if (!dc || !image) return false;
  previous = SelectObject(dc, image);
  return true;
}

void CWindowPickerDlg::Surface::Free() {
  if (dc && previous) SelectObject(dc, previous);
  if (image) DeleteObject(image);
  if (dc) DeleteDC(dc);
  *this = Surface();
}

CWindowPickerDlg::CWindowPickerDlg() : CDialogBase(IDD_WINDOW_PICKER) {}

CWindowPickerDlg::~CWindowPickerDlg() {
  frozen_.Free();
  back_.Free();
}

BOOL CWindowPickerDlg::OnInitDialog() {
  HWND hwnd = Hwnd();
  region::Screens screens;
  screens.monitorCount = GetSystemMetrics(SM_CMONITORS);
  screens.primaryWidth = GetSystemMetrics(SM_CXSCREEN);
  screens.virtualWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  screens.virtualHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  screens.virtualLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
  screens.virtualTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
  overlay_ = region::OverlayRect(screens, GetSystemMetrics(SM_CYSCREEN));
  overlayWidth = overlay_.Width();
  overlayHeight = overlay_.Height();
  SetWindowPos(hwnd, HWND_TOPMOST, overlay_.left, overlay_.top, overlayWidth, overlayHeight,
               SWP_NOACTIVATE | SWP_HIDEWINDOW);

  // What the caller moved out of the way is painted over before the desktop is frozen.
  LetScreenRepaint();
  {
    framlet::ui::WindowDC screen(nullptr);
    if (frozen_.Make(screen, overlayWidth, overlayHeight)) {
      BitBlt(frozen_.dc, 0, 0, overlayWidth, overlayHeight, screen, overlay_.left, overlay_.top, SRCCOPY);
    }
    back_.Make(screen, overlayWidth, overlayHeight);
  }
  cross_.Load(IDB_PICKER_CROSS);

  SetCursor(nullptr);
  ShowCursor(FALSE);
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(hwnd);
  SetCapture(hwnd);
  OnMouseMove();
  InvalidateRect(hwnd, nullptr, FALSE);
  return FALSE;
}

void CWindowPickerDlg::OnDestroy() {
  frozen_.Free();
  back_.Free();
  cross_.Reset();
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  ShowCursor(TRUE);
  ReleaseCapture();
}

void CWindowPickerDlg::OnCommand(int id, int code, HWND control) {
  // Enter and Escape close nothing: the overlay ends with a click.
  if (id == IDOK || id == IDCANCEL) return;
  CDialogBase::OnCommand(id, code, control);
}

HWND CWindowPickerDlg::WindowAt(int x, int y) {
  HWND hwnd = Hwnd();
  const POINT at = {x, y};
  // The top-level window the user sees under the point, the overlay passed
  // over: the same answer as asking with the overlay out of the way, without
  // moving it.
  HWND found = framlet::screen::TopLevelWindowAt(GetTopWindow(nullptr), at, [hwnd](HWND w) {
    return w == hwnd || (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
  });
  // Then the deepest visible child under the point.
  while (found) {
    POINT inside = at;
    ScreenToClient(found, &inside);
    HWND child = ChildWindowFromPointEx(found, inside, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == found) break;
    found = child;
  }
  return found;
}

void CWindowPickerDlg::OnMouseMove() {
  POINT cursor = {};
  GetCursorPos(&cursor);
  pickedWindow = WindowAt(cursor.x, cursor.y);
  // pickedRect stays in display coordinates; what is drawn is in the overlay's.
  region::Rect outline;
  if (pickedWindow) {
    framlet::screen::VisibleRect(pickedWindow, &pickedRect);
    outline = region::DisplayRectToClient(ToRect(pickedRect), overlay_);
  }
  const region::Point at = region::DisplayToClient({cursor.x, cursor.y}, overlay_);
  // Only what changed is composed again: the old and new outline and cross.
  const region::PickerChange change = region::PickerRepaint(shown_, shownWindow_, shownCursor_, outline, at);
  for (int i = 0; i < change.count; ++i) {
    const region::Rect& r = change.areas[i];
    const RECT dirty = {r.left, r.top, r.right, r.bottom};
    InvalidateRect(Hwnd(), &dirty, FALSE);
  }
  shownWindow_ = outline;
  shownCursor_ = at;
  shown_ = true;
}

void CWindowPickerDlg::OnPaint() {
  HWND hwnd = Hwnd();
  framlet::ui::Region update(CreateRectRgn(0, 0, 0, 0));
  GetUpdateRgn(hwnd, update, FALSE);
  framlet::ui::PaintDC dc(hwnd);
  if (!back_.dc) return;
  const RECT& area = dc.Info().rcPaint;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  SelectClipRgn(back_.dc, update);
  if (frozen_.dc) {
    BitBlt(back_.dc, area.left, area.top, width, height, frozen_.dc, area.left, area.top, SRCCOPY);
  } else {
    PatBlt(back_.dc, area.left, area.top, width, height, BLACKNESS);
  }
  if (pickedWindow && !shownWindow_.Empty()) {
    framlet::ui::Pen pen(CreatePen(PS_SOLID, region::kOutlinePenWidth, kOutlineColour));
    SelectGuard usePen(back_.dc, pen);
    const region::Rect& r = shownWindow_;
    MoveToEx(back_.dc, r.left, r.top, nullptr);
    LineTo(back_.dc, r.left, r.bottom);
    LineTo(back_.dc, r.right, r.bottom);
    LineTo(back_.dc, r.right, r.top);
    LineTo(back_.dc, r.left, r.top);
  }
  if (cross_) {
    const region::Rect c = region::CrossArea(shownCursor_.x, shownCursor_.y);
    cross_.DrawKeyed(back_.dc, c.left, c.top, c.Width(), c.Height(), kCrossKey);
  }
  SelectClipRgn(back_.dc, nullptr);
  BitBlt(dc, area.left, area.top, width, height, back_.dc, area.left, area.top, SRCCOPY);
}

INT_PTR CWindowPickerDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      OnMouseMove();
      return TRUE;
    case WM_LBUTTONDOWN:
      if (pickedWindow) {
        clicked = true;
        Close(IDOK);
      }
      return TRUE;
    case WM_PAINT:
      OnPaint();
      return TRUE;
    case WM_ERASEBKGND:
      return Result(1);
    case WM_SETCURSOR:
      SetCursor(nullptr);
      return Result(TRUE);
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
