#pragma once
// Two ways to show pixel rows (blue, green, red[, unused]) smaller than they
// are. Area averaging, for printing: every target pixel is the mean of the
// source area it covers, with partly covered source pixels weighted by the
// covered share, so thin lines and text fade rather than vanish. Dropping,
// for the preview: every target pixel is one source pixel, the surplus rows
// and columns are left out and no colour is mixed. No <windows.h>.
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

// Shrinks `from` (3 or 4 bytes a pixel) into `to` (4 bytes, the unused one 0
// where the source has none) by area averaging; a side of `to` larger than the
// source's is not allowed (false, nothing written), nor an empty one. Equal
// sizes copy.
bool ShrinkPixels(const PixelRows& from, const TargetRows& to);

// The source pixel shown at index `t` of a side of `from` pixels drawn as
// `to` (0 <= t < to <= from): the one under the middle of the target pixel,
// floor((2t + 1) * from / (2 * to)). The dropped pixels are thus spread
// evenly, equal sizes keep every pixel, and counted in 64 bits no size wraps.
int DroppedPick(int from, int to, int t);

// Draws `from` (3 or 4 bytes a pixel) into `to` (4 bytes, the unused one 0)
// by dropping: target pixel (x, y) is source pixel (DroppedPick(width, x),
// DroppedPick(height, y)). Only the picked rows are read, so the cost follows
// the target's size, not the source's. Refused (false, nothing written) as
// ShrinkPixels refuses, and for another pixel size.
bool DropPixels(const PixelRows& from, const TargetRows& to);

}  // namespace framlet
