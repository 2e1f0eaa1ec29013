#include "windows/print_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace framlet::print {

namespace {

// A non-negative length in device pixels, truncated and kept inside int.
int TruncatedPixels(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  return static_cast<int>(std::trunc(value));
}

}  // namespace

std::optional<uint64_t> PixelBytes(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) return std::nullopt;
  // Each factor is checked before the product so the product cannot wrap.
  if (width > static_cast<int64_t>(kMaxPixelBytes) || height > static_cast<int64_t>(kMaxPixelBytes))
    return std::nullopt;
  const uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u;
  if (bytes > kMaxPixelBytes) return std::nullopt;
  return bytes;
}

std::optional<PixelHeader> MakePixelHeader(int width, int height) {
  const std::optional<uint64_t> bytes = PixelBytes(width, height);
  if (!bytes) return std::nullopt;
  PixelHeader header;
  header.width = width;
  header.height = height;
  header.sizeImage = static_cast<uint32_t>(*bytes);
  return header;
}

double PictureWidthMm(int width) {
  return width * kMmPerPicturePixel;
}
double PictureHeightMm(int height) {
  return height * kMmPerPicturePixel;
}

std::optional<Destination> PrintDestination(int width, int height, bool fitToPaper, const Page& page) {
  if (width <= 0 || height <= 0 || page.width <= 0 || page.height <= 0) return std::nullopt;
  if (fitToPaper) return Destination{0, 0, page.width, page.height};

  if (PictureWidthMm(width) > kSheetWidthMm || PictureHeightMm(height) > kSheetHeightMm)
    return Destination{0, 0, page.width, TruncatedPixels(page.height * kOversizeHeightShare)};

  if (page.pixelsPerInchX <= 0 || page.pixelsPerInchY <= 0) return std::nullopt;
  // Device pixels per picture pixel: the picture pixel's millimetres at the
  // device's real pixels per millimetre. The printable size in whole
  // millimetres would round the paper down and the picture up.
  const double scaleX = page.pixelsPerInchX / kMmPerInch * kMmPerPicturePixel;
  const double scaleY = page.pixelsPerInchY / kMmPerInch * kMmPerPicturePixel;
  return Destination{0, 0, TruncatedPixels(width * scaleX), TruncatedPixels(height * scaleY)};
}

Size SentSize(int width, int height, const Destination& to, const Page& page) {
  const auto side = [](int picture, int printed, int pixelsPerInch) {
    if (printed <= 0) return picture;
    int most = printed;
    if (pixelsPerInch > kMaxSentPixelsPerInch)
      most = std::max<int>(1, static_cast<int>(int64_t{printed} * kMaxSentPixelsPerInch / pixelsPerInch));
    return std::min(picture, most);
  };
  return {side(width, to.width, page.pixelsPerInchX), side(height, to.height, page.pixelsPerInchY)};
}

std::vector<Band> PrintBands(const Size& sent, const Destination& to) {
  std::vector<Band> bands;
  if (sent.width <= 0 || sent.height <= 0 || to.width <= 0 || to.height <= 0) return bands;
  const auto deviceRow = [&](int64_t row) { return static_cast<int>(to.y + row * to.height / sent.height); };
  const int64_t deviceRows = std::max<int64_t>(1, kMaxBandDevicePixels / to.width);
  const int rowsPerBand = static_cast<int>(std::clamp<int64_t>(deviceRows * sent.height / to.height, 1, sent.height));
  for (int first = 0; first < sent.height; first += rowsPerBand) {
    const int rows = std::min(rowsPerBand, sent.height - first);
    const int top = deviceRow(first);
    bands.push_back({first, rows, {to.x, top, to.width, deviceRow(first + rows) - top}});
  }
  return bands;
}

}  // namespace framlet::print
