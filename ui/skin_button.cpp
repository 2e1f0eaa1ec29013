#include "ui/skin_button.h"

#include <commctrl.h>
#include <windowsx.h>

using framlet::ui::MemoryDC;
using framlet::ui::PaintDC;
using framlet::ui::Picture;
using framlet::ui::SelectGuard;

namespace {
constexpr UINT_PTR kSubclassId = 0x534B4231;  // one subclass per control
}

CSkinButton::~CSkinButton() {
  Detach();
}

bool CSkinButton::Attach(HWND dialog, int id, UINT restId, UINT pressedId, UINT hoverId, Kind kind) {
  Detach();
  HWND control = GetDlgItem(dialog, id);
  if (!control) return false;
  hwnd_ = control;
  id_ = id;
  kind_ = kind;
  // A check box keeps the state the control had (set before the skin was applied).
  checked_ = kind == Kind::Check && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
  hover_ = false;
  restFace_.Load(restId);
  pressedFace_.Load(pressedId);
  hoverFace_.Load(hoverId);

  // Owner-drawn, so the control never paints a face of its own; the subclass paints instead.
  LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  style = (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW;
  SetWindowLongPtrW(control, GWL_STYLE, style);
  SetWindowTextW(control, L"");
  SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  InvalidateRect(control, nullptr, TRUE);
  return true;
}

void CSkinButton::Detach() {
  if (hwnd_ && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  hwnd_ = nullptr;
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

void CSkinButton::Show(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

bool CSkinButton::Visible() const {
  return hwnd_ && (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE);
}

void CSkinButton::Move(int x, int y, int width, int height, bool repaint) {
  if (hwnd_) MoveWindow(hwnd_, x, y, width, height, repaint);
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

void CSkinButton::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0) return;

  // Composed off-screen: the parent's skin first, then the face without its magenta pixels.
  MemoryDC memory(dc);
  framlet::ui::Bitmap canvas(CreateCompatibleBitmap(dc, width, height));
  SelectGuard select(memory, canvas);
  framlet::ui::DrawParentBackground(hwnd_, memory);
  const Picture& face = CurrentFace();
  if (face) face.DrawKeyed(memory, 0, 0, width, height);
  BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
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
    case WM_PAINT: {
      PaintDC dc(hwnd);
      Paint(dc);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
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
    case WM_NCDESTROY: {
      RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
      hwnd_ = nullptr;
      return DefSubclassProc(hwnd, message, wParam, lParam);
    }
  }

  const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
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

LRESULT CALLBACK CSkinButton::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR refData) {
  auto* self = reinterpret_cast<CSkinButton*>(refData);
  if (!self || self->hwnd_ != hwnd) return DefSubclassProc(hwnd, message, wParam, lParam);
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
}
