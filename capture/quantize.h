// Colour reduction of a captured picture to a palette of at most 256 colours, for GIF files.
#pragma once

#include <cstdint>
#include <vector>

namespace framlet {

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> palette;  // 0xRRGGBB, 1 to 256 entries
    std::vector<uint8_t> indices;   // width * height palette indices, top row first
};

struct QuantizeOptions {
    // Error diffusion for pictures of more than 256 colours. Pixels whose colour is exactly
    // in the palette are never dithered, so flat areas and text on them stay clean.
    bool dither = true;
};

// Pictures with more pixels than this are refused.
constexpr int64_t kMaxQuantizePixels = int64_t(1) << 30;

// Reduces a picture of 24-bit BGR (bytesPerPixel 3) or 32-bit BGRX (bytesPerPixel 4, the
// fourth byte is ignored) pixels to at most 256 colours. `pixels` points at the top row;
// `stride` is the byte distance from one row to the next (negative for a bottom-up buffer
// addressed from its top row). A picture of 256 distinct colours or fewer comes out exact:
// its palette is its colours and every index names the pixel's own colour. Larger pictures
// get a palette fitted to their colours, with serpentine Floyd-Steinberg dithering unless
// turned off. Returns an image with width 0 and no palette for invalid arguments (null
// pixels, a size below 1, a pixel count above kMaxQuantizePixels, bytesPerPixel other than
// 3 or 4, |stride| shorter than a row).
IndexedImage QuantizeTo256(const uint8_t* pixels, int width, int height, int stride,
                           int bytesPerPixel, const QuantizeOptions& options = {});

}  // namespace framlet
