#include "capture/captured_image.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "capture/shrink.h"
#include "ui/gdi.h"

CCapturedImage::CCapturedImage(CCapturedImage&& other) noexcept
    : bitmap_(std::move(other.bitmap_)),
      section_(std::move(other.section_)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

CCapturedImage& CCapturedImage::operator=(CCapturedImage&& other) noexcept {
  if (this != &other) {
    bitmap_ = std::move(other.bitmap_);
    section_ = std::move(other.section_);
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

bool CCapturedImage::CreateDib24(int width, int height) { return CreateSection(width, height, 24); }

namespace {

BITMAPINFO SectionInfo(int width, int height, int bitsPerPixel) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up: its rows read the same on every platform
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// The rows of a 24- or 32-bit uncompressed section, read in place: its top
// row, the step to the next row and the pixel size. The system reports a
// top-down section's height as positive, as it does a bottom-up one's, so the
// order is found from the pixels: the first row that differs from its mirror
// row is read once through the system and matched with memory. A picture
// whose rows read the same either way round is taken as bottom-up.
bool SectionRows(HBITMAP bitmap, framlet::PixelRows* rows) {
  DIBSECTION section = {};
  if (!bitmap || GetObjectW(bitmap, sizeof section, &section) != sizeof section || !section.dsBm.bmBits ||
      section.dsBmih.biCompression != BI_RGB || (section.dsBm.bmBitsPixel != 24 && section.dsBm.bmBitsPixel != 32))
    return false;
  GdiFlush();
  const int width = section.dsBm.bmWidth;
  const int height = std::abs(section.dsBm.bmHeight);
  const int bytes = section.dsBm.bmBitsPixel / 8;
  const ptrdiff_t stride = section.dsBm.bmWidthBytes;
  const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(bytes);
  const auto* first = static_cast<const uint8_t*>(section.dsBm.bmBits);
  bool bottomUp = true;
  for (int k = 0; k < height / 2; ++k) {
    const uint8_t* memoryRow = first + stride * k;
    if (std::memcmp(memoryRow, first + stride * (height - 1 - k), rowBytes) == 0) continue;
    BITMAPINFO read = {};
    read.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    read.bmiHeader.biWidth = width;
    read.bmiHeader.biHeight = height;  // bottom-up: scan lines counted from the bottom
    read.bmiHeader.biPlanes = 1;
    read.bmiHeader.biBitCount = static_cast<WORD>(section.dsBm.bmBitsPixel);
    read.bmiHeader.biCompression = BI_RGB;
    std::vector<uint8_t> row(static_cast<size_t>(stride));
    framlet::ui::WindowDC screen(nullptr);
    if (GetDIBits(screen, bitmap, static_cast<UINT>(height - 1 - k), 1, row.data(), &read, DIB_RGB_COLORS) != 1)
      return false;
    bottomUp = std::memcmp(row.data(), memoryRow, rowBytes) != 0;
    break;
  }
  *rows = {bottomUp ? first + stride * (height - 1) : first, width, height, bottomUp ? -stride : stride, bytes};
  return true;
}

// A new 32-bit section of width x height pixels, bottom-up or top-down; its
// pixels through `pixels`.
framlet::ui::Bitmap Make32BitSection(int width, int height, bool bottomUp, void** pixels) {
  BITMAPINFO made = {};
  made.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  made.bmiHeader.biWidth = width;
  made.bmiHeader.biHeight = bottomUp ? height : -height;
  made.bmiHeader.biPlanes = 1;
  made.bmiHeader.biBitCount = 32;
  made.bmiHeader.biCompression = BI_RGB;
  *pixels = nullptr;
  framlet::ui::Bitmap result(CreateDIBSection(nullptr, &made, DIB_RGB_COLORS, pixels, nullptr, 0));
  if (!result || !*pixels) return {};
  GdiFlush();
  return result;
}

}  // namespace

bool CCapturedImage::CreateSection(int width, int height, int bitsPerPixel, void** bits) {
  Reset();
  if (width <= 0 || height <= 0 || (bitsPerPixel != 24 && bitsPerPixel != 32)) return false;
  const uint64_t stride = ((static_cast<uint64_t>(width) * static_cast<uint64_t>(bitsPerPixel) + 31) / 32) * 4;
  const uint64_t bytes = stride * static_cast<uint64_t>(height);
  framlet::ui::KernelHandle section(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                                       static_cast<DWORD>(bytes >> 32), static_cast<DWORD>(bytes),
                                                       nullptr));
  if (!section) return false;
  const BITMAPINFO info = SectionInfo(width, height, bitsPerPixel);
  void* pixels = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, section.Get(), 0));
  if (!bitmap_ || !pixels) {
    bitmap_.Reset();
    return false;
  }
  section_ = std::move(section);
  width_ = width;
  height_ = height;
  if (bits) *bits = pixels;
  return true;
}

CCapturedImage CCapturedImage::Share() const {
  CCapturedImage shared;
  if (!bitmap_) return shared;
  DIBSECTION dib = {};
  HANDLE process = GetCurrentProcess();
  HANDLE copy = nullptr;
  if (section_ && GetObjectW(bitmap_.Get(), sizeof dib, &dib) == sizeof dib &&
      DuplicateHandle(process, section_.Get(), process, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    framlet::ui::KernelHandle section(copy);
    const BITMAPINFO info = SectionInfo(width_, height_, dib.dsBmih.biBitCount);
    void* pixels = nullptr;
    shared.bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, section.Get(), 0));
    if (shared.bitmap_ && pixels) {
      shared.section_ = std::move(section);
      shared.width_ = width_;
      shared.height_ = height_;
      return shared;
    }
    shared.bitmap_.Reset();
  }
  // Pixels of no section of their own: a copy, surface to surface.
  if (shared.CreateSection(width_, height_, 32) && shared.CopyFromImage(*this, 0, 0, width_, height_, 0, 0)) {
    GdiFlush();
    return shared;
  }
  shared.Reset();
  return shared;
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
  section_.Reset();  // the bitmap's own view keeps its pixels
  return bitmap_.Release();
}

void CCapturedImage::Reset() {
  bitmap_.Reset();
  section_.Reset();
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
  // A section of 24 or 32 bits is read in place: converting through the
  // system took a scroll capture step 15 to 20 ms a grab under Wine.
  framlet::PixelRows section;
  if (SectionRows(bitmap_.Get(), &section) && section.width == width_ && section.height == height_) {
    rows.resize(static_cast<size_t>(rowBytes) * static_cast<size_t>(height_));
    const size_t from = static_cast<size_t>(section.bytesPerPixel);
    const size_t to = static_cast<size_t>(bitsPerPixel) / 8u;
    for (int y = 0; y < height_; ++y) {
      const uint8_t* s = section.pixels + section.stride * y;
      uint8_t* d = rows.data() + static_cast<size_t>(rowBytes) * static_cast<size_t>(y);
      if (from == to) {
        std::memcpy(d, s, to * static_cast<size_t>(width_));
      } else {
        for (int x = 0; x < width_; ++x, s += from, d += to) {
          d[0] = s[0];
          d[1] = s[1];
          d[2] = s[2];
          if (to == 4) d[3] = 0;
        }
      }
    }
    if (stride) *stride = rowBytes;
    return rows;
  }
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

framlet::ui::Bitmap ShrinkBitmap(HBITMAP source, int width, int height, bool bottomUp, void** bits) {
  *bits = nullptr;
  BITMAP info = {};
  if (!source || GetObjectW(source, sizeof info, &info) != sizeof info || width <= 0 || height <= 0 ||
      width > info.bmWidth || height > std::abs(info.bmHeight))
    return {};
  const int sourceHeight = std::abs(info.bmHeight);
  // The picture's own rows when it is a 24- or 32-bit section (no copy of a
  // tall scroll capture beside it), else a top-down copy.
  framlet::PixelRows from;
  std::vector<uint8_t> copy;
  if (!SectionRows(source, &from)) {
    BITMAPINFO read = {};
    read.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    read.bmiHeader.biWidth = info.bmWidth;
    read.bmiHeader.biHeight = -sourceHeight;
    read.bmiHeader.biPlanes = 1;
    read.bmiHeader.biBitCount = 32;
    read.bmiHeader.biCompression = BI_RGB;
    try {
      copy.resize(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(sourceHeight) * 4);
    } catch (const std::bad_alloc&) {
      return {};
    }
    framlet::ui::WindowDC screen(nullptr);
    if (GetDIBits(screen, source, 0, static_cast<UINT>(sourceHeight), copy.data(), &read, DIB_RGB_COLORS) !=
        sourceHeight)
      return {};
    from = {copy.data(), info.bmWidth, sourceHeight, static_cast<ptrdiff_t>(info.bmWidth) * 4};
  }
  void* pixels = nullptr;
  framlet::ui::Bitmap result = Make32BitSection(width, height, bottomUp, &pixels);
  if (!result) return {};
  const ptrdiff_t stride = static_cast<ptrdiff_t>(width) * 4;
  auto* first = static_cast<uint8_t*>(pixels);
  const framlet::TargetRows to{bottomUp ? first + stride * (height - 1) : first, width, height,
                               bottomUp ? -stride : stride};
  if (!framlet::ShrinkPixels(from, to)) return {};
  *bits = pixels;
  return result;
}

framlet::ui::Bitmap DropBitmap(HBITMAP source, int width, int height) {
  BITMAP info = {};
  if (!source || GetObjectW(source, sizeof info, &info) != sizeof info || width <= 0 || height <= 0 ||
      width > info.bmWidth || height > std::abs(info.bmHeight))
    return {};
  const int sourceHeight = std::abs(info.bmHeight);
  void* pixels = nullptr;
  framlet::ui::Bitmap result = Make32BitSection(width, height, false, &pixels);
  if (!result) return {};
  auto* first = static_cast<uint8_t*>(pixels);
  const ptrdiff_t stride = static_cast<ptrdiff_t>(width) * 4;

  framlet::PixelRows from;
  if (SectionRows(source, &from)) {
    if (!framlet::DropPixels(from, {first, width, height, stride})) return {};
    return result;
  }

  // Any other bitmap: each picked row read on its own as 32 bits (a
  // bottom-up request numbers its rows from the bottom).
  BITMAPINFO read = {};
  read.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  read.bmiHeader.biWidth = info.bmWidth;
  read.bmiHeader.biHeight = sourceHeight;
  read.bmiHeader.biPlanes = 1;
  read.bmiHeader.biBitCount = 32;
  read.bmiHeader.biCompression = BI_RGB;
  std::vector<uint8_t> row;
  try {
    row.resize(static_cast<size_t>(info.bmWidth) * 4);
  } catch (const std::bad_alloc&) {
    return {};
  }
  framlet::ui::WindowDC screen(nullptr);
  for (int y = 0; y < height; ++y) {
    const int picked = framlet::DroppedPick(sourceHeight, height, y);
    if (GetDIBits(screen, source, static_cast<UINT>(sourceHeight - 1 - picked), 1, row.data(), &read,
                  DIB_RGB_COLORS) != 1)
      return {};
    const framlet::PixelRows line{row.data(), info.bmWidth, 1, 0};
    if (!framlet::DropPixels(line, {first + y * stride, width, 1, stride})) return {};
  }
  return result;
}
