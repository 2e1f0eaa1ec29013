// Region selection and window picker geometry: the selection rectangle, the
// panel beside the cursor, the rubber band's lines and the picker's repaint areas.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "windows/region_rules.h"

namespace framlet::region {
namespace {

TEST(RegionSelection, EitherDragDirectionGivesTheSameRectangle) {
  const Rect downRight = NormalizeRect(100, 50, 400, 300);
  EXPECT_EQ(downRight, (Rect{100, 50, 400, 300}));
  EXPECT_EQ(NormalizeRect(400, 300, 100, 50), downRight);
  EXPECT_EQ(NormalizeRect(400, 50, 100, 300), downRight);
  EXPECT_EQ(NormalizeRect(100, 300, 400, 50), downRight);
  // A click without a drag: nothing to capture.
  EXPECT_TRUE(NormalizeRect(7, 9, 7, 9).Empty());
  EXPECT_TRUE(NormalizeRect(7, 9, 20, 9).Empty());
}

TEST(RegionPanel, FollowsTheCursorAndFlipsNearTheEdges) {
  const Screens one{1, 1920, 1920, 1080};
  struct Case {
    const char* what;
    int x, y;
    Point expected;
  };
  // Panel 134 x 157, 20 pixels from the cursor.
  const Case cases[] = {
      {"middle: left of and below the cursor", 1000, 500, {846, 520}},
      {"last row with room below", 1000, 903, {846, 923}},
      {"one row lower: above the cursor", 1000, 904, {846, 727}},
      {"near the left edge: right of and above", 100, 500, {120, 323}},
      {"last column counted near the left edge", 153, 500, {173, 323}},
      {"first column not near the left edge", 154, 500, {0, 520}},
      {"near the left edge and the top: below", 100, 177, {120, 197}},
      {"one row lower: above", 100, 178, {120, 1}},
      {"top-left corner", 0, 0, {20, 20}},
  };
  for (const Case& c : cases) EXPECT_EQ(PanelPlace(c.x, c.y, kPanelWidth, kPanelHeight, one), c.expected) << c.what;
}

TEST(RegionPanel, SecondScreenToTheRightUsesItsOwnLeftEdgeRule) {
  // A 1024-wide primary with a 1280-wide screen to its right.
  const Screens two{2, 1024, 2304, 1080};
  // On the second screen "near the left edge" means x < 154 + 1280.
  EXPECT_EQ(PanelPlace(1100, 500, kPanelWidth, kPanelHeight, two), (Point{1120, 323}));
  EXPECT_EQ(PanelPlace(1300, 500, kPanelWidth, kPanelHeight, two), (Point{1320, 323}));  // not 154 + 1024
  EXPECT_EQ(PanelPlace(1434, 500, kPanelWidth, kPanelHeight, two), (Point{1280, 520}));
  // On the primary the ordinary threshold holds.
  EXPECT_EQ(PanelPlace(500, 500, kPanelWidth, kPanelHeight, two), (Point{346, 520}));
  // No monitor count reported: only the ordinary threshold.
  const Screens unknown{0, 1024, 2304, 1080};
  EXPECT_EQ(PanelPlace(1100, 500, kPanelWidth, kPanelHeight, unknown), (Point{946, 520}));
  // Near the bottom of the virtual screen the panel goes above.
  EXPECT_EQ(PanelPlace(2000, 1000, kPanelWidth, kPanelHeight, two), (Point{1846, 823}));
}

// Every pixel the four lines set, with how often; lines exclude their end point.
std::map<std::pair<int, int>, int> Rasterise(const std::array<Segment, 4>& segments) {
  std::map<std::pair<int, int>, int> hits;
  for (const Segment& s : segments) {
    const int dx = (s.x2 > s.x1) - (s.x2 < s.x1);
    const int dy = (s.y2 > s.y1) - (s.y2 < s.y1);
    EXPECT_TRUE(dx == 0 || dy == 0) << "lines are horizontal or vertical";
    for (int x = s.x1, y = s.y1; x != s.x2 || y != s.y2; x += dx, y += dy) ++hits[{x, y}];
  }
  return hits;
}

TEST(RegionBand, FourLinesToggleEveryBorderPixelExactlyOnce) {
  // A band from (10, 20) to (15, 24): the pixels of columns 10..14, rows 20..23.
  //   x: 10 11 12 13 14
  //   20  #  #  #  #  #
  //   21  #           #
  //   22  #           #
  //   23  #  #  #  #  #
  const auto segments = BandSegments(10, 20, 15, 24);
  EXPECT_EQ(segments[0], (Segment{10, 20, 15, 20}));
  EXPECT_EQ(segments[1], (Segment{14, 21, 14, 24}));
  EXPECT_EQ(segments[2], (Segment{13, 23, 10, 23}));
  EXPECT_EQ(segments[3], (Segment{10, 23, 10, 20}));
  const auto hits = Rasterise(segments);
  int border = 0;
  for (int y = 20; y < 24; ++y) {
    for (int x = 10; x < 15; ++x) {
      const bool onBorder = x == 10 || x == 14 || y == 20 || y == 23;
      const auto it = hits.find({x, y});
      if (onBorder) {
        ++border;
        ASSERT_NE(it, hits.end()) << x << "," << y;
        EXPECT_EQ(it->second, 1) << x << "," << y << ": drawn twice, an XOR pen would leave a hole";
      } else {
        EXPECT_EQ(it, hits.end()) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(hits.size(), static_cast<size_t>(border)) << "nothing outside the rectangle";
}

TEST(RegionPicker, OverlayCoversTheVirtualScreenWhenMonitorsAreReported) {
  EXPECT_EQ(OverlayRect({2, 1920, 3200, 1200}, 1080), (Rect{0, 0, 3200, 1200}));
  EXPECT_EQ(OverlayRect({0, 1920, 3200, 1200}, 1080), (Rect{0, 0, 1920, 1080}));
}

// Monitor layouts whose virtual screen does not start at the primary
// monitor's corner. The veil and the picker lie over all of it, and a point
// of their client area is the display point that far from its corner.
TEST(RegionOverlay, CoversMonitorsLeftOfAndAboveThePrimaryAndMapsClientPointsOntoThem) {
  struct Layout {
    const char* what;
    Screens screens;
    Rect overlay;
    Point client, display;
  };
  const Layout layouts[] = {
      // [laptop 1366x768][ primary 1920x1080 ], bottoms aligned.
      {"laptop left of the primary", {2, 1920, 3286, 1080, -1366, 0}, {-1366, 0, 1920, 1080}, {100, 700}, {-1266, 700}},
      // [ second 1920x1080 ] above [ primary 1920x1080 ].
      {"monitor above the primary", {2, 1920, 1920, 2160, 0, -1080}, {0, -1080, 1920, 1080}, {500, 40}, {500, -1040}},
      // A portrait monitor left of the primary, reaching higher than it.
      {"portrait monitor left and above",
       {2, 2560, 3640, 1920, -1080, -480},
       {-1080, -480, 2560, 1440},
       {0, 0},
       {-1080, -480}},
      {"primary alone", {1, 1920, 1920, 1080, 0, 0}, {0, 0, 1920, 1080}, {1919, 1079}, {1919, 1079}},
  };
  for (const Layout& l : layouts) {
    const Rect overlay = OverlayRect(l.screens, 1080);
    EXPECT_EQ(overlay, l.overlay) << l.what;
    EXPECT_EQ(ClientToDisplay(l.client, overlay), l.display) << l.what;
    EXPECT_EQ(DisplayToClient(l.display, overlay), l.client) << l.what;
    // The overlay's corner is its client origin; a window at the display's
    // origin (the primary's corner) is drawn that far into the overlay.
    EXPECT_EQ(DisplayToClient({overlay.left, overlay.top}, overlay), (Point{0, 0})) << l.what;
    EXPECT_EQ(DisplayRectToClient({0, 0, 300, 200}, overlay),
              (Rect{-overlay.left, -overlay.top, 300 - overlay.left, 200 - overlay.top}))
        << l.what;
  }
}

TEST(RegionPanel, StaysOnTheScreensWhenTheVirtualScreenReachesAboveThePrimary) {
  // A monitor above the primary: the virtual screen's bottom is the
  // primary's (1080), not its height (2160) counted from 0.
  const Screens above{2, 1920, 1920, 2160, 0, -1080};
  EXPECT_EQ(PanelPlace(1000, 1000, kPanelWidth, kPanelHeight, above), (Point{846, 823}));
  EXPECT_EQ(PanelPlace(1000, -1000, kPanelWidth, kPanelHeight, above), (Point{846, -980}));
}

TEST(RegionPicker, RepaintsOnlyWhatMoved) {
  const Rect window{100, 100, 400, 300};
  const Point cursor{150, 150};
  // First repaint: the outline and the cross, nothing to take away.
  const PickerChange first = PickerRepaint(false, {}, {}, window, cursor);
  ASSERT_EQ(first.count, 5);
  EXPECT_EQ(first.areas[4], (Rect{142, 142, 159, 159}));
  // Same window, same place: nothing at all.
  EXPECT_EQ(PickerRepaint(true, window, cursor, window, cursor).count, 0);
  // Cursor moved inside the same window: the old and new cross only.
  const PickerChange moved = PickerRepaint(true, window, cursor, window, {160, 150});
  ASSERT_EQ(moved.count, 2);
  EXPECT_EQ(moved.areas[0], CrossArea(150, 150));
  EXPECT_EQ(moved.areas[1], CrossArea(160, 150));
  // Onto another window: both outlines and both crosses.
  EXPECT_EQ(PickerRepaint(true, window, cursor, {500, 0, 700, 90}, {600, 50}).count, 10);
  // Off every window: the old outline goes, no new one comes.
  EXPECT_EQ(PickerRepaint(true, window, cursor, {}, {600, 50}).count, 4 + 2);
}

TEST(RegionPicker, OutlineStripsCoverTheWidePenButNotTheWindowsMiddle) {
  const auto strips = OutlineStrips({100, 100, 400, 300});
  // A 4-pixel pen on the left edge paints columns 98..101; the strip holds them.
  EXPECT_LE(strips[0].left, 98);
  EXPECT_GE(strips[0].right, 102);
  EXPECT_LE(strips[2].left, 398);
  EXPECT_GE(strips[2].right, 402);
  EXPECT_LE(strips[3].top, 98);
  EXPECT_GE(strips[1].bottom, 302);
  // The middle of the window is not repainted.
  for (const Rect& s : strips) {
    const bool holdsMiddle = s.left <= 250 && 250 < s.right && s.top <= 200 && 200 < s.bottom;
    EXPECT_FALSE(holdsMiddle);
  }
}

}  // namespace
}  // namespace framlet::region
