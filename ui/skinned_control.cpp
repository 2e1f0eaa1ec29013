#include "ui/skinned_control.h"

#include <commctrl.h>

#include "ui/gdi.h"

namespace {
constexpr UINT_PTR kSubclassId = 0x534B4331;
}

CSkinnedControl::~CSkinnedControl() {
  Detach();
}

bool CSkinnedControl::TakeOver(HWND dialog, int id) {
  Detach();
  HWND control = GetDlgItem(dialog, id);
  if (!control) return false;
  hwnd_ = control;
  SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  return true;
}

void CSkinnedControl::Detach() {
  if (hwnd_ && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  hwnd_ = nullptr;
}

void CSkinnedControl::Show(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

bool CSkinnedControl::Visible() const {
  return hwnd_ && (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE);
}

void CSkinnedControl::Move(int x, int y, int width, int height, bool repaint) {
  if (hwnd_) MoveWindow(hwnd_, x, y, width, height, repaint);
}

void CSkinnedControl::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  framlet::ui::MemoryDC memory(dc);
  framlet::ui::Bitmap canvas(CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (!memory || !canvas) return;
  {
    framlet::ui::SelectGuard select(memory, canvas);
    Draw(memory, client);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  }
}

LRESULT CSkinnedControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return Default(message, wParam, lParam);
}

LRESULT CSkinnedControl::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CSkinnedControl::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR refData) {
  auto* self = reinterpret_cast<CSkinnedControl*>(refData);
  if (!self || self->hwnd_ != hwnd) return DefSubclassProc(hwnd, message, wParam, lParam);
  try {
    switch (message) {
      case WM_PAINT: {
        framlet::ui::PaintDC dc(hwnd);
        self->Paint(dc);
        return 0;
      }
      case WM_PRINTCLIENT:
        self->Paint(reinterpret_cast<HDC>(wParam));
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_NCHITTEST:
        if (self->clickThrough_) return HTTRANSPARENT;
        break;
      case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        self->hwnd_ = nullptr;
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
}
