// The area, print, preview and region rules, the whole-page capture's
// arithmetic and the shrinking on random and extreme sizes. Two domains:
// what comes from outside the system (a picture's size, a page's reported
// scroll sizes, typed numbers, printer figures) takes any 32-bit value, or
// any 64-bit one where the rule takes 64 bits; screen, client and pointer
// coordinates, which the system keeps to its 16-bit coordinate space, take
// anything within twice that range.
#include <algorithm>
#include <climits>
#include <vector>

#include "capture/shrink.h"
#include "fuzz_check.h"
#include "web/page_capture_rules.h"
#include "windows/area_rules.h"
#include "windows/preview_rules.h"
#include "windows/print_rules.h"
#include "windows/region_rules.h"

using namespace framlet;

namespace {

constexpr int kCoord = 1 << 16;

// Extremes are common in what the fuzzer picks: each number is a limit, a
// small value or anything in its range.
template <typename T>
T Pick(FuzzedDataProvider& in, T low, T high) {
  switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: return low;
    case 1: return high;
    case 2: return std::clamp<T>(0, low, high);
    case 3: return std::clamp<T>(in.ConsumeIntegralInRange<T>(-2, 2), low, high);
    default: return in.ConsumeIntegralInRange<T>(low, high);
  }
}
int Any(FuzzedDataProvider& in) { return Pick<int>(in, INT_MIN, INT_MAX); }
int64_t Any64(FuzzedDataProvider& in) { return Pick<int64_t>(in, INT64_MIN, INT64_MAX); }
int Coord(FuzzedDataProvider& in) { return Pick<int>(in, -kCoord, kCoord); }
int Extent(FuzzedDataProvider& in) { return Pick<int>(in, 0, kCoord); }

// A page whose every report comes from the input: the enlarge loop must end
// within its rounds and keep the window within its largest side.
class FuzzedPage : public pagecap::IPageLayout {
 public:
  explicit FuzzedPage(FuzzedDataProvider& in) : in_(in) {}
  void ScrollTo(int, int) override {}
  pagecap::Scroll Read(pagecap::Element) override {
    return {Pick<long long>(in_, LLONG_MIN, LLONG_MAX), Pick<long long>(in_, LLONG_MIN, LLONG_MAX),
            Pick<long long>(in_, LLONG_MIN, LLONG_MAX), Pick<long long>(in_, LLONG_MIN, LLONG_MAX)};
  }
  pagecap::Size ViewSize() override { return size_; }
  void ResizeView(int width, int height) override {
    FUZZ_CHECK(width >= 0 && height >= 0 && width <= pagecap::kMaxSide && height <= pagecap::kMaxSide,
               "window made %d x %d", width, height);
    size_ = {width, height};
    ++resizes;
  }
  int resizes = 0;

 private:
  FuzzedDataProvider& in_;
  pagecap::Size size_{800, 600};
};

void AreaRules(FuzzedDataProvider& in) {
  const area::Hole hole = area::HoleOfFrame(Any(in), Any(in), Any(in), Any(in));
  const area::FramePlace frame = area::FrameForHole(hole);
  FUZZ_CHECK(frame.width >= area::kMinHoleWidth + area::kExtraWidth && frame.width <= area::kMaxFrameExtent &&
                 frame.height >= area::kMinHoleHeight + area::kExtraHeight && frame.height <= area::kMaxFrameExtent,
             "frame %d x %d", frame.width, frame.height);
  const area::Hole typed{area::ParseNumber(area::NumberText(Any64(in))), Any(in), Any(in), Any(in)};
  (void)area::FrameForHole(typed);
  (void)area::CornerAccepted(typed.x, typed.y, Any(in), Any(in));
  FUZZ_CHECK(area::SpinUpperBound(Any64(in)) >= 0, "a negative spin bound");
}

void PrintRules(FuzzedDataProvider& in) {
  const int64_t w64 = Any64(in), h64 = Any64(in);
  const auto bytes = print::PixelBytes(w64, h64);
  if (bytes) {
    FUZZ_CHECK(w64 > 0 && h64 > 0 && *bytes == uint64_t(w64) * uint64_t(h64) * 4 && *bytes <= print::kMaxPixelBytes,
               "%llu bytes", static_cast<unsigned long long>(*bytes));
  } else {
    FUZZ_CHECK(w64 <= 0 || h64 <= 0 || static_cast<long double>(w64) * h64 * 4 > print::kMaxPixelBytes,
               "%lld x %lld refused", static_cast<long long>(w64), static_cast<long long>(h64));
  }
  const int width = Any(in), height = Any(in);
  if (const auto header = print::MakePixelHeader(width, height))
    FUZZ_CHECK(header->sizeImage == uint64_t(width) * uint64_t(height) * 4, "header size");
  print::Page page{Any(in), Any(in), Any(in), Any(in)};
  const auto to = print::PrintDestination(width, height, in.ConsumeBool(), page);
  if (!to) return;
  FUZZ_CHECK(to->x == 0 && to->y == 0 && to->width >= 0 && to->height >= 0, "printed at %d, %d, %d x %d", to->x,
             to->y, to->width, to->height);
  const print::Size sent = print::SentSize(width, height, *to, page);
  FUZZ_CHECK(sent.width >= 1 && sent.width <= width && sent.height >= 1 && sent.height <= height, "sent %d x %d",
             sent.width, sent.height);
  FUZZ_CHECK(print::MakePixelHeader(sent.width, sent.height) || !print::MakePixelHeader(width, height),
             "the sent picture is refused where the whole one is not");
  // The bands take every sent row once, in order, and meet on the page
  // without gap or overlap (for pictures a capture can be: at most 65,535 rows).
  if (to->width <= 0 || to->height <= 0 || sent.height > 65535 || !print::MakePixelHeader(sent.width, sent.height))
    return;
  const std::vector<print::Band> bands = print::PrintBands(sent, *to);
  FUZZ_CHECK(!bands.empty() && bands.size() <= static_cast<size_t>(sent.height), "%zu bands", bands.size());
  int row = 0, y = to->y;
  for (const print::Band& band : bands) {
    FUZZ_CHECK(band.firstRow == row && band.rows >= 1 && band.to.y == y && band.to.x == to->x &&
                   band.to.width == to->width,
               "band at row %d (%d rows) to %d", band.firstRow, band.rows, band.to.y);
    FUZZ_CHECK(band.rows == 1 || int64_t{band.to.width} * band.to.height <=
                                     print::kMaxBandDevicePixels + int64_t{band.to.width},
               "band of %d rows covers %d x %d", band.rows, band.to.width, band.to.height);
    row += band.rows;
    y += band.to.height;
  }
  FUZZ_CHECK(row == sent.height && y == to->y + to->height, "bands end at row %d, y %d", row, y);
}

void PreviewRules(FuzzedDataProvider& in) {
  const int64_t w64 = Any64(in), h64 = Any64(in);
  const bool acceptable = preview::PictureSizeAcceptable(w64, h64);
  FUZZ_CHECK(acceptable == (w64 > 0 && h64 > 0 && static_cast<long double>(w64) * h64 * 4 <= INT32_MAX),
             "%lld x %lld", static_cast<long long>(w64), static_cast<long long>(h64));
  const int screenWidth = Extent(in), screenHeight = Extent(in);
  if (acceptable) (void)preview::FirstPlacement(w64, h64, screenWidth, screenHeight);
  const int imageWidth = Any(in), imageHeight = Any(in);
  const int clientWidth = Extent(in), clientHeight = Extent(in);
  const preview::Box fit = preview::FitPicture(imageWidth, imageHeight, clientWidth, clientHeight);
  FUZZ_CHECK(fit.width >= 0 && fit.height >= 0 && fit.width <= std::max(0, imageWidth) &&
                 fit.height <= std::max(0, imageHeight),
             "%d x %d fitted to %d x %d", imageWidth, imageHeight, fit.width, fit.height);
  const preview::Box window{Coord(in), Coord(in), Extent(in), Extent(in)};
  (void)preview::EnforceMinimum(window, Extent(in), Extent(in), screenWidth, screenHeight);
  (void)preview::LayOutPreview(clientWidth, clientHeight);
  (void)preview::LayOutViewer(clientWidth, clientHeight);
  (void)preview::DragZone(in.ConsumeBool(), Coord(in), Coord(in), Coord(in), Coord(in), Coord(in), Coord(in));
  // The viewer shows pictures the preview accepted: at most 2 GiB of 32-bit pixels.
  const int shownHeight = Pick<int>(in, 1, INT32_MAX / 4);
  const int maximum = preview::ScrollMaximum(clientHeight, shownHeight);
  const int position = std::max(0, maximum) == 0 ? 0 : in.ConsumeIntegralInRange(0, maximum);
  const auto request = static_cast<preview::ScrollRequest>(in.ConsumeIntegralInRange(0, 7));
  const int next = preview::NextScrollPosition(request, in.ConsumeBool(), position, maximum, Any(in));
  FUZZ_CHECK(next >= 0 && next <= std::max(0, maximum), "scrolled to %d of %d", next, maximum);
  const int wheel = preview::WheelScrollPosition(Any(in), position, maximum, shownHeight, clientHeight);
  FUZZ_CHECK(wheel >= 0 && wheel <= std::max(0, maximum), "wheel to %d of %d", wheel, maximum);
  (void)preview::PictureOrigin(imageWidth, imageHeight, clientWidth, clientHeight);
}

void RegionRules(FuzzedDataProvider& in) {
  const region::Rect r = region::NormalizeRect(Coord(in), Coord(in), Coord(in), Coord(in));
  FUZZ_CHECK(r.left <= r.right && r.top <= r.bottom, "selection not normalised");
  region::Screens screens{in.ConsumeIntegralInRange(0, 16), Extent(in), Extent(in), Extent(in), Coord(in), Coord(in)};
  (void)region::PanelPlace(Coord(in), Coord(in), region::kPanelWidth, region::kPanelHeight, screens);
  (void)region::BandSegments(Coord(in), Coord(in), Coord(in), Coord(in));
  const region::Rect overlay = region::OverlayRect(screens, Extent(in));
  const region::Point p{Coord(in), Coord(in)};
  FUZZ_CHECK(region::ClientToDisplay(region::DisplayToClient(p, overlay), overlay) == p, "display and client differ");
  (void)region::DisplayRectToClient(r, overlay);
  const region::Rect oldWindow{Coord(in), Coord(in), Coord(in), Coord(in)};
  const region::Rect newWindow{Coord(in), Coord(in), Coord(in), Coord(in)};
  const region::PickerChange change =
      region::PickerRepaint(in.ConsumeBool(), oldWindow, {Coord(in), Coord(in)}, newWindow, {Coord(in), Coord(in)});
  FUZZ_CHECK(change.count >= 0 && change.count <= 10, "%d areas", change.count);
  for (int i = 0; i < change.count; ++i) FUZZ_CHECK(!change.areas[i].Empty(), "an empty area to repaint");
}

void PageCapture(FuzzedDataProvider& in) {
  const long long side = Pick<long long>(in, LLONG_MIN, LLONG_MAX);
  FUZZ_CHECK(pagecap::ClampSide(side) == std::clamp<long long>(side, 0, pagecap::kMaxSide), "side %lld", side);
  const long long w = Pick<long long>(in, LLONG_MIN, LLONG_MAX), h = Pick<long long>(in, LLONG_MIN, LLONG_MAX);
  FUZZ_CHECK(pagecap::DrawableSize(w, h) == (w >= 1 && h >= 1 && w <= pagecap::kMaxSide && h <= pagecap::kMaxSide &&
                                             w * h * 4 <= INT32_MAX),
             "drawable %lld x %lld", w, h);
  const int height = Any(in), trailing = Any(in);
  const int kept = pagecap::CroppedHeight(height, trailing);
  FUZZ_CHECK(kept >= 0 && kept <= std::max(0, height), "kept %d of %d", kept, height);
  FuzzedPage page(in);
  (void)pagecap::EnlargeToWholePage(page);
  FUZZ_CHECK(page.resizes <= pagecap::kMaxRounds + 1, "%d enlargements", page.resizes);

  const int width = in.ConsumeIntegralInRange(1, 16), rows = in.ConsumeIntegralInRange(1, 16);
  const size_t stride = size_t(width) * 4 + in.ConsumeIntegralInRange(0, 3);
  std::vector<uint8_t> pixels(stride * rows);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = pixels.data() + stride * y + size_t(x) * 4;
      const bool backdrop = in.ConsumeIntegralInRange(0, 3) != 0;
      p[0] = backdrop ? pagecap::kBackdropBlue : in.ConsumeIntegral<uint8_t>();
      p[1] = pagecap::kBackdropGreen, p[2] = pagecap::kBackdropRed, p[3] = in.ConsumeIntegral<uint8_t>();
    }
  const int backdropRows = pagecap::TrailingBackdropRows(pixels.data(), width, rows, stride);
  FUZZ_CHECK(backdropRows >= 0 && backdropRows <= rows, "%d backdrop rows of %d", backdropRows, rows);
}

void Shrink(FuzzedDataProvider& in) {
  PixelRows from;
  from.width = in.ConsumeIntegralInRange(1, 48);
  from.height = in.ConsumeIntegralInRange(1, 48);
  const ptrdiff_t row = ptrdiff_t(from.width) * 4 + in.ConsumeIntegralInRange(0, 5);
  std::vector<uint8_t> source(size_t(row) * from.height);
  for (auto& b : source) b = in.ConsumeIntegral<uint8_t>();
  const bool bottomUp = in.ConsumeBool();
  from.pixels = bottomUp ? source.data() + row * (from.height - 1) : source.data();
  from.stride = bottomUp ? -row : row;
  TargetRows to;
  to.width = Pick<int>(in, -1, from.width + 1);
  to.height = Pick<int>(in, -1, from.height + 1);
  const bool allowed = to.width >= 1 && to.height >= 1 && to.width <= from.width && to.height <= from.height;
  std::vector<uint8_t> target(size_t(std::max(to.width, 0)) * 4 * size_t(std::max(to.height, 0)) + 4, 0xCD);
  to.pixels = target.data();
  to.stride = ptrdiff_t(std::max(to.width, 0)) * 4;
  FUZZ_CHECK(ShrinkPixels(from, to) == allowed, "%d x %d into %d x %d", from.width, from.height, to.width, to.height);
  if (!allowed) return;
  // Every channel of every target pixel lies within that channel's range in the source.
  for (int c = 0; c < 3; ++c) {
    int low = 255, high = 0;
    for (int y = 0; y < from.height; ++y)
      for (int x = 0; x < from.width; ++x) {
        const int v = from.pixels[from.stride * y + x * 4 + c];
        low = std::min(low, v), high = std::max(high, v);
      }
    for (int y = 0; y < to.height; ++y)
      for (int x = 0; x < to.width; ++x) {
        const int v = target[size_t(to.stride) * y + size_t(x) * 4 + c];
        FUZZ_CHECK(v >= low && v <= high, "channel %d is %d outside %d..%d", c, v, low, high);
      }
  }
  FUZZ_CHECK(target.back() == 0xCD, "written past the target");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  AreaRules(in);
  PrintRules(in);
  PreviewRules(in);
  RegionRules(in);
  PageCapture(in);
  Shrink(in);
  return 0;
}
