#pragma once

// Which picture the hover tip shows for a picture index.
namespace framlet::ui {

// 0-10 give pictures 320-330, 11 gives 332 and 12 gives 333; any other index
// gives 0, meaning "keep the current picture".
int HoverTipPictureId(int index);

}  // namespace framlet::ui
