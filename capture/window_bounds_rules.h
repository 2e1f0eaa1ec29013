#pragma once
#include "core/rect.h"

// Where a window shows on the screen, and which part of its printed picture
// that is. Since desktop composition, a top-level window's rectangle takes in
// an invisible resize border (about 7 pixels left, right and bottom) and a
// maximised window starts 8 pixels off its monitor: what the user sees is the
// window's extended frame bounds, which only the compositor gives.
namespace framlet::window_bounds {

using Rect = framlet::Rect;

// What the window shows: the frame bounds where the compositor gave them
// (`haveFrameBounds`), kept within the window rectangle, which holds all the
// window draws; else the window rectangle. Frame bounds that share no pixel
// with the window rectangle are not the window's and are ignored.
Rect VisibleBounds(const Rect& windowRect, bool haveFrameBounds, const Rect& frameBounds);

// The part of a picture of the whole window rectangle (what the print call
// draws, origin at the window's top-left) that shows `bounds`.
Rect CropInPrint(const Rect& windowRect, const Rect& bounds);

}  // namespace framlet::window_bounds
