#include "ui/hover_tip_rules.h"

#include <gtest/gtest.h>

TEST(HoverTipPicture, IndexToPicture) {
  struct Case {
    int index, picture;
  } cases[] = {
      {0, 320},  {5, 325},  {10, 330},  // the toolbar tips
      {11, 332}, {12, 333},             // the frame's own buttons; 331 is skipped
      {13, 0},   {-1, 0},   {100, 0},   // anything else keeps the current picture
  };
  for (const auto& c : cases) EXPECT_EQ(framlet::ui::HoverTipPictureId(c.index), c.picture) << c.index;
}
