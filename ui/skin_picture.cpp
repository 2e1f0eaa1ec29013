#include "ui/skin_picture.h"

#include <commctrl.h>

using framlet::ui::MemoryDC;
using framlet::ui::PaintDC;
using framlet::ui::SelectGuard;

namespace {
constexpr UINT_PTR kSubclassId = 0x534B5031;
}

CSkinPicture::~CSkinPicture() {
  Detach();
}

bool CSkinPicture::Attach(HWND dialog, int id, UINT pictureId) {
  Detach();
  HWND control = GetDlgItem(dialog, id);
  if (!control) return false;
  hwnd_ = control;
  picture_.Load(pictureId);
  SetWindowTextW(control, L"");
  SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  InvalidateRect(control, nullptr, TRUE);
  return true;
}

void CSkinPicture::Detach() {
  if (hwnd_ && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  hwnd_ = nullptr;
}

void CSkinPicture::SetPicture(UINT pictureId) {
  picture_.Load(pictureId);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void CSkinPicture::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  MemoryDC memory(dc);
  framlet::ui::Bitmap canvas(CreateCompatibleBitmap(dc, client.right, client.bottom));
  SelectGuard select(memory, canvas);
  framlet::ui::DrawParentBackground(hwnd_, memory);
  if (picture_) picture_.DrawKeyed(memory, 0, 0, client.right, client.bottom);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
}

LRESULT CALLBACK CSkinPicture::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR refData) {
  auto* self = reinterpret_cast<CSkinPicture*>(refData);
  if (!self || self->hwnd_ != hwnd) return DefSubclassProc(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: {
      PaintDC dc(hwnd);
      self->Paint(dc);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
      self->hwnd_ = nullptr;
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}
