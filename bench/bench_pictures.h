#pragma once
// Pictures for the benchmarks: read through ImageMagick, converted to the
// screen bitmap layout the product's encoders take.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

struct Rgb {
  int width = 0, height = 0;
  std::vector<uint8_t> bytes;  // R, G, B per pixel, top row first
};

// A path quoted for the shell.
inline std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Any picture ImageMagick reads, as 8-bit RGB (through a binary PPM).
inline bool Load(const std::string& path, Rgb& image) {
  FILE* pipe = popen(("convert " + Quote(path) + " -depth 8 ppm:-").c_str(), "r");
  if (!pipe) return false;
  int maxValue = 0;
  const bool ok = std::fscanf(pipe, "P6 %d %d %d", &image.width, &image.height, &maxValue) == 3 &&
                  maxValue == 255 && std::fgetc(pipe) != EOF;
  if (ok) {
    image.bytes.resize(size_t(image.width) * size_t(image.height) * 3);
    const size_t got = std::fread(image.bytes.data(), 1, image.bytes.size(), pipe);
    image.bytes.resize(got);
  }
  pclose(pipe);
  return ok && image.bytes.size() == size_t(image.width) * size_t(image.height) * 3;
}

// A 32-bit screen bitmap: B, G, R and an undefined fourth byte.
inline std::vector<uint8_t> ToBgrx(const Rgb& image) {
  std::vector<uint8_t> bgrx(size_t(image.width) * size_t(image.height) * 4);
  for (size_t i = 0, n = size_t(image.width) * size_t(image.height); i < n; ++i) {
    bgrx[i * 4] = image.bytes[i * 3 + 2];
    bgrx[i * 4 + 1] = image.bytes[i * 3 + 1];
    bgrx[i * 4 + 2] = image.bytes[i * 3];
    bgrx[i * 4 + 3] = uint8_t(i * 37);
  }
  return bgrx;
}

}  // namespace bench
