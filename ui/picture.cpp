#include "ui/picture.h"

namespace framlet::ui {

bool Picture::Load(UINT resourceId) {
  Reset();
  auto* handle = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  if (!handle) return false;
  bitmap_.Reset(handle);
  size_ = BitmapSize(handle);
  resourceId_ = resourceId;
  return true;
}

void Picture::Reset() {
  bitmap_.Reset();
  size_ = {0, 0};
  resourceId_ = 0;
}

void Picture::Draw(HDC dc, int x, int y) const {
  DrawBitmap(dc, bitmap_, x, y);
}

void Picture::Stretch(HDC dc, int x, int y, int width, int height) const {
  StretchBitmap(dc, bitmap_, x, y, width, height);
}

void Picture::DrawKeyed(HDC dc, int x, int y, int width, int height, COLORREF key) const {
  DrawBitmapKeyed(dc, bitmap_, x, y, width, height, key);
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info = {};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
  if (!bitmap) return;
  const SIZE size = BitmapSize(bitmap);
  MemoryDC source(dc);
  SelectGuard select(source, bitmap);
  BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
}

void StretchBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) {
  if (!bitmap || width <= 0 || height <= 0) return;
  const SIZE size = BitmapSize(bitmap);
  MemoryDC source(dc);
  SelectGuard select(source, bitmap);
  if (size.cx == width && size.cy == height) {
    BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
  } else {
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, width, height, source, 0, 0, size.cx, size.cy, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
  }
}

void DrawBitmapKeyed(HDC dc, HBITMAP bitmap, int x, int y, int width, int height, COLORREF key) {
  if (!bitmap || width <= 0 || height <= 0) return;
  const SIZE size = BitmapSize(bitmap);
  MemoryDC source(dc);
  SelectGuard select(source, bitmap);
  TransparentBlt(dc, x, y, width, height, source, 0, 0, size.cx, size.cy, key);
}

void DrawParentBackground(HWND child, HDC dc) {
  HWND parent = GetParent(child);
  if (!parent) return;
  POINT origin = {0, 0};
  MapWindowPoints(child, parent, &origin, 1);
  POINT previous;
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
  // The parent composes its skin in its erase handler; a parent that draws
  // only in WM_PAINT answers WM_PRINTCLIENT instead.
  if (!SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0))
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

}  // namespace framlet::ui
