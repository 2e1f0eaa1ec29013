// The preview window and the actual-size viewer: where they open for pictures
// of realistic sizes, how the picture is fitted, where the buttons follow the
// client size, the drag zones at their borders and the viewer's scrolling.
#include <gtest/gtest.h>

#include <cstdint>

#include "windows/preview_rules.h"

namespace framlet::preview {
namespace {

TEST(PreviewPlacement, OpensAroundThePictureAndKeepsItsMinimumOnTheScreen) {
  struct Case {
    const char* situation;
    int64_t imageWidth, imageHeight;
    int screenWidth, screenHeight;
    Box first;   // before the minimum
    Box opened;  // after it
  };
  const Case cases[] = {
      {"100 x 100 on 1920 x 1080: 300 x 300 grows to the minimum, centred",
       100,
       100,
       1920,
       1080,
       {810, 390, 300, 300},
       {690, 295, 540, 490}},
      {"a mid-size capture fits and keeps its size", 700, 500, 1920, 1080, {510, 190, 900, 700}, {510, 190, 900, 700}},
      {"width plus 200 equal to the screen: 50 from the edge, screen less 100",
       1720,
       300,
       1920,
       1080,
       {50, 290, 1820, 500},
       {50, 290, 1820, 500}},
      {"one pixel less fits: centred", 1719, 300, 1920, 1080, {1, 290, 1919, 500}, {1, 290, 1919, 500}},
      {"full-screen grab: both axes capped", 1920, 1080, 1920, 1080, {50, 50, 1820, 980}, {50, 50, 1820, 980}},
      {"tall narrow strip: only the short side grows", 20, 5000, 1280, 1024, {530, 50, 220, 924}, {370, 50, 540, 924}},
      {"a size near the 32-bit limit does not wrap into a small window",
       INT32_MAX,
       INT32_MAX,
       1920,
       1080,
       {50, 50, 1820, 980},
       {50, 50, 1820, 980}},
  };
  for (const Case& c : cases) {
    const Box first = FirstPlacement(c.imageWidth, c.imageHeight, c.screenWidth, c.screenHeight);
    EXPECT_EQ(first, c.first) << c.situation;
    // Borderless: the client area is the window.
    EXPECT_EQ(EnforceMinimum(first, first.width, first.height, c.screenWidth, c.screenHeight), c.opened) << c.situation;
  }
}

TEST(PreviewPicture, SizesThatCanBeCopiedAndShown) {
  EXPECT_TRUE(PictureSizeAcceptable(1, 1));
  EXPECT_TRUE(PictureSizeAcceptable(1920, 1080));
  EXPECT_TRUE(PictureSizeAcceptable(16384, 16384));  // 1 GiB of pixels
  EXPECT_FALSE(PictureSizeAcceptable(0, 100)) << "no picture";
  EXPECT_FALSE(PictureSizeAcceptable(100, -1));
  EXPECT_FALSE(PictureSizeAcceptable(32768, 16384)) << "2 GiB exactly is one byte too many";
  EXPECT_FALSE(PictureSizeAcceptable(INT64_MAX, INT64_MAX)) << "must not wrap to a small product";
  EXPECT_FALSE(PictureSizeAcceptable(INT64_C(1) << 33, 1));
  EXPECT_EQ(SizeLabelText(828, 577), L"파일정보 828 X 577");
}

TEST(PreviewLayout, ButtonsFollowTheRightEdgeAndTheTilesEnd) {
  // The smallest window: tiles stop at 400 (columns 0..380) and 420 (rows 0..400).
  const PreviewLayout small = LayOutPreview(540, 490);
  EXPECT_EQ(PreviewTileEnds(540, 490).x, 400);
  EXPECT_EQ(PreviewTileEnds(540, 490).y, 420);
  EXPECT_EQ(small.maximize, (Box{499, 5, 16, 16}));
  EXPECT_EQ(small.close, (Box{515, 5, 16, 16}));
  EXPECT_EQ(small.save, (Box{420, 38, 112, 34}));
  EXPECT_EQ(small.print, (Box{420, 155, 112, 31}));
  EXPECT_EQ(small.copyNotice, (Box{420, 208, 112, 56}));
  EXPECT_EQ(small.sizeLabel, (Box{10, 467, 133, 12}));
  EXPECT_EQ(small.lowerClose, (Box{420, 427, 112, 31}));
  EXPECT_EQ(small.actualSize, (Box{312, 463, 98, 17}));

  // A bound one past a multiple of the step draws one more column and row.
  EXPECT_EQ(PreviewTileEnds(551, 501).x, 420);
  EXPECT_EQ(PreviewTileEnds(551, 501).y, 440);
  EXPECT_EQ(PreviewTileEnds(550, 500).x, 400);
  // No room: nothing drawn, both ends 0.
  EXPECT_EQ(PreviewTileEnds(150, 80).x, 0);
  EXPECT_EQ(PreviewTileEnds(100, 10).y, 0);
}

TEST(PreviewFit, PicturesAreFittedNeverEnlargedAndCappedOneSideAtATime) {
  struct Case {
    const char* situation;
    int imageWidth, imageHeight, w, h;
    Box drawn;
  };
  const Case cases[] = {
      {"tall picture fitted to the height, then cut to h - 150: squeezed", 600, 1000, 800, 700, {154, 65, 372, 550}},
      {"small picture at its own size, centred on ((w-180)/2+30, (h-80)/2+30)",
       300,
       200,
       800,
       700,
       {190, 240, 300, 200}},
      {"wide picture fitted exactly to w - 180, not a pixel short", 2000, 1000, 1000, 700, {30, 135, 820, 410}},
      {"square picture in the smallest window: tiles cap the width, h - 150 the height",
       1000,
       1000,
       540,
       490,
       {15, 65, 390, 340}},
      {"square picture in a tall narrow window: width capped, height cut", 1000, 1000, 540, 900, {15, 65, 390, 750}},
      {"picture of exactly the free size is not enlarged, only cut", 360, 410, 540, 490, {30, 65, 360, 340}},
      {"only the height would grow: the whole picture at its own size undoes the tiles' width cap, then cut",
       400,
       405,
       540,
       490,
       {10, 65, 400, 340}},
  };
  for (const Case& c : cases) EXPECT_EQ(FitPicture(c.imageWidth, c.imageHeight, c.w, c.h), c.drawn) << c.situation;

  EXPECT_EQ(FitPicture(0, 0, 800, 700), Box{}) << "no picture: nothing drawn";
  EXPECT_EQ(FitPicture(100, 100, 180, 80), Box{}) << "no free area: nothing drawn, no division by zero";
}

TEST(DragZones, BordersCornersAndTheMoveSurface) {
  // Client 0,0 - 540,490 as the window sees it.
  struct Case {
    int x, y;
    Zone zone;
  };
  const Case cases[] = {
      {270, 200, Zone::Move},    {270, 4, Zone::Top},           {270, 5, Zone::Move},
      {270, 476, Zone::Bottom},  {270, 475, Zone::Move},        {14, 200, Zone::Left},
      {15, 200, Zone::Move},     {526, 200, Zone::Right},       {525, 200, Zone::Move},
      {3, 3, Zone::TopLeft},     {3, 14, Zone::TopLeft},        {3, 15, Zone::Left},
      {536, 10, Zone::TopRight}, {536, 480, Zone::BottomRight}, {2, 480, Zone::BottomLeft},
      {100, 10, Zone::Move},  // the top edge is only 5 pixels away from the corners
  };
  for (const Case& c : cases)
    EXPECT_EQ(DragZone(false, 0, 0, 540, 490, c.x, c.y), c.zone) << "(" << c.x << ", " << c.y << ")";
  for (const Case& c : cases)
    EXPECT_EQ(DragZone(true, 0, 0, 540, 490, c.x, c.y), Zone::None) << "maximized: (" << c.x << ", " << c.y << ")";
}

TEST(ViewerScrolling, RangesPositionsWheelAndCentring) {
  // The default viewer: its view is 792 x 618.
  const ViewerLayout layout = LayOutViewer(kViewerWidth, kViewerHeight);
  EXPECT_EQ(layout.view, (Box{4, 28, 792, 618}));
  EXPECT_EQ(layout.close, (Box{775, 5, 16, 16}));

  // A small picture: no bars, centred.
  EXPECT_FALSE(NeedsBar(792, 300));
  EXPECT_EQ(ScrollMaximum(792, 300), -1);
  EXPECT_EQ(PictureOrigin(300, 200, 792, 618).x, 246);
  EXPECT_EQ(PictureOrigin(300, 200, 792, 618).y, 209);
  // Exactly the view's size needs no bar and starts at 0.
  EXPECT_FALSE(NeedsBar(792, 792));
  EXPECT_EQ(PictureOrigin(792, 618, 792, 618).x, 0);

  // A 2000 x 1500 picture in a view whose bars took 16 pixels each.
  const int cw = 776, ch = 602;
  const int maxX = ScrollMaximum(cw, 2000), maxY = ScrollMaximum(ch, 1500);
  EXPECT_EQ(maxX, 1224) << "at the end the picture's right edge meets the view's";
  EXPECT_EQ(maxY, 898);
  EXPECT_EQ(PictureOrigin(2000, 1500, cw, ch).x, 0);

  struct Step {
    ScrollRequest request;
    bool horizontal;
    int from, track, to;
  };
  const Step steps[] = {
      {ScrollRequest::PageForward, true, 0, 0, 20},     {ScrollRequest::PageForward, false, 0, 0, 100},
      {ScrollRequest::PageBack, true, 10, 0, 0},        {ScrollRequest::PageBack, false, 150, 0, 50},
      {ScrollRequest::LineForward, true, 5, 0, 6},      {ScrollRequest::LineBack, false, 0, 0, 0},
      {ScrollRequest::ToEnd, true, 3, 0, 1224},         {ScrollRequest::ToEnd, false, 3, 0, 898},
      {ScrollRequest::ToStart, true, 700, 0, 0},        {ScrollRequest::Track, true, 0, 611, 611},
      {ScrollRequest::Track, false, 0, 5000, 898},      {ScrollRequest::EndScroll, false, 444, 0, 444},
      {ScrollRequest::PageForward, false, 850, 0, 898}, {ScrollRequest::LineForward, true, 1224, 0, 1224},
  };
  for (const Step& s : steps) {
    const int maximum = s.horizontal ? maxX : maxY;
    EXPECT_EQ(NextScrollPosition(s.request, s.horizontal, s.from, maximum, s.track), s.to)
        << static_cast<int>(s.request) << (s.horizontal ? " horizontal" : " vertical") << " from " << s.from;
  }

  // The wheel: down 100 towards the user, up 100 away (0 from 100 or less), clamped.
  EXPECT_EQ(WheelScrollPosition(-120, 0, maxY, 1500, ch), 100);
  EXPECT_EQ(WheelScrollPosition(0, 0, maxY, 1500, ch), 100);
  EXPECT_EQ(WheelScrollPosition(120, 250, maxY, 1500, ch), 150);
  EXPECT_EQ(WheelScrollPosition(120, 100, maxY, 1500, ch), 0);
  EXPECT_EQ(WheelScrollPosition(-120, 850, maxY, 1500, ch), 898);
  // A picture wider but not taller than the view: the wheel does nothing.
  EXPECT_EQ(WheelScrollPosition(-120, 0, -1, 500, ch), 0);
  EXPECT_EQ(WheelScrollPosition(-120, 0, -1, ch, ch), 0);
}

}  // namespace
}  // namespace framlet::preview
