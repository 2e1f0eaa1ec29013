#include "capture/captured_image.h"

#include <utility>

#include "ui/gdi.h"

CCapturedImage::CCapturedImage(CCapturedImage&& other) noexcept
    : bitmap_(std::move(other.bitmap_)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

CCapturedImage& CCapturedImage::operator=(CCapturedImage&& other) noexcept {
  if (this != &other) {
    bitmap_ = std::move(other.bitmap_);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
  }
  return *this;
}

bool CCapturedImage::CreateScreenCompatible(int width, int height) {
  Reset();
  if (width <= 0 || height <= 0) return false;
  framlet::ui::WindowDC screen(nullptr);
  bitmap_.Reset(CreateCompatibleBitmap(screen, width, height));
  if (!bitmap_) return false;
  width_ = width;
  height_ = height;
  return true;
}

bool CCapturedImage::CreateDib24(int width, int height) {
  Reset();
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) return false;
  width_ = width;
  height_ = height;
  return true;
}

void CCapturedImage::Attach(HBITMAP bitmap) {
  Reset();
  if (!bitmap) return;
  BITMAP info = {};
  GetObject(bitmap, sizeof info, &info);
  bitmap_.Reset(bitmap);
  width_ = info.bmWidth;
  height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
}

HBITMAP CCapturedImage::Detach() {
  width_ = height_ = 0;
  return bitmap_.Release();
}

void CCapturedImage::Reset() {
  bitmap_.Reset();
  width_ = height_ = 0;
}

bool CCapturedImage::CopyFromDC(HDC source, int sx, int sy, int width, int height, int dx, int dy, DWORD rop) {
  if (!bitmap_) return false;
  framlet::ui::MemoryDC memory(source);
  framlet::ui::SelectGuard select(memory, bitmap_.Get());
  return StretchBlt(memory, dx, dy, width, height, source, sx, sy, width, height, rop) != FALSE;
}

bool CCapturedImage::CopyFromImage(const CCapturedImage& source, int sx, int sy, int width, int height, int dx, int dy) {
  if (!bitmap_ || source.Empty()) return false;
  framlet::ui::MemoryDC from(nullptr);
  framlet::ui::SelectGuard selectFrom(from, source.bitmap_.Get());
  framlet::ui::MemoryDC to(nullptr);
  framlet::ui::SelectGuard selectTo(to, bitmap_.Get());
  return BitBlt(to, dx, dy, width, height, from, sx, sy, SRCCOPY) != FALSE;
}

std::vector<uint8_t> CCapturedImage::ReadRows(int bitsPerPixel, int* stride) const {
  std::vector<uint8_t> rows;
  if (!bitmap_ || (bitsPerPixel != 24 && bitsPerPixel != 32)) return rows;
  const int rowBytes = ((width_ * bitsPerPixel + 31) / 32) * 4;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
  info.bmiHeader.biCompression = BI_RGB;
  rows.resize(static_cast<size_t>(rowBytes) * static_cast<size_t>(height_));
  framlet::ui::WindowDC screen(nullptr);
  if (GetDIBits(screen, bitmap_.Get(), 0, static_cast<UINT>(height_), rows.data(), &info, DIB_RGB_COLORS) != height_) {
    rows.clear();
    return rows;
  }
  if (stride) *stride = rowBytes;
  return rows;
}

CCapturedImage CCapturedImage::CropTopLeft(int width, int height) const {
  CCapturedImage crop;
  if (crop.CreateScreenCompatible(width, height)) crop.CopyFromImage(*this, 0, 0, width, height, 0, 0);
  return crop;
}
