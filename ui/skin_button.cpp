#include "ui/skin_button.h"

#include <commctrl.h>
#include <windowsx.h>

using framlet::ui::Picture;

bool CSkinButton::Attach(HWND dialog, int id, UINT restId, UINT pressedId, UINT hoverId, Kind kind) {
  // A check box keeps the state the control had before the skin was applied
  // (asked before the subclass answers for it).
  HWND before = GetDlgItem(dialog, id);
  const bool wasChecked = before && SendMessageW(before, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (!TakeOver(dialog, id)) return false;
  HWND control = hwnd_;
  id_ = id;
  kind_ = kind;
  checked_ = kind == Kind::Check && wasChecked;
  hover_ = false;
  restFace_.Load(restId);
  pressedFace_.Load(pressedId);
  hoverFace_.Load(hoverId);

  // Owner-drawn, so the control never paints a face of its own; the subclass paints instead.
  LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  style = (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW;
  SetWindowLongPtrW(control, GWL_STYLE, style);
  SetWindowTextW(control, L"");
  InvalidateRect(control, nullptr, TRUE);
  return true;
}

void CSkinButton::SetFaces(UINT restId, UINT pressedId, UINT hoverId) {
  restFace_.Load(restId);
  pressedFace_.Load(pressedId);
  hoverFace_.Load(hoverId);
  Redraw();
}

void CSkinButton::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Redraw();
}

void CSkinButton::Redraw() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

const Picture& CSkinButton::CurrentFace() const {
  const bool enabled = IsWindowEnabled(hwnd_) != FALSE;
  if (!enabled) return restFace_;
  const bool pushed = (SendMessageW(hwnd_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  if (pushed || (kind_ == Kind::Check && checked_)) return pressedFace_ ? pressedFace_ : restFace_;
  if (hover_ && hoverFace_) return hoverFace_;
  return restFace_;
}

void CSkinButton::Draw(HDC canvas, const RECT& client) {
  // The parent's skin first, then the face without its magenta pixels.
  framlet::ui::DrawParentBackground(hwnd_, canvas);
  const Picture& face = CurrentFace();
  if (face) face.DrawKeyed(canvas, 0, 0, client.right, client.bottom);
}

void CSkinButton::BeforeRelease(UINT message, WPARAM wParam, LPARAM lParam) {
  // A check box takes its new state before the button control sends BN_CLICKED,
  // so the parent reads the new state in its handler. The control sends the
  // notification only for a release of a pushed button inside it.
  if (kind_ != Kind::Check) return;
  const bool pushed = (SendMessageW(hwnd_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  if (!pushed) return;
  if (message == WM_LBUTTONUP) {
    RECT client;
    GetClientRect(hwnd_, &client);
    const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!PtInRect(&client, point)) return;
  } else if (message == WM_KEYUP && wParam != VK_SPACE) {
    return;
  }
  checked_ = !checked_;
}

LRESULT CSkinButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = hwnd_;
  switch (message) {
    case WM_MOUSEMOVE:
      if (!hover_) {
        hover_ = true;
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = hwnd;
        TrackMouseEvent(&track);
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      hover_ = false;
      InvalidateRect(hwnd, nullptr, FALSE);
      break;
    case WM_SETCURSOR:
      if (handCursor_ && LOWORD(lParam) == HTCLIENT) {
        // The parent's rules run first, as a child's default handling lets
        // them (hiding its tips when the pointer reaches another button); only
        // when it leaves the cursor to the button is the hand shown.
        HWND parent = GetParent(hwnd);
        if (parent && SendMessageW(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case BM_GETCHECK:
      return kind_ == Kind::Check && checked_ ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
      if (kind_ == Kind::Check) SetChecked(wParam == BST_CHECKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button turns a quick second click into BN_DOUBLECLICKED;
      // picture buttons count it as a click of its own.
      message = WM_LBUTTONDOWN;
      break;
    case WM_LBUTTONUP:
    case WM_KEYUP:
      BeforeRelease(message, wParam, lParam);
      break;
  }

  const LRESULT result = Default(message, wParam, lParam);
  // The owner-drawn button repaints through its parent on state changes; the
  // parent does not draw skinned buttons, so the face is redrawn here.
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_ENABLE:
    case BM_SETSTATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (IsWindow(hwnd)) InvalidateRect(hwnd, nullptr, FALSE);
      break;
    case WM_MOUSEMOVE:
      if (GetCapture() == hwnd) InvalidateRect(hwnd, nullptr, FALSE);
      break;
  }
  return result;
}
