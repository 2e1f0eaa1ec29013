#pragma once
// Area-averaged shrinking of 32-bit pixel rows (blue, green, red, unused), for
// pictures drawn or printed smaller than they are: every target pixel is the
// mean of the source area it covers, with partly covered source pixels
// weighted by the covered share, so thin lines and text fade rather than
// vanish or flicker as they do when rows are simply dropped. No <windows.h>.
#include <cstddef>
#include <cstdint>

namespace framlet {

struct PixelRows {
  const uint8_t* pixels = nullptr;  // first row
  int width = 0;
  int height = 0;
  ptrdiff_t stride = 0;  // bytes from one row to the next (negative for bottom-up storage)
  int bytesPerPixel = 4;  // 4, or 3 for rows without the unused byte
};

struct TargetRows {
  uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  ptrdiff_t stride = 0;
};

// Shrinks `from` into `to` (always 4 bytes a pixel, the unused one 0 where
// the source has none); a side of `to` larger than the source's is not
// allowed (false, nothing written), nor an empty one. Equal sizes copy.
bool ShrinkPixels(const PixelRows& from, const TargetRows& to);

}  // namespace framlet
