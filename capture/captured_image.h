#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/gdi.h"

// A 32-bit DIB section of width x height holding `source` shrunk by area
// averaging (each pixel the mean of the picture area it covers), with its
// pixels at *bits; rows bottom-up when `bottomUp`, else top-down. Null when a
// side would have to grow or on failure (memory, a picture that is no bitmap).
framlet::ui::Bitmap ShrinkBitmap(HBITMAP source, int width, int height, bool bottomUp, void** bits);

// A top-down 32-bit DIB section of width x height showing `source` with its
// surplus rows and columns dropped (DropPixels). The rows of a 24- or 32-bit
// section are read in place, those of other bitmaps one picked row at a time,
// so it costs what it shows, whatever the picture's size. Null as for
// ShrinkBitmap.
framlet::ui::Bitmap DropBitmap(HBITMAP source, int width, int height);

// A captured picture: a bitmap with its size, owned by exactly one holder at a
// time (move-only). Screen grabs are 32-bit bottom-up DIB sections; images
// made by CreateScreenCompatible are bitmaps of the display's format; scroll
// captures are 24-bit DIB sections. A DIB section made by CreateSection keeps
// its pixels in a memory section of its own, which Share hands to a second
// holder without copying them.
class CCapturedImage {
 public:
  CCapturedImage() = default;
  CCapturedImage(CCapturedImage&& other) noexcept;
  CCapturedImage& operator=(CCapturedImage&& other) noexcept;
  CCapturedImage(const CCapturedImage&) = delete;
  CCapturedImage& operator=(const CCapturedImage&) = delete;

  // An empty bitmap of the given size compatible with the display.
  bool CreateScreenCompatible(int width, int height);
  // An empty 24-bit bottom-up DIB section of the given size.
  bool CreateDib24(int width, int height);
  // An empty bottom-up DIB section of the given size and depth (24 or 32
  // bits) in a memory section of its own; its pixels at *bits when asked.
  bool CreateSection(int width, int height, int bitsPerPixel, void** bits = nullptr);
  // A second holder of this picture, to be read only: the same pixels when
  // they live in a section of their own (no copy), else a 32-bit copy. Empty
  // on failure.
  CCapturedImage Share() const;

  // Takes ownership of a bitmap; the size is read from it.
  void Attach(HBITMAP bitmap);
  HBITMAP Detach();
  void Reset();

  bool Empty() const { return !bitmap_; }
  HBITMAP Bitmap() const { return bitmap_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Copies width x height pixels 1:1 from a device context at (sx, sy) to
  // (dx, dy) of this image with the given raster operation.
  bool CopyFromDC(HDC source, int sx, int sy, int width, int height, int dx, int dy, DWORD rop = SRCCOPY);
  // Copies a rectangle 1:1 from another image.
  bool CopyFromImage(const CCapturedImage& source, int sx, int sy, int width, int height, int dx, int dy);

  // The pixels as rows of the given depth (24 or 32 bits, blue-green-red order),
  // top row first, each row padded to 4 bytes. Empty on failure.
  std::vector<uint8_t> ReadRows(int bitsPerPixel, int* stride) const;

  // A new display-compatible image holding the top-left width x height part.
  CCapturedImage CropTopLeft(int width, int height) const;

 private:
  framlet::ui::Bitmap bitmap_;
  // The memory section holding the pixels of a CreateSection picture.
  framlet::ui::KernelHandle section_;
  int width_ = 0;
  int height_ = 0;
};
