#include "capture/shrink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace framlet {
namespace {

struct Picture {
  int width, height;
  std::vector<uint8_t> bytes;
  Picture(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(w) * h * 4) {}
  uint8_t* At(int x, int y) { return &bytes[(static_cast<size_t>(y) * width + x) * 4]; }
  PixelRows Rows() const { return {bytes.data(), width, height, static_cast<ptrdiff_t>(width) * 4}; }
  TargetRows Target() { return {bytes.data(), width, height, static_cast<ptrdiff_t>(width) * 4}; }
  double Mean(int channel) const {
    double total = 0;
    for (size_t i = channel; i < bytes.size(); i += 4) total += bytes[i];
    return total / (static_cast<double>(width) * height);
  }
};

TEST(Shrink, AveragesTheCoveredAreaWithPartialPixelsByTheirShare) {
  // Halving: each target pixel is the mean of a 2 x 2 block.
  Picture from(4, 2), to(2, 1);
  const uint8_t blues[8] = {0, 100, 200, 40, 20, 80, 60, 0};
  for (int i = 0; i < 8; ++i) *from.At(i % 4, i / 4) = blues[i];
  ASSERT_TRUE(ShrinkPixels(from.Rows(), to.Target()));
  EXPECT_EQ(*to.At(0, 0), 50);   // (0 + 100 + 20 + 80) / 4
  EXPECT_EQ(*to.At(1, 0), 75);   // (200 + 40 + 60 + 0) / 4

  // Three rows into two: the middle row is shared half and half, so a
  // one-pixel line there shows in both target rows, neither dropped.
  Picture line(1, 3), two(1, 2);
  *line.At(0, 1) = 255;
  ASSERT_TRUE(ShrinkPixels(line.Rows(), two.Target()));
  EXPECT_EQ(*two.At(0, 0), 85);  // 255 * (1/2) / (3/2)
  EXPECT_EQ(*two.At(0, 1), 85);
}

TEST(Shrink, KeepsFlatColoursAndTheMeanAtAnyRatio) {
  std::mt19937 random(7);
  for (const auto& size : {std::pair{1920, 2000}, std::pair{97, 1031}, std::pair{5, 3}}) {
    Picture flat(size.first, size.second);
    for (int y = 0; y < flat.height; ++y)
      for (int x = 0; x < flat.width; ++x) {
        flat.At(x, y)[0] = 17;
        flat.At(x, y)[1] = 128;
        flat.At(x, y)[2] = 250;
      }
    Picture to(std::max(1, size.first / 7), std::max(1, size.second / 11));
    ASSERT_TRUE(ShrinkPixels(flat.Rows(), to.Target()));
    for (int y = 0; y < to.height; ++y)
      for (int x = 0; x < to.width; ++x) {
        ASSERT_EQ(to.At(x, y)[0], 17) << x << "," << y;
        ASSERT_EQ(to.At(x, y)[1], 128);
        ASSERT_EQ(to.At(x, y)[2], 250);
      }
  }
  // Noise at an odd ratio: the picture's mean survives (within rounding).
  Picture noise(301, 707);
  for (uint8_t& b : noise.bytes) b = static_cast<uint8_t>(random());
  Picture small(89, 113);
  ASSERT_TRUE(ShrinkPixels(noise.Rows(), small.Target()));
  for (int channel = 0; channel < 3; ++channel) EXPECT_NEAR(small.Mean(channel), noise.Mean(channel), 0.6) << channel;
}

TEST(Shrink, BottomUpRowsEqualSizesAndRefusals) {
  // Rows stored bottom-up (negative stride) shrink the same as top-down ones.
  Picture top(6, 9), expected(2, 3), got(2, 3);
  for (size_t i = 0; i < top.bytes.size(); ++i) top.bytes[i] = static_cast<uint8_t>(i * 37);
  ASSERT_TRUE(ShrinkPixels(top.Rows(), expected.Target()));
  Picture bottomUp(6, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 6 * 4; ++x) bottomUp.bytes[(8 - y) * 24 + x] = top.bytes[y * 24 + x];
  const PixelRows reversed{bottomUp.bytes.data() + 8 * 24, 6, 9, -24};
  ASSERT_TRUE(ShrinkPixels(reversed, got.Target()));
  EXPECT_EQ(got.bytes, expected.bytes);

  // The same size copies; a larger or empty target is refused untouched.
  Picture same(6, 9);
  ASSERT_TRUE(ShrinkPixels(top.Rows(), same.Target()));
  EXPECT_EQ(same.bytes, top.bytes);
  Picture larger(7, 9);
  EXPECT_FALSE(ShrinkPixels(top.Rows(), larger.Target()));
  EXPECT_FALSE(ShrinkPixels(top.Rows(), TargetRows{got.bytes.data(), 0, 3, 8}));
  EXPECT_FALSE(ShrinkPixels(PixelRows{}, got.Target()));
}

TEST(Drop, PicksThePixelUnderEachTargetPixelsMiddle) {
  struct Case {
    int from, to, t, picked;
  };
  const Case cases[] = {
      {3, 2, 0, 0},   {3, 2, 1, 2},  // three into two: the middle one goes
      {4, 2, 0, 1},   {4, 2, 1, 3},  // halving keeps every second one
      {5, 5, 4, 4},                  // equal sizes keep all
      {1920, 1, 0, 960},
      {20000, 1146, 0, 8},           // a tall capture in a maximised preview
      {20000, 1146, 1145, 19991},
      {2147483647, 2, 1, 1610612735},  // the products are taken in 64 bits
  };
  for (const Case& c : cases) EXPECT_EQ(DroppedPick(c.from, c.to, c.t), c.picked) << c.from << "->" << c.to << " @" << c.t;
  // Never outside the source, and in order, at any ratio.
  for (int from = 1; from <= 60; ++from)
    for (int to = 1; to <= from; ++to) {
      int last = -1;
      for (int t = 0; t < to; ++t) {
        const int picked = DroppedPick(from, to, t);
        ASSERT_GT(picked, last) << from << "->" << to;
        ASSERT_LT(picked, from);
        last = picked;
      }
    }
}

TEST(Drop, ShowsSourcePixelsUnmixedFromAnyRowLayout) {
  // One-pixel stripes, a different colour in every column and row: each
  // target pixel is exactly the picked source pixel, nothing averaged.
  const int w = 7, h = 5;
  Picture from(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      from.At(x, y)[0] = static_cast<uint8_t>(x * 30);
      from.At(x, y)[1] = static_cast<uint8_t>(y * 50);
      from.At(x, y)[2] = static_cast<uint8_t>(x + y);
      from.At(x, y)[3] = 0xAB;
    }
  Picture to(3, 2);
  std::fill(to.bytes.begin(), to.bytes.end(), uint8_t{0xEE});
  ASSERT_TRUE(DropPixels(from.Rows(), to.Target()));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      const uint8_t* source = from.At(DroppedPick(w, 3, x), DroppedPick(h, 2, y));
      EXPECT_EQ(to.At(x, y)[0], source[0]) << x << "," << y;
      EXPECT_EQ(to.At(x, y)[1], source[1]);
      EXPECT_EQ(to.At(x, y)[2], source[2]);
      EXPECT_EQ(to.At(x, y)[3], 0);  // the unused byte is cleared, not copied
    }

  // The same picture as 24-bit rows padded to 4 bytes and stored bottom-up,
  // as a scroll capture holds it: the same pixels come out.
  const ptrdiff_t stride = (w * 3 + 3) / 4 * 4;
  std::vector<uint8_t> packed(static_cast<size_t>(stride) * h, 0x77);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) packed[(h - 1 - y) * stride + x * 3 + c] = from.At(x, y)[c];
  Picture got(3, 2);
  ASSERT_TRUE(DropPixels(PixelRows{packed.data() + (h - 1) * stride, w, h, -stride, 3}, got.Target()));
  EXPECT_EQ(got.bytes, to.bytes);

  // Refused untouched: a larger or empty target, another pixel size.
  Picture untouched(3, 2);
  EXPECT_FALSE(DropPixels(from.Rows(), Picture(8, 2).Target()));
  EXPECT_FALSE(DropPixels(from.Rows(), TargetRows{untouched.bytes.data(), 3, 0, 12}));
  EXPECT_FALSE(DropPixels(PixelRows{from.bytes.data(), w, h, w * 4, 2}, untouched.Target()));
  EXPECT_EQ(untouched.bytes, std::vector<uint8_t>(untouched.bytes.size(), 0));
}

TEST(Shrink, RowsOfThreeBytePixelsShrinkAsTheirFourByteForm) {
  // A 24-bit picture's rows, padded to 4 bytes, shrunk and copied without
  // being widened first.
  Picture wide(7, 9), expected(3, 4), got(3, 4), sameWide(7, 9), same(7, 9);
  const ptrdiff_t stride = (7 * 3 + 3) & ~3;
  std::vector<uint8_t> packed(static_cast<size_t>(stride) * 9, 0xEE);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 7; ++x)
      for (int c = 0; c < 3; ++c) {
        const auto value = static_cast<uint8_t>((y * 7 + x) * 29 + c * 71);
        wide.At(x, y)[c] = value;
        packed[static_cast<size_t>(y * stride + x * 3 + c)] = value;
      }
  const PixelRows three{packed.data(), 7, 9, stride, 3};
  ASSERT_TRUE(ShrinkPixels(wide.Rows(), expected.Target()));
  ASSERT_TRUE(ShrinkPixels(three, got.Target()));
  EXPECT_EQ(got.bytes, expected.bytes);
  ASSERT_TRUE(ShrinkPixels(wide.Rows(), sameWide.Target()));
  ASSERT_TRUE(ShrinkPixels(three, same.Target()));
  EXPECT_EQ(same.bytes, sameWide.bytes);
  EXPECT_FALSE(ShrinkPixels(PixelRows{packed.data(), 7, 9, stride, 2}, got.Target()));
}

}  // namespace
}  // namespace framlet
