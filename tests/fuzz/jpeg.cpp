// The JPEG writer on pictures of random sizes (each side 1 to 65535), row
// layouts, qualities (any number) and pixels: every file decodes, code by
// code, to the stated size with the sampling its quality asks for. Wrong
// arguments give nothing rather than a read.
#include <climits>
#include <vector>

#include "capture/jpeg_encoder.h"
#include "fuzz_check.h"
#include "jpeg_check.h"

using namespace framlet;

namespace {
constexpr int kMaxPixels = 1 << 15;  // keeps each input quick; either side may still be 65535
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const bool tall = in.ConsumeBool();
  const int longSide = in.ConsumeIntegralInRange(1, kMaxJpegSide);
  const int shortSide = in.ConsumeIntegralInRange(1, std::max(1, kMaxPixels / longSide));
  const int width = tall ? shortSide : longSide;
  const int height = tall ? longSide : shortSide;
  const int bytesPerPixel = in.ConsumeBool() ? 4 : 3;
  const int stride = width * bytesPerPixel + in.ConsumeIntegralInRange(0, 9);
  const int quality = in.ConsumeIntegral<int>();
  const std::vector<uint8_t> source = in.ConsumeRemainingBytes<uint8_t>();

  std::vector<uint8_t> pixels(size_t(stride) * height);
  for (size_t i = 0; i < pixels.size() && !source.empty(); ++i) pixels[i] = source[i % source.size()];

  const std::vector<uint8_t> file = EncodeJpeg(pixels.data(), width, height, stride, bytesPerPixel, quality);
  FUZZ_CHECK(!file.empty(), "no file for %d x %d", width, height);
  const jpeg_check::Result read = jpeg_check::Check(file);
  FUZZ_CHECK(read.error.empty(), "%d x %d at quality %d: %s", width, height, quality, read.error.c_str());
  FUZZ_CHECK(read.width == width && read.height == height, "the file says %d x %d for %d x %d", read.width,
             read.height, width, height);
  const int sampling = quality >= kJpegFullChromaQuality ? 1 : 2;
  FUZZ_CHECK(read.components == 3 && read.maxH == sampling && read.maxV == sampling,
             "quality %d sampled %d x %d", quality, read.maxH, read.maxV);
  // The file's size grows with the picture, not faster: a bound on the bytes per block.
  FUZZ_CHECK(file.size() <= size_t(read.blocks) * 420 + 1024, "%zu bytes for %lld blocks", file.size(), read.blocks);

  FUZZ_CHECK(EncodeJpeg(pixels.data(), width, height, width * bytesPerPixel - 1, bytesPerPixel, quality).empty(),
             "a stride shorter than a row was taken");
  FUZZ_CHECK(EncodeJpeg(pixels.data(), kMaxJpegSide + 1, 1, INT_MAX, bytesPerPixel, quality).empty(),
             "a side past 65535 was taken");
  FUZZ_CHECK(EncodeJpeg(pixels.data(), width, height, stride, 2, quality).empty(), "two bytes a pixel were taken");
  return 0;
}
