#include "ui/hover_tip_rules.h"

namespace framlet::ui {

int HoverTipPictureId(int index) {
  if (index >= 0 && index <= 10) return 320 + index;
  if (index == 11) return 332;
  if (index == 12) return 333;
  return 0;
}

}  // namespace framlet::ui
