#include "capture/shrink.h"

#include <cstring>
#include <vector>

namespace framlet {
namespace {

// Weights in 1/65536 of a source pixel. For target index t of a side shrunk
// from n to m, the covered source span is [t*n/m, (t+1)*n/m): whole pixels
// inside it weigh 65536 * m / n each... here expressed per source pixel as its
// covered share of the target pixel, so each target's weights sum to 65536.
struct Span {
  int first = 0;
  std::vector<uint32_t> weights;
};

std::vector<Span> Spans(int from, int to) {
  std::vector<Span> spans(static_cast<size_t>(to));
  // Positions in units of 1/(to) source pixels avoid rounding drift: target t
  // covers source units [t*from, (t+1)*from) of size `from`, and source pixel s
  // covers units [s*to, (s+1)*to).
  for (int t = 0; t < to; ++t) {
    const int64_t begin = static_cast<int64_t>(t) * from;
    const int64_t end = begin + from;
    Span& span = spans[static_cast<size_t>(t)];
    span.first = static_cast<int>(begin / to);
    const int last = static_cast<int>((end - 1) / to);
    uint32_t given = 0;
    for (int s = span.first; s <= last; ++s) {
      const int64_t lo = s * int64_t{to} > begin ? s * int64_t{to} : begin;
      const int64_t hi = (s + 1) * int64_t{to} < end ? (s + 1) * int64_t{to} : end;
      const uint32_t w = static_cast<uint32_t>(((hi - lo) * 65536) / from);
      span.weights.push_back(w);
      given += w;
    }
    // The rounding remainder goes to the largest share, so every target
    // pixel's weights add up to exactly one.
    size_t biggest = 0;
    for (size_t i = 1; i < span.weights.size(); ++i)
      if (span.weights[i] > span.weights[biggest]) biggest = i;
    span.weights[biggest] += 65536 - given;
  }
  return spans;
}

// Both sides present and the target no larger than the source.
bool Drawable(const PixelRows& from, const TargetRows& to) {
  return from.pixels && to.pixels && from.width > 0 && from.height > 0 && to.width > 0 && to.height > 0 &&
         to.width <= from.width && to.height <= from.height;
}

}  // namespace

bool ShrinkPixels(const PixelRows& from, const TargetRows& to) {
  if (!Drawable(from, to) || (from.bytesPerPixel != 3 && from.bytesPerPixel != 4)) return false;
  const int bytes = from.bytesPerPixel;
  if (to.width == from.width && to.height == from.height) {
    for (int y = 0; y < to.height; ++y) {
      const uint8_t* source = from.pixels + y * from.stride;
      uint8_t* target = to.pixels + y * to.stride;
      if (bytes == 4) {
        std::memcpy(target, source, static_cast<size_t>(to.width) * 4);
        continue;
      }
      for (int x = 0; x < to.width; ++x, source += 3, target += 4) {
        std::memcpy(target, source, 3);
        target[3] = 0;
      }
    }
    return true;
  }
  const std::vector<Span> columns = Spans(from.width, to.width);
  const std::vector<Span> rows = Spans(from.height, to.height);
  // One target row at a time: the weighted sum of its source rows (in 16.16),
  // then each target pixel from its columns.
  std::vector<uint64_t> sum(static_cast<size_t>(from.width) * 3);
  for (int ty = 0; ty < to.height; ++ty) {
    std::fill(sum.begin(), sum.end(), 0);
    const Span& rowSpan = rows[static_cast<size_t>(ty)];
    for (size_t k = 0; k < rowSpan.weights.size(); ++k) {
      const uint8_t* source = from.pixels + (rowSpan.first + static_cast<int>(k)) * from.stride;
      const uint64_t w = rowSpan.weights[k];
      for (int x = 0; x < from.width; ++x) {
        sum[x * 3 + 0] += source[x * bytes + 0] * w;
        sum[x * 3 + 1] += source[x * bytes + 1] * w;
        sum[x * 3 + 2] += source[x * bytes + 2] * w;
      }
    }
    uint8_t* target = to.pixels + ty * to.stride;
    for (int tx = 0; tx < to.width; ++tx) {
      const Span& columnSpan = columns[static_cast<size_t>(tx)];
      uint64_t b = 0, g = 0, r = 0;
      for (size_t k = 0; k < columnSpan.weights.size(); ++k) {
        const size_t x = static_cast<size_t>(columnSpan.first) + k;
        const uint64_t w = columnSpan.weights[k];
        b += sum[x * 3 + 0] * w;
        g += sum[x * 3 + 1] * w;
        r += sum[x * 3 + 2] * w;
      }
      // Two 16.16 weights: a 32-bit fraction, rounded to nearest.
      constexpr uint64_t kHalf = uint64_t{1} << 31;
      target[tx * 4 + 0] = static_cast<uint8_t>((b + kHalf) >> 32);
      target[tx * 4 + 1] = static_cast<uint8_t>((g + kHalf) >> 32);
      target[tx * 4 + 2] = static_cast<uint8_t>((r + kHalf) >> 32);
      target[tx * 4 + 3] = 0;
    }
  }
  return true;
}

int DroppedPick(int from, int to, int t) {
  return static_cast<int>((2 * int64_t{t} + 1) * from / (2 * int64_t{to}));
}

bool DropPixels(const PixelRows& from, const TargetRows& to) {
  if (!Drawable(from, to) || (from.bytesPerPixel != 3 && from.bytesPerPixel != 4)) return false;
  std::vector<size_t> columns(static_cast<size_t>(to.width));
  for (int tx = 0; tx < to.width; ++tx)
    columns[static_cast<size_t>(tx)] = static_cast<size_t>(DroppedPick(from.width, to.width, tx)) * from.bytesPerPixel;
  for (int ty = 0; ty < to.height; ++ty) {
    const uint8_t* source = from.pixels + DroppedPick(from.height, to.height, ty) * from.stride;
    uint8_t* target = to.pixels + ty * to.stride;
    for (int tx = 0; tx < to.width; ++tx) {
      const uint8_t* p = source + columns[static_cast<size_t>(tx)];
      target[tx * 4 + 0] = p[0];
      target[tx * 4 + 1] = p[1];
      target[tx * 4 + 2] = p[2];
      target[tx * 4 + 3] = 0;
    }
  }
  return true;
}

}  // namespace framlet
