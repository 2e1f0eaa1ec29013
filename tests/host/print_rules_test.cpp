// Printing: where a picture lands on the printable area (fit, own scale, the
// A4 limit), the pixel buffer's header, and the size refusals.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "windows/print_rules.h"

namespace framlet::print {
namespace {

// An A4 sheet's printable area on a 600-DPI printer, portrait and landscape,
// and a 300 x 300 DPI one (the usual PDF queue).
constexpr Page kA4At600 = {4760, 6779, 600, 600};
constexpr Page kA4At600Landscape = {6779, 4760, 600, 600};
constexpr Page kA4At300 = {2380, 3389, 300, 300};

TEST(PrintDestination, OwnScalePrintsThePicturesMillimetresFromTheTopLeft) {
  struct Case {
    const char* what;
    int w, h;
    Page page;
    double widthMm, heightMm;  // what the destination measures on paper
  };
  const Case cases[] = {
      {"400 x 300 at 600 DPI", 400, 300, kA4At600, 105.16, 78.87},
      {"400 x 300 at 300 DPI", 400, 300, kA4At300, 105.16, 78.87},
      {"landscape page, same size", 400, 300, kA4At600Landscape, 105.16, 78.87},
      {"one pixel", 1, 1, kA4At600, 0.26, 0.26},
      {"widest inside A4 (209.8 mm)", 798, 100, kA4At600, 209.80, 26.29},
      {"tallest inside A4 (296.8 mm)", 100, 1129, kA4At600, 26.29, 296.82},
  };
  for (const Case& c : cases) {
    const std::optional<Destination> d = PrintDestination(c.w, c.h, false, c.page);
    ASSERT_TRUE(d) << c.what;
    EXPECT_EQ(d->x, 0) << c.what;
    EXPECT_EQ(d->y, 0) << c.what;
    // Truncation to whole device pixels loses less than one pixel.
    const double mmPerPixelX = kMmPerInch / c.page.pixelsPerInchX;
    const double mmPerPixelY = kMmPerInch / c.page.pixelsPerInchY;
    EXPECT_NEAR(d->width * mmPerPixelX, c.widthMm, mmPerPixelX + 0.01) << c.what;
    EXPECT_NEAR(d->height * mmPerPixelY, c.heightMm, mmPerPixelY + 0.01) << c.what;
    EXPECT_LE(d->width * mmPerPixelX, c.w * kMmPerPicturePixel) << c.what;
  }
}

TEST(PrintDestination, OwnScaleFollowsTheRealResolutionNotTheWholeMillimetreSize) {
  // 4760 pixels at 600 DPI are 201.5 mm; a driver reporting 201 whole
  // millimetres would make each picture pixel about 0.25 % too wide. Only the
  // resolution decides: two pages of different pixel sizes at the same DPI
  // give the same destination.
  const Page wide = {4800, 6900, 600, 600};
  const Page narrow = {4700, 6700, 600, 600};
  EXPECT_EQ(PrintDestination(400, 300, false, wide), PrintDestination(400, 300, false, narrow));
  EXPECT_EQ(PrintDestination(400, 300, false, kA4At600), (Destination{0, 0, 2484, 1863}));
  // Different horizontal and vertical resolutions scale each axis on its own.
  EXPECT_EQ(PrintDestination(400, 300, false, Page{4760, 3389, 600, 300}), (Destination{0, 0, 2484, 931}));
}

TEST(PrintDestination, PicturesLargerThanA4TakeTheWholeWidthAnd40PercentOfTheHeight) {
  struct Case {
    const char* what;
    int w, h;
    Page page;
    Destination expected;
  };
  const Case cases[] = {
      {"1000 x 500 (262.9 mm wide)", 1000, 500, kA4At600, {0, 0, 4760, 2711}},
      {"one pixel past 210 mm", 799, 100, kA4At600, {0, 0, 4760, 2711}},
      {"one pixel past 297 mm", 100, 1130, kA4At600, {0, 0, 4760, 2711}},
      // The limits are the portrait sheet's whatever the orientation.
      {"landscape page, 799 wide", 799, 100, kA4At600Landscape, {0, 0, 6779, 1904}},
  };
  for (const Case& c : cases) EXPECT_EQ(PrintDestination(c.w, c.h, false, c.page), c.expected) << c.what;
}

TEST(PrintDestination, FitStretchesOverTheWholePrintableAreaInEitherOrientation) {
  EXPECT_EQ(PrintDestination(400, 300, true, kA4At600), (Destination{0, 0, 4760, 6779}));
  EXPECT_EQ(PrintDestination(400, 300, true, kA4At600Landscape), (Destination{0, 0, 6779, 4760}));
  EXPECT_EQ(PrintDestination(5000, 20, true, kA4At300), (Destination{0, 0, 2380, 3389}));
}

TEST(PrintDestination, NothingForAnEmptyPictureOrAPageWithoutSizeOrResolution) {
  EXPECT_FALSE(PrintDestination(0, 300, true, kA4At600));
  EXPECT_FALSE(PrintDestination(400, -1, false, kA4At600));
  EXPECT_FALSE(PrintDestination(400, 300, true, Page{0, 6779, 600, 600}));
  EXPECT_FALSE(PrintDestination(400, 300, false, Page{4760, 6779, 0, 600}));
  // An oversized picture needs no resolution, only the page size.
  EXPECT_TRUE(PrintDestination(1000, 500, false, Page{4760, 6779, 0, 0}));
}

TEST(PixelBuffer, HeaderDescribesA32BitBottomUpUncompressedArray) {
  const std::optional<PixelHeader> h = MakePixelHeader(400, 300);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->size, 40u);
  EXPECT_EQ(h->width, 400);
  EXPECT_EQ(h->height, 300);  // positive: bottom-up
  EXPECT_EQ(h->planes, 1);
  EXPECT_EQ(h->bitCount, 32);
  EXPECT_EQ(h->compression, 0u);
  EXPECT_EQ(h->sizeImage, 400u * 300u * 4u);
  EXPECT_EQ(h->xPelsPerMeter, 0);
  EXPECT_EQ(h->yPelsPerMeter, 0);
  EXPECT_EQ(h->clrUsed, 0u);
  EXPECT_EQ(h->clrImportant, 0u);
  EXPECT_EQ(sizeof(PixelHeader), 40u);
}

TEST(PixelBuffer, SizesAreCountedIn64BitsAndRefusedPastTheLimit) {
  struct Case {
    const char* what;
    int64_t w, h;
    std::optional<uint64_t> bytes;
  };
  const Case cases[] = {
      {"ordinary", 1920, 1080, uint64_t{1920} * 1080 * 4},
      {"largest allowed", 0x1FFFFFFF, 1, uint64_t{0x7FFFFFFC}},
      {"one pixel more", 0x20000000, 1, std::nullopt},
      // 65536 x 32768 x 4 is 2^33: in 32 bits it wraps to 0.
      {"wraps in 32 bits", 65536, 32768, std::nullopt},
      {"46341 squared wraps to negative in 32 bits", 46341, 46341, std::nullopt},
      {"huge factor", int64_t{1} << 40, 1, std::nullopt},
      {"empty", 0, 100, std::nullopt},
      {"negative", -5, 100, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(PixelBytes(c.w, c.h), c.bytes) << c.what;
  EXPECT_FALSE(MakePixelHeader(65536, 32768));
  EXPECT_FALSE(MakePixelHeader(0, 0));
}

TEST(PixelBuffer, ATallCaptureIsShrunkToThePrintedPixelsNeverEnlarged) {
  // A 1920 x 20000 capture fitted to an A4 page at 300 DPI (2480 x 3508):
  // the job carries the page's 3508 rows, not 20000 (27 MB, not 154 MB).
  const Page a4{2480, 3508, 300, 300};
  const std::optional<Destination> fit = PrintDestination(1920, 20000, true, a4);
  ASSERT_TRUE(fit);
  EXPECT_EQ(SentSize(1920, 20000, *fit, a4), (Size{1920, 3508}));
  EXPECT_LE(*PixelBytes(1920, 3508), 40u * 1000 * 1000);
  // Own scale of a small picture: printed larger than it is, sent as it is.
  const std::optional<Destination> own = PrintDestination(400, 300, false, a4);
  ASSERT_TRUE(own);
  EXPECT_EQ(SentSize(400, 300, *own, a4), (Size{400, 300}));
  // Each side on its own; a one-pixel destination still sends a pixel.
  EXPECT_EQ(SentSize(5000, 100, Destination{0, 0, 2480, 1403}, a4), (Size{2480, 100}));
  EXPECT_EQ(SentSize(10, 10, Destination{0, 0, 1, 1}, a4), (Size{1, 1}));
  EXPECT_EQ(SentSize(10, 10, Destination{0, 0, 0, 0}, a4), (Size{10, 10}));
}

TEST(PixelBuffer, FinerPrintersAreSentAtMost300PixelsPerInch) {
  const Page a4At1200{9520, 13558, 1200, 1200};
  struct Case {
    const char* what;
    int w, h;
    Destination to;
    Page page;
    Size expected;
  };
  const Case cases[] = {
      {"a tall capture fitted at 600", 1920, 20000, {0, 0, 4760, 6779}, kA4At600, {1920, 3389}},
      {"the same at 1200: no more rows", 1920, 20000, {0, 0, 9520, 13558}, a4At1200, {1920, 3389}},
      {"a wide picture loses columns", 8000, 600, {0, 0, 4760, 6779}, kA4At600, {2380, 600}},
      {"each side at its own resolution", 5000, 5000, {0, 0, 4760, 3389}, Page{4760, 3389, 600, 300}, {2380, 3389}},
      {"a small picture at its own scale", 400, 300, {0, 0, 2484, 1863}, kA4At600, {400, 300}},
      {"an unknown resolution caps nothing", 5000, 8000, {0, 0, 4760, 6779}, Page{4760, 6779, 0, 0}, {4760, 6779}},
      {"one printed pixel at 1200 still sends one", 10, 10, {0, 0, 1, 1}, a4At1200, {1, 1}},
  };
  for (const Case& c : cases) EXPECT_EQ(SentSize(c.w, c.h, c.to, c.page), c.expected) << c.what;
}

TEST(PrintBands, BandsMeetWithoutGapWhereOneCallWouldPlaceTheRows) {
  struct Case {
    const char* what;
    Size sent;
    Destination to;
    size_t leastBands;
  };
  const Case cases[] = {
      {"a tall capture fitted at 600", {1920, 3389}, {0, 0, 4760, 6779}, 8},
      {"the same at 1200", {1920, 3389}, {0, 0, 9520, 13558}, 31},
      {"own scale, moved down the page", {400, 300}, {30, 100, 2484, 1863}, 2},
      {"rows not dividing evenly", {97, 1031}, {0, 0, 4760, 6779}, 8},
  };
  for (const Case& c : cases) {
    const std::vector<Band> bands = PrintBands(c.sent, c.to);
    ASSERT_GE(bands.size(), c.leastBands) << c.what;
    int row = 0, deviceRow = c.to.y;
    for (const Band& band : bands) {
      EXPECT_EQ(band.firstRow, row) << c.what;
      EXPECT_GT(band.rows, 0) << c.what;
      EXPECT_EQ(band.to.x, c.to.x);
      EXPECT_EQ(band.to.width, c.to.width);
      EXPECT_EQ(band.to.y, deviceRow) << c.what << ": a gap or overlap at row " << row;
      EXPECT_EQ(band.to.y, c.to.y + int64_t{row} * c.to.height / c.sent.height) << c.what;
      EXPECT_LE(int64_t{band.to.height} * band.to.width, kMaxBandDevicePixels + band.to.width) << c.what;
      row += band.rows;
      deviceRow += band.to.height;
    }
    EXPECT_EQ(row, c.sent.height) << c.what;
    EXPECT_EQ(deviceRow, c.to.y + c.to.height) << c.what;
  }
  // A picture the page holds in one band is sent in one piece.
  EXPECT_EQ(PrintBands({400, 300}, {0, 0, 1242, 931}), (std::vector<Band>{{0, 300, {0, 0, 1242, 931}}}));
  // A single row larger than a band is still drawn, on its own.
  EXPECT_EQ(PrintBands({10, 1}, {0, 0, 4760, 6779}), (std::vector<Band>{{0, 1, {0, 0, 4760, 6779}}}));
  EXPECT_TRUE(PrintBands({0, 10}, {0, 0, 100, 100}).empty());
  EXPECT_TRUE(PrintBands({10, 10}, {0, 0, 100, 0}).empty());
}

}  // namespace
}  // namespace framlet::print
