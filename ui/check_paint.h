#pragma once
#include <windows.h>
#include <commctrl.h>

namespace framlet::ui {

// The box of a check box or radio button at its 96-DPI size, 13 pixels, at
// every DPI: the layouts are in pixels, and a box that grew with the DPI would
// push the caption out of the control.
inline constexpr int kCheckBoxSize = 13;

// Draws a check box or radio button from its custom-draw notification
// (NM_CUSTOMDRAW, which a button sends its parent before it paints): the
// parent's background, the box at kCheckBoxSize, the caption half a digit to
// its right in the button's font, and the focus rectangle. Returns
// CDRF_SKIPDEFAULT when it drew the button, CDRF_DODEFAULT for anything else
// (other controls and stages, push-like buttons, text on the left).
LRESULT PaintCheckAtPixelSize(const NMCUSTOMDRAW& draw);

}  // namespace framlet::ui
