#include "app/frame_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/command_ids.h"

using namespace framlet::frame;

namespace {

// A default-size frame: client 0,0 - 836,721.
const Rect kClient = {0, 0, 836, 721};

TEST(FrameHitZone, BandsAndTheirStrictEdges) {
  struct Case {
    int x, y;
    Zone zone;
  } cases[] = {
      // Right band: strictly greater than right-15.
      {836 - 15, 360, Zone::Caption},
      {836 - 14, 360, Zone::Right},
      {835, 360, Zone::Right},
      // Left band: strictly less than left+15.
      {14, 360, Zone::Left},
      {15, 360, Zone::Caption},
      // Top band is 5 pixels between the corners.
      {400, 4, Zone::Top},
      {400, 5, Zone::Caption},
      {400, 0, Zone::Top},
      // Bottom band 15 pixels.
      {400, 721 - 15, Zone::Caption},
      {400, 721 - 14, Zone::Bottom},
      // Corners use the 15-pixel band on both axes, also on top.
      {0, 0, Zone::TopLeft},
      {14, 14, Zone::TopLeft},
      {14, 15, Zone::Left},
      {835, 14, Zone::TopRight},
      {835, 15, Zone::Right},
      {0, 720, Zone::BottomLeft},
      {835, 720, Zone::BottomRight},
      {822, 707, Zone::BottomRight},
      {821, 707, Zone::Bottom},
      // The middle of the top band (toolbars) moves the frame.
      {400, 60, Zone::Caption},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HitZone(c.x, c.y, kClient, false), c.zone) << "at " << c.x << "," << c.y;
  }
}

TEST(FrameHitZone, MaximisedFrameNeitherMovesNorResizes) {
  for (const auto& p : {std::pair{0, 0}, {400, 2}, {835, 720}, {400, 360}})
    EXPECT_EQ(HitZone(p.first, p.second, kClient, true), Zone::Client);
}

TEST(FrameWidthRules, ThresholdsOnEitherSide) {
  struct Case {
    int w;
    bool label, help, options;
    int areaX;
  } cases[] = {
      {229, false, false, false, 6}, {230, true, false, false, 6}, {234, true, false, false, 6},
      {235, true, true, false, 6},   {264, true, true, false, 6},  {265, true, true, false, 240},
      {269, true, true, false, 240}, {270, true, true, true, 240}, {836, true, true, true, 240},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CoordLabelShown(c.w), c.label) << c.w;
    EXPECT_EQ(HelpButtonShown(c.w), c.help) << c.w;
    EXPECT_EQ(OptionsButtonShown(c.w), c.options) << c.w;
    EXPECT_EQ(AreaButtonX(c.w), c.areaX) << c.w;
  }
  EXPECT_FALSE(WebAddressShown(399));
  EXPECT_TRUE(WebAddressShown(400));
}

Place PlaceOf(const std::vector<ControlPlace>& places, int id) {
  auto it = std::find_if(places.begin(), places.end(), [id](const ControlPlace& p) { return p.id == id; });
  EXPECT_NE(it, places.end()) << "no place for " << id;
  return it == places.end() ? Place{} : it->place;
}

TEST(FrameControlPlaces, DefaultSizeInBothModes) {
  const auto web = ControlPlaces(836, 721, false);
  const auto normal = ControlPlaces(836, 721, true);
  struct Case {
    int id;
    Place web, normal;
  } cases[] = {
      {IDC_LOGO, {5, 0, 102, 24}, {5, 0, 102, 24}},
      {IDC_OPTIONS_MENU, {676, 5, 33, 18}, {676, 5, 33, 18}},
      {IDC_HELP_PAGE, {711, 5, 42, 18}, {711, 5, 42, 18}},
      {IDC_ALWAYS_TOP, {758, 6, 16, 16}, {758, 6, 16, 16}},
      {IDC_MINIMIZE, {775, 6, 16, 16}, {775, 6, 16, 16}},
      {IDC_MAXIMIZE, {792, 6, 16, 16}, {792, 6, 16, 16}},
      {IDC_RESTORE, {792, 6, 16, 16}, {792, 6, 16, 16}},
      {IDC_CLOSE_TO_TRAY, {809, 6, 16, 16}, {809, 6, 16, 16}},
      {IDC_HOME_PAGE, {10, 95, 20, 20}, {10, 95, 20, 20}},
      {IDC_BACK, {35, 92, 25, 25}, {35, 92, 25, 25}},
      {IDC_FORWARD, {60, 92, 25, 25}, {60, 92, 25, 25}},
      // The address box and GO share the row with the tab strip in web mode.
      {IDC_ADDRESS, {90, 93, 301, 22}, {90, 93, 604, 22}},
      {IDC_GO, {396, 93, 22, 22}, {699, 93, 22, 22}},
      {IDC_TO_NORMAL_MODE, {726, 93, 100, 23}, {726, 93, 100, 23}},
      {IDC_TO_WEB_MODE, {726, 93, 100, 23}, {726, 93, 100, 23}},
      // Stop buttons in the middle of the hole: (828/2-35, 577/2+65).
      {IDC_STOP_SCROLL, {379, 353, 70, 70}, {379, 353, 70, 70}},
      {IDC_STOP_CONTINUOUS, {379, 353, 70, 70}, {379, 353, 70, 70}},
      {IDC_COORD_LABEL, {20, 704, 220, 12}, {20, 704, 220, 12}},
      {IDC_AREA_DIALOG, {240, 704, 11, 11}, {240, 704, 11, 11}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlaceOf(web, c.id), c.web) << "web " << c.id;
    EXPECT_EQ(PlaceOf(normal, c.id), c.normal) << "normal " << c.id;
  }
  EXPECT_EQ(web.size(), std::size(cases));
}

TEST(FrameControlPlaces, NarrowFrameMovesTheAreaButtonToTheLeft) {
  EXPECT_EQ(PlaceOf(ControlPlaces(264, 300, true), IDC_AREA_DIALOG), (Place{6, 283, 11, 11}));
  EXPECT_EQ(PlaceOf(ControlPlaces(265, 300, true), IDC_AREA_DIALOG), (Place{240, 283, 11, 11}));
}

TEST(FrameChildren, ToolbarsTabStripBrowser) {
  EXPECT_EQ(ToolbarPlace(836), (Place{4, 28, 828, 60}));
  EXPECT_EQ(TabStripPlace(836), (Place{418, 90, 298, 29}));
  EXPECT_EQ(TabStripPlace(533), (Place{266, 90, 146, 29}));
  EXPECT_EQ(BrowserPlace(836, 721), (Place{4, 121, 828, 577}));
}

TEST(FrameCaptureRect, HoleFromTheStoredRectangle) {
  EXPECT_EQ(CaptureRect(0, 0, 836, 721), (Rect{4, 121, 832, 698}));
  EXPECT_EQ(CaptureRect(-1200, 50, 533, 515), (Rect{-1196, 171, -671, 542}));
}

TEST(FrameStartupSize, SmallSavedSizesAreRaised) {
  struct Case {
    int w, h;
    Size expected;
  } cases[] = {
      {524, 463, {533, 515}},  // both just below the limits
      {525, 464, {525, 464}},  // at the limits: kept
      {220, 230, {533, 515}},  // the smallest dragged size
      {0, 0, {533, 515}},      // emptied by the options dialog
      {524, 900, {533, 900}}, {1000, 463, {1000, 515}},
  };
  for (const auto& c : cases) EXPECT_EQ(RaiseRestoredSize(c.w, c.h), c.expected) << c.w << "x" << c.h;
}

TEST(FrameStartupSize, CentredPlace) {
  EXPECT_EQ(CentredPlace(1920, 1080), (Place{542, 180, 836, 721}));
  EXPECT_EQ(CentredPlace(1600, 1200), (Place{382, 240, 836, 721}));
}

TEST(FrameCoordLabel, HoleScreenPlaceAndSize) {
  EXPECT_EQ(CoordLabelText(0, 0, 836, 721), "img Size | X:4 Y:121 | W:828 H:577");
  EXPECT_EQ(CoordLabelText(100, 50, 230, 300), "img Size | X:104 Y:171 | W:222 H:156");
  EXPECT_EQ(CoordLabelText(-1920, -5, 533, 515), "img Size | X:-1916 Y:116 | W:525 H:371");
}

TEST(FrameMaximize, TaskbarOnEachEdgeOfA1920x1080Screen) {
  struct Case {
    const char* name;
    Rect taskbar;
    Edge edge;
    Place expected;
  } cases[] = {
      {"top, 40 high", {0, 0, 1920, 40}, Edge::Top, {0, 40, 1920, 1040}},
      {"bottom, 40 high", {0, 1040, 1920, 1080}, Edge::Bottom, {0, 0, 1920, 1040}},
      {"left, 62 wide", {0, 0, 62, 1080}, Edge::Left, {62, 0, 1858, 1080}},
      {"right, 62 wide", {1858, 0, 1920, 1080}, Edge::Right, {0, 0, 1858, 1080}},
      {"no taskbar", {0, 0, 0, 0}, Edge::Bottom, {0, 0, 1920, 1080}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MaximizedPlace(1920, 1080, c.taskbar, c.edge, 1, 100, 836), c.expected) << c.name;
}

TEST(FrameMaximize, SecondMonitorRule) {
  const Rect taskbar = {0, 1040, 1920, 1080};
  // Centre right of the primary screen: the monitor to the right, taken as large as the primary.
  EXPECT_EQ(MaximizedPlace(1920, 1080, taskbar, Edge::Bottom, 2, 1600, 836), (Place{1920, 0, 1920, 1080}));
  // Centre exactly on the primary's right edge is still the primary.
  EXPECT_EQ(MaximizedPlace(1920, 1080, taskbar, Edge::Bottom, 2, 1920 - 418, 836), (Place{0, 0, 1920, 1040}));
  EXPECT_EQ(MaximizedPlace(1920, 1080, taskbar, Edge::Bottom, 2, 1920 - 417, 836), (Place{1920, 0, 1920, 1080}));
  // A frame on a monitor left of the primary (negative x) stays on the primary.
  EXPECT_EQ(MaximizedPlace(1920, 1080, taskbar, Edge::Bottom, 2, -1500, 836), (Place{0, 0, 1920, 1040}));
}

TEST(FrameNudge, ArrowsMoveShiftArrowsResize) {
  const Place stored = {100, 200, 836, 721};
  struct Case {
    Nudge key;
    bool shift;
    Place expected;
  } cases[] = {
      {Nudge::Left, false, {99, 200, 836, 721}}, {Nudge::Right, false, {101, 200, 836, 721}},
      {Nudge::Up, false, {100, 199, 836, 721}},  {Nudge::Down, false, {100, 201, 836, 721}},
      {Nudge::Left, true, {100, 200, 835, 721}}, {Nudge::Right, true, {100, 200, 837, 721}},
      {Nudge::Up, true, {100, 200, 836, 720}},   {Nudge::Down, true, {100, 200, 836, 722}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NudgedPlace(stored, c.key, c.shift), c.expected) << static_cast<int>(c.key) << " shift " << c.shift;
}

TEST(FrameHoverTips, AreaButtonAndAlwaysOnTop) {
  // Default frame at 100, 50.
  const Rect wide = {100, 50, 936, 771};
  EXPECT_EQ(AreaButtonTip(wide).pictureIndex, 12);
  EXPECT_EQ(AreaButtonTip(wide).place, (Place{313, 697, 360, 51}));
  EXPECT_EQ(AlwaysTopTip(wide).pictureIndex, 11);
  EXPECT_EQ(AlwaysTopTip(wide).place, (Place{540, 70, 360, 51}));
  // 264 wide: the tip starts at the frame's left edge; 265 wide: at +213.
  EXPECT_EQ(AreaButtonTip({100, 50, 364, 571}).place.x, 104);
  EXPECT_EQ(AreaButtonTip({100, 50, 365, 571}).place.x, 313);
}

}  // namespace
