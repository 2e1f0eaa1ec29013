// Drawing a whole page into one picture: the scrolling element, the growth of
// the hidden browser window until nothing scrolls (also for pages that report
// absurd or unchanging sizes), and the unpainted rows a saved picture loses.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "web/page_capture_rules.h"

namespace framlet::pagecap {
namespace {

// A page in a browser window with a 2-pixel border: the content is pageW x
// pageH; the element that scrolls (body or root) can be scrolled by what the
// content exceeds the client area. A "stuck" page reports the same offsets
// whatever size the window has.
class FakePage : public IPageLayout {
 public:
  FakePage(long long pageW, long long pageH, Element scroller) : pageW_(pageW), pageH_(pageH), scroller_(scroller) {}

  void ScrollTo(int x, int y) override {
    ++scrolls;
    x_ = std::clamp<long long>(x, 0, MaxLeft());
    y_ = std::clamp<long long>(y, 0, MaxTop());
  }
  Scroll Read(Element element) override {
    if (element != scroller_) return {0, 0, ClientW(), ClientH()};
    if (stuck) return {stuckLeft, stuckTop, pageW_, pageH_};
    return {x_, y_, std::max(pageW_, ClientW()), std::max(pageH_, ClientH())};
  }
  Size ViewSize() override { return {w, h}; }
  void ResizeView(int width, int height) override {
    ++resizes;
    EXPECT_GE(width, 0);
    EXPECT_GE(height, 0);
    EXPECT_LE(width, kMaxSide);
    EXPECT_LE(height, kMaxSide);
    w = width;
    h = height;
    x_ = std::min(x_, MaxLeft());
    y_ = std::min(y_, MaxTop());
  }

  void SetPageHeight(long long height) { pageH_ = height; }
  long long ClientW() const { return std::max(0, w - 4); }
  long long ClientH() const { return std::max(0, h - 4); }
  long long MaxLeft() const { return std::max(0LL, pageW_ - ClientW()); }
  long long MaxTop() const { return std::max(0LL, pageH_ - ClientH()); }

  int w = 800;
  int h = 600;
  int resizes = 0;
  int scrolls = 0;
  bool stuck = false;
  long long stuckLeft = 0;
  long long stuckTop = 0;

 private:
  long long pageW_, pageH_;
  Element scroller_;
  long long x_ = 0, y_ = 0;
};

TEST(WholePageGrowth, StandardsPageScrollsTheRootAndEndsWithNothingToScroll) {
  FakePage page(780, 5000, Element::Root);
  EXPECT_EQ(EnlargeToWholePage(page), Element::Root);
  EXPECT_GE(page.ClientH(), 5000);
  EXPECT_GE(page.ClientW(), 780);
  EXPECT_EQ(page.MaxTop(), 0);
}

TEST(WholePageGrowth, OldStylePageScrollsTheBodyAndWideOnesAreWidenedToo) {
  FakePage tall(600, 3000, Element::Body);
  EXPECT_EQ(EnlargeToWholePage(tall), Element::Body);
  EXPECT_EQ(tall.MaxTop(), 0);

  FakePage wide(2500, 1800, Element::Root);
  EnlargeToWholePage(wide);
  EXPECT_EQ(wide.MaxLeft(), 0);
  EXPECT_EQ(wide.MaxTop(), 0);
  EXPECT_GE(wide.w, 2500);
  EXPECT_GE(wide.h, 1800);
}

TEST(WholePageGrowth, APageThatGrowsOnceTheWindowGrowsIsEnlargedAgain) {
  // A page that adds 60 rows at its foot once the window has first grown
  // (lazily loaded content): the second enlargement differs from the first,
  // and the window ends with nothing left to scroll.
  class Growing : public FakePage {
   public:
    Growing() : FakePage(780, 5000, Element::Root) {}
    void ResizeView(int width, int height) override {
      if (resizes == 1) SetPageHeight(5060);
      FakePage::ResizeView(width, height);
    }
  } page;
  EnlargeToWholePage(page);
  EXPECT_EQ(page.MaxTop(), 0) << "the last rows stay cut";
  EXPECT_EQ(page.ClientH(), 5060);
  EXPECT_EQ(page.resizes, 3);
}

TEST(WholePageGrowth, ChoiceOfScrollingElement) {
  EXPECT_EQ(ChooseScrollingElement(0, 0), Element::Root);
  EXPECT_EQ(ChooseScrollingElement(1, 0), Element::Body);
  EXPECT_EQ(ChooseScrollingElement(0, 7), Element::Body);
  EXPECT_EQ(ChooseScrollingElement(-5, -5), Element::Root);
}

TEST(WholePageGrowth, UntrustedSizesStopAtTheClampAndTheLoopEnds) {
  // A page that claims to be 2^40 pixels on each side: the window stops at the
  // largest side, and the loop ends although the page still "scrolls".
  FakePage huge(1LL << 40, 1LL << 40, Element::Root);
  EnlargeToWholePage(huge);
  EXPECT_EQ(huge.w, kMaxSide);
  EXPECT_EQ(huge.h, kMaxSide);
  EXPECT_LE(huge.resizes, kMaxRounds + 1);

  // Offsets at the 64-bit limit are added without overflowing.
  FakePage far(800, 600, Element::Root);
  far.stuck = true;
  far.stuckLeft = LLONG_MAX;
  far.stuckTop = LLONG_MAX;
  EnlargeToWholePage(far);
  EXPECT_EQ(far.w, kMaxSide);
  EXPECT_EQ(far.h, kMaxSide);

  // Negative sizes never make a negative window.
  FakePage negative(-100, -(1LL << 40), Element::Root);
  EnlargeToWholePage(negative);
  EXPECT_GE(negative.w, 0);
  EXPECT_GE(negative.h, 0);

  // Offsets that never change whatever the window's size.
  FakePage stuck(800, 600, Element::Body);
  stuck.stuck = true;
  stuck.stuckLeft = 40;
  stuck.stuckTop = 40;
  EnlargeToWholePage(stuck);
  // Sized to the page, grown once by the offsets; the repeated left offset ends it.
  EXPECT_EQ(stuck.resizes, 2);
  EXPECT_EQ(stuck.w, 840);
  EXPECT_EQ(stuck.h, 640);
  EXPECT_LE(stuck.scrolls, 2 * kMaxRounds + 1);

  // Offsets that change every round (the left one too) end after the fixed number of rounds.
  class Growing : public FakePage {
   public:
    Growing() : FakePage(10, 10, Element::Root) {}
    Scroll Read(Element) override { return {++n, ++n, 10, 10}; }
    long long n = 0;
  } growing;
  EnlargeToWholePage(growing);
  EXPECT_LE(growing.resizes, kMaxRounds + 1);
}

TEST(WholePageGrowth, SidesAreClampedIn64Bits) {
  EXPECT_EQ(ClampSide(-1), 0);
  EXPECT_EQ(ClampSide(0), 0);
  EXPECT_EQ(ClampSide(1234), 1234);
  EXPECT_EQ(ClampSide(32767), 32767);
  EXPECT_EQ(ClampSide(32768), 32767);
  EXPECT_EQ(ClampSide(1LL << 33), 32767);  // would wrap to 0 in 32 bits
}

std::vector<std::uint8_t> Picture(int width, int height, std::size_t stride) {
  std::vector<std::uint8_t> pixels(stride * height, 0xEE);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = &pixels[y * stride + x * 4];
      p[0] = kBackdropBlue;
      p[1] = kBackdropGreen;
      p[2] = kBackdropRed;
      p[3] = 0x5A;  // the unused byte never matters
    }
  return pixels;
}

void Paint(std::vector<std::uint8_t>& pixels, std::size_t stride, int x, int y, std::uint8_t b, std::uint8_t g,
           std::uint8_t r) {
  std::uint8_t* p = &pixels[y * stride + x * 4];
  p[0] = b;
  p[1] = g;
  p[2] = r;
}

TEST(UnpaintedRows, CountedFromTheBottomUpToTheFirstPaintedRow) {
  const int w = 5, h = 10;
  const std::size_t stride = w * 4 + 12;  // padding after each row is not looked at
  std::vector<std::uint8_t> pixels = Picture(w, h, stride);
  // A page that painted nothing: every row counts, and the save keeps the whole picture.
  EXPECT_EQ(TrailingBackdropRows(pixels.data(), w, h, stride), h);
  EXPECT_EQ(CroppedHeight(h, h), 0);

  // One pixel one step off the backdrop in any channel ends the count.
  Paint(pixels, stride, 4, 6, kBackdropBlue, kBackdropGreen, kBackdropRed + 1);
  EXPECT_EQ(TrailingBackdropRows(pixels.data(), w, h, stride), 3);
  EXPECT_EQ(CroppedHeight(h, 3), 7);
  Paint(pixels, stride, 0, 8, kBackdropBlue - 1, kBackdropGreen, kBackdropRed);
  EXPECT_EQ(TrailingBackdropRows(pixels.data(), w, h, stride), 1);
  // Rows above a painted one are not counted even when they are backdrop.
  Paint(pixels, stride, 2, 9, 0, 0, 0);
  EXPECT_EQ(TrailingBackdropRows(pixels.data(), w, h, stride), 0);
  EXPECT_EQ(CroppedHeight(h, 0), h);
}

TEST(UnpaintedRows, NothingToCountAndOutOfRangeCounts) {
  EXPECT_EQ(TrailingBackdropRows(nullptr, 4, 4, 16), 0);
  std::vector<std::uint8_t> one = Picture(1, 1, 4);
  EXPECT_EQ(TrailingBackdropRows(one.data(), 0, 1, 4), 0);
  EXPECT_EQ(TrailingBackdropRows(one.data(), 1, 0, 4), 0);
  EXPECT_EQ(CroppedHeight(10, 15), 0);
  EXPECT_EQ(CroppedHeight(10, -3), 10);
}

TEST(DrawablePicture, EmptyAndOversizedClientAreasGiveNoPicture) {
  EXPECT_FALSE(DrawableSize(0, 0));
  EXPECT_FALSE(DrawableSize(0, 500));  // GDI would make a 1 x 1 monochrome bitmap
  EXPECT_FALSE(DrawableSize(500, 0));
  EXPECT_FALSE(DrawableSize(-1, 10));
  EXPECT_TRUE(DrawableSize(1, 1));
  EXPECT_TRUE(DrawableSize(1920, 32767));
  EXPECT_FALSE(DrawableSize(32768, 10));
  EXPECT_FALSE(DrawableSize(32767, 32767));  // 4 GB in one bitmap
}

}  // namespace
}  // namespace framlet::pagecap
