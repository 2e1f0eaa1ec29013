// Magnifier: the screen area it enlarges around the cursor, the part that can
// be read from the screen, its own window in that area, and the zoom mapping.
#include <gtest/gtest.h>

#include "windows/magnifier_rules.h"

namespace framlet::magnifier {
namespace {

TEST(MagnifierSource, ThirtyEightByFortyAroundTheCursorWithItsClamps) {
  struct Case {
    const char* what;
    int x, y;
    Area expected;
  };
  // The panel's 116 x 120 magnifier at zoom 3 on a 1920 x 1080 primary screen.
  const Case cases[] = {
      {"middle: cursor in the centre", 500, 400, {481, 380, 38, 40}},
      {"top-left corner: starts at the origin", 5, 5, {0, 0, 38, 40}},
      {"top edge only", 500, 3, {481, 0, 38, 40}},
      {"bottom of the primary: ends at its edge", 700, 1075, {681, 1040, 38, 40}},
      {"last row without the clamp", 700, 1060, {681, 1040, 38, 40}},
      {"right edge: runs past it", 1915, 400, {1896, 380, 38, 40}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SourceArea(c.x, c.y, kClientWidth, kClientHeight, kZoom, 1080), c.expected) << c.what;
}

TEST(MagnifierSource, OnlyThePartOnTheScreenIsRead) {
  const Area screen{0, 0, 1920, 1080};
  // Past the right edge: the left 24 columns are read, the rest stays black.
  const Copy right = ClipToScreen({1896, 380, 38, 40}, screen);
  ASSERT_TRUE(right.any);
  EXPECT_EQ(right.destX, 0);
  EXPECT_EQ(right.screen, (Area{1896, 380, 24, 40}));
  // Wholly inside: all of it.
  const Copy inside = ClipToScreen({481, 380, 38, 40}, screen);
  EXPECT_EQ(inside.screen, (Area{481, 380, 38, 40}));
  // A screen left of the primary makes the virtual screen start below zero.
  const Copy left = ClipToScreen({-10, 380, 38, 40}, {0, 0, 1920, 1080});
  EXPECT_EQ(left.destX, 10);
  EXPECT_EQ(left.screen, (Area{0, 380, 28, 40}));
  EXPECT_FALSE(ClipToScreen({2000, 0, 38, 40}, screen).any);
}

TEST(MagnifierSource, OwnWindowIsCoveredWhereItLiesInTheSource) {
  // The magnifier at (530, 410) on screen, the source from (481, 380).
  EXPECT_EQ(SelfCover({530, 410, 116, 120}, {481, 380, 38, 40}), (Area{49, 30, 116, 120}));
}

TEST(MagnifierZoom, ClientPixelsShowTheirSourcePixel) {
  const Area source{481, 380, 38, 40};
  // 116 columns over 38: about three each; the last column shows the last pixel.
  EXPECT_EQ(ClientToSource(0, 0, kClientWidth, kClientHeight, source).x, 0);
  EXPECT_EQ(ClientToSource(2, 2, kClientWidth, kClientHeight, source).x, 0);
  EXPECT_EQ(ClientToSource(61, 63, kClientWidth, kClientHeight, source).x, 19);
  EXPECT_EQ(ClientToSource(61, 63, kClientWidth, kClientHeight, source).y, 21);
  EXPECT_EQ(ClientToSource(115, 119, kClientWidth, kClientHeight, source).x, 37);
  EXPECT_EQ(ClientToSource(115, 119, kClientWidth, kClientHeight, source).y, 39);
}

}  // namespace
}  // namespace framlet::magnifier
