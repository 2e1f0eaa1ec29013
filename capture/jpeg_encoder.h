// Baseline JPEG (JFIF) writer for captured pictures.
#pragma once

#include <cstdint>
#include <vector>

namespace framlet {

// Largest width or height a JPEG can state (16-bit fields).
constexpr int kMaxJpegSide = 65535;

// From this quality up the colour channels keep full resolution (4:4:4), so
// coloured text and thin coloured lines stay sharp; below it they are halved
// both ways (4:2:0) for smaller files.
constexpr int kJpegFullChromaQuality = 90;

// The bytes of a baseline sequential JFIF file of the pixels: rows top first,
// `stride` bytes apart, each pixel blue, green, red (bytesPerPixel 3) or blue,
// green, red and an ignored byte (bytesPerPixel 4). `quality` is the usual
// 1..100 scale of the standard tables (values outside are clamped). Returns
// an empty vector for width or height outside 1..65535, no pixels, a pixel
// size other than 3 or 4, a stride shorter than a row, or when memory runs out.
std::vector<uint8_t> EncodeJpeg(const uint8_t* pixels, int width, int height, int stride, int bytesPerPixel,
                                int quality);

}  // namespace framlet
