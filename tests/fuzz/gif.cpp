// The colour reduction and the GIF writer on pictures of random sizes, row
// layouts and pixels. Every picture comes out as a GIF that reads back
// strictly to its size and its indices; a picture of at most 256 colours
// comes back exactly. Wrong arguments give nothing rather than a read.
#include <map>
#include <vector>

#include "capture/gif_encoder.h"
#include "capture/quantize.h"
#include "fuzz_check.h"
#include "tests/host/gif_reader.h"

using namespace framlet;

namespace {

constexpr int kMaxPixels = 1 << 15;  // keeps each input quick; the sides still reach 32768

uint32_t ColourAt(const uint8_t* pixel) { return uint32_t(pixel[2]) << 16 | uint32_t(pixel[1]) << 8 | pixel[0]; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int width = in.ConsumeIntegralInRange(1, kMaxPixels);
  const int height = in.ConsumeIntegralInRange(1, kMaxPixels / width);
  const int bytesPerPixel = in.ConsumeBool() ? 4 : 3;
  const int padding = in.ConsumeIntegralInRange(0, 7);
  const bool bottomUp = in.ConsumeBool();
  QuantizeOptions options;
  options.dither = in.ConsumeBool();
  // Pixels from a palette of `colours` entries (the input's own bytes when 0).
  const int colours = in.ConsumeIntegralInRange(0, 300);
  std::vector<uint32_t> palette;
  for (int i = 0; i < colours; ++i) palette.push_back(in.ConsumeIntegral<uint32_t>() & 0xFFFFFF);
  const std::vector<uint8_t> source = in.ConsumeRemainingBytes<uint8_t>();

  const int row = width * bytesPerPixel + padding;
  std::vector<uint8_t> buffer(size_t(row) * height);
  std::map<uint32_t, int> distinct;
  size_t next = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* pixel = buffer.data() + size_t(y) * row + size_t(x) * bytesPerPixel;
      if (!palette.empty()) {
        const uint32_t c = palette[source.empty() ? 0 : source[next++ % source.size()] % palette.size()];
        pixel[0] = uint8_t(c), pixel[1] = uint8_t(c >> 8), pixel[2] = uint8_t(c >> 16);
      } else {
        for (int b = 0; b < 3; ++b) pixel[b] = source.empty() ? 0 : source[next++ % source.size()];
      }
      if (bytesPerPixel == 4) pixel[3] = uint8_t(x * 37 + y);  // ignored
      ++distinct[ColourAt(pixel)];
    }
  }
  // A bottom-up buffer is addressed from its top row, which is stored last.
  const uint8_t* top = bottomUp ? buffer.data() + size_t(row) * (height - 1) : buffer.data();
  const int stride = bottomUp ? -row : row;
  auto pixelAt = [&](int x, int y) { return top + ptrdiff_t(y) * stride + ptrdiff_t(x) * bytesPerPixel; };

  const IndexedImage image = QuantizeTo256(top, width, height, stride, bytesPerPixel, options);
  FUZZ_CHECK(image.width == width && image.height == height, "%d x %d came out %d x %d", width, height, image.width,
             image.height);
  FUZZ_CHECK(!image.palette.empty() && image.palette.size() <= 256, "a palette of %zu", image.palette.size());
  FUZZ_CHECK(image.indices.size() == size_t(width) * height, "%zu indices", image.indices.size());
  for (size_t i = 0; i < image.indices.size(); ++i)
    FUZZ_CHECK(image.indices[i] < image.palette.size(), "index %d past a palette of %zu", image.indices[i],
               image.palette.size());
  if (distinct.size() <= 256) {
    FUZZ_CHECK(image.palette.size() == distinct.size(), "%zu colours gave a palette of %zu", distinct.size(),
               image.palette.size());
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        FUZZ_CHECK(image.palette[image.indices[size_t(y) * width + x]] == ColourAt(pixelAt(x, y)),
                   "pixel %d, %d of %zu colours is not exact", x, y, distinct.size());
  }

  const std::vector<uint8_t> file = EncodeGif89a(image);
  const gif_reader::DecodedGif gif = gif_reader::DecodeGif(file);
  FUZZ_CHECK(gif.error.empty(), "the GIF of %d x %d reads badly: %s", width, height, gif.error.c_str());
  FUZZ_CHECK(gif.width == width && gif.height == height, "the GIF says %d x %d", gif.width, gif.height);
  FUZZ_CHECK(gif.indices == image.indices, "the GIF's pixels differ");
  for (size_t i = 0; i < image.palette.size(); ++i)
    FUZZ_CHECK(gif.table[i] == image.palette[i], "colour %zu differs", i);

  // What the writers refuse, without reading.
  IndexedImage wrong = image;
  wrong.indices[wrong.indices.size() / 2] = uint8_t(wrong.palette.size() == 256 ? 0 : wrong.palette.size());
  if (wrong.palette.size() < 256) FUZZ_CHECK(EncodeGif89a(wrong).empty(), "an index past the palette was written");
  FUZZ_CHECK(QuantizeTo256(top, width, height, width * bytesPerPixel - 1, bytesPerPixel).width == 0,
             "a stride shorter than a row was taken");
  FUZZ_CHECK(QuantizeTo256(top, 1 << 16, 1 << 15, 3 << 16, 3).width == 0, "a picture past the pixel limit was taken");
  return 0;
}
