// GIF89a writer for palette images.
#pragma once

#include <cstdint>
#include <vector>

#include "capture/quantize.h"

namespace framlet {

// Largest width or height a GIF can state (16-bit fields).
constexpr int kMaxGifSide = 65535;

// The bytes of a single-image GIF89a file: a global colour table of the smallest power of
// two (at least 2) entries holding the palette, then the LZW-compressed indices. Returns an
// empty vector when the image cannot be written: width or height outside 1..65535, a
// palette of 0 or more than 256 entries, an index count other than width * height, or an
// index past the end of the palette.
std::vector<uint8_t> EncodeGif89a(const IndexedImage& image);

}  // namespace framlet
