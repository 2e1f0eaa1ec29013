#pragma once
#include <windows.h>

#include "ui/gdi.h"

// Bitmap resources by number, and the three ways the skins draw them.
namespace framlet::ui {

// The colour that layered windows and keyed drawing treat as see-through.
constexpr COLORREF kColourKey = RGB(255, 0, 255);

// An owned bitmap loaded from a resource number, with its size.
class Picture {
 public:
  Picture() = default;
  explicit Picture(UINT resourceId) { Load(resourceId); }

  // Loads bitmap `resourceId` of the program's module; false (and empty) when missing.
  bool Load(UINT resourceId);
  void Reset();

  HBITMAP Handle() const { return bitmap_.Get(); }
  explicit operator bool() const { return static_cast<bool>(bitmap_); }
  UINT ResourceId() const { return resourceId_; }
  int Width() const { return size_.cx; }
  int Height() const { return size_.cy; }

  // At its own size (BitBlt, SRCCOPY).
  void Draw(HDC dc, int x, int y) const;
  // Stretched over the target rectangle (StretchBlt, SRCCOPY).
  void Stretch(HDC dc, int x, int y, int width, int height) const;
  // Stretched, magenta pixels left out (TransparentBlt with kColourKey).
  void DrawKeyed(HDC dc, int x, int y, int width, int height, COLORREF key = kColourKey) const;

 private:
  Bitmap bitmap_;
  SIZE size_ = {0, 0};
  UINT resourceId_ = 0;
};

// Free-standing forms of the same draws for bitmaps owned elsewhere.
SIZE BitmapSize(HBITMAP bitmap);
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y);
void StretchBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height);
void DrawBitmapKeyed(HDC dc, HBITMAP bitmap, int x, int y, int width, int height, COLORREF key = kColourKey);

// Paints what the parent shows behind `child` into `dc` (child client coordinates),
// so skinned controls can draw see-through faces over their parent's skin.
void DrawParentBackground(HWND child, HDC dc);

}  // namespace framlet::ui
