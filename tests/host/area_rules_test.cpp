// Area dialog: the numbers it opens with, which corners it accepts, the frame
// place OK gives, and how typed text is read.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "windows/area_rules.h"

namespace framlet::area {
namespace {

TEST(AreaOpen, ShowsTheHoleOfTheStoredFrame) {
  // No stored placement: the defaults 0, 0, 836, 721.
  EXPECT_EQ(HoleOfFrame(0, 0, 836, 721), (Hole{4, 121, 828, 577}));
  EXPECT_EQ(HoleOfFrame(96, 79, 648, 624), (Hole{100, 200, 640, 480}));
  // A frame left of the primary monitor.
  EXPECT_EQ(HoleOfFrame(-1500, -200, 533, 515), (Hole{-1496, -79, 525, 371}));
  // Extreme stored numbers do not wrap.
  const int maxInt = std::numeric_limits<int>::max();
  EXPECT_EQ(HoleOfFrame(maxInt, maxInt, 0, 0).x, int64_t{maxInt} + 4);
}

TEST(AreaCorner, AcceptedOnlyOnTheVirtualScreenWith30PixelsToSpare) {
  struct Case {
    const char* what;
    int64_t x, y;
    bool accepted;
  };
  // A 1920 x 1080 virtual screen.
  const Case cases[] = {
      {"origin", 0, 0, true},
      {"x = -1", -1, 100, false},
      {"y = -1", 100, -1, false},
      {"x = width - 30", 1890, 100, true},
      {"x = width - 29", 1891, 100, false},
      {"y = height - 30", 100, 1050, true},
      {"y = height - 29", 100, 1051, false},
      // In 32 bits x + 30 wraps negative and the corner would pass.
      {"x near the 32-bit limit", std::numeric_limits<int32_t>::max() - 10, 100, false},
      {"y near the 32-bit limit", 100, std::numeric_limits<int32_t>::max(), false},
      {"most negative x", std::numeric_limits<int32_t>::min(), 0, false},
  };
  for (const Case& c : cases) EXPECT_EQ(CornerAccepted(c.x, c.y, 1920, 1080), c.accepted) << c.what;
}

TEST(AreaOk, PutsTheFramesHoleOverTheTypedRectangle) {
  struct Case {
    const char* what;
    Hole typed;
    FramePlace frame;
  };
  const Case cases[] = {
      {"100, 200, 640 x 480", {100, 200, 640, 480}, {96, 79, 648, 624}},
      {"the default hole", {4, 121, 828, 577}, {0, 0, 836, 721}},
      {"corner at the origin", {0, 0, 800, 600}, {-4, -121, 808, 744}},
      {"smallest hole exactly", {10, 10, 212, 86}, {6, -111, 220, 230}},
      {"width one below the smallest", {10, 10, 211, 86}, {6, -111, 220, 230}},
      {"zero size raised", {10, 10, 0, 0}, {6, -111, 220, 230}},
      {"negative size raised", {10, 10, -500, -1}, {6, -111, 220, 230}},
      {"huge size kept to the largest frame", {10, 10, 2000000000, 2000000000}, {6, -111, 32767, 32767}},
  };
  for (const Case& c : cases) EXPECT_EQ(FrameForHole(c.typed), c.frame) << c.what;
}

TEST(AreaText, EditsAreReadAsLeadingDecimalNumbers) {
  struct Case {
    const char* text;
    int64_t value;
  };
  const Case cases[] = {
      {"100", 100},
      {"", 0},
      {"abc", 0},
      {"12px", 12},
      {" 42", 42},
      {"-1", -1},
      {"+7", 7},
      {"1,920", 1},  // no thousands separator is read
      {"-", 0},
      {"99999999999", std::numeric_limits<int32_t>::max()},
      {"-99999999999", std::numeric_limits<int32_t>::min()},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseNumber(c.text), c.value) << "[" << c.text << "]";
  EXPECT_EQ(NumberText(1920), "1920");
  EXPECT_EQ(NumberText(-4), "-4");
}

TEST(AreaSpins, UpperBoundIsTheWholeScreenExtent) {
  // A virtual screen wider than 32767 keeps a positive bound (a 16-bit range
  // would turn 40000 negative).
  EXPECT_EQ(SpinUpperBound(40000), 40000);
  EXPECT_EQ(SpinUpperBound(1920), 1920);
  EXPECT_EQ(SpinUpperBound(-5), 0);
}

}  // namespace
}  // namespace framlet::area
