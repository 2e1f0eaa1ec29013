#include "capture/window_bounds_rules.h"

#include <gtest/gtest.h>

using framlet::window_bounds::CropInPrint;
using framlet::window_bounds::Rect;
using framlet::window_bounds::VisibleBounds;

namespace {

// A 900 x 600 window at (100, 50) as the system gives it, and what of it shows.
struct Case {
  const char* situation;
  Rect window;
  bool haveFrameBounds;
  Rect frameBounds;
  Rect visible;  // on the screen
  Rect crop;     // in the printed picture of the whole window rectangle
};

TEST(WindowBounds, TheCompositorsFrameBoundsWithinTheWindowElseTheWindowRectangle) {
  const Rect window = {100, 50, 1000, 650};
  const Case cases[] = {
      // +--------------------+  window rectangle
      // |##|            |##|    7-pixel invisible resize border left, right, bottom
      // |##+------------+##|
      // +------------------+
      {"invisible border on three sides", window, true, {107, 50, 993, 643}, {107, 50, 993, 643}, {7, 0, 893, 593}},
      {"no compositor: the window rectangle", window, false, {}, window, {0, 0, 900, 600}},
      {"a window without invisible border", window, true, window, window, {0, 0, 900, 600}},
      {"bounds reaching out of the window are cut to it", window, true, {90, 40, 993, 700}, {100, 50, 993, 650},
       {0, 0, 893, 600}},
      {"bounds elsewhere are not the window's", window, true, {2000, 50, 2100, 650}, window, {0, 0, 900, 600}},
      {"empty bounds are not the window's", window, true, {107, 50, 107, 643}, window, {0, 0, 900, 600}},
      // Maximised on a 1920 x 1080 monitor with a 40-pixel taskbar.
      {"maximised", {-8, -8, 1928, 1048}, true, {0, 0, 1920, 1040}, {0, 0, 1920, 1040}, {8, 8, 1928, 1048}},
      {"on a monitor left of the primary one", {-1287, 100, -393, 700}, true, {-1280, 100, -400, 693},
       {-1280, 100, -400, 693}, {7, 0, 887, 593}},
  };
  for (const Case& c : cases) {
    const Rect visible = VisibleBounds(c.window, c.haveFrameBounds, c.frameBounds);
    EXPECT_EQ(visible, c.visible) << c.situation;
    EXPECT_EQ(CropInPrint(c.window, visible), c.crop) << c.situation;
  }
}

}  // namespace
