#include "capture/window_bounds_rules.h"

#include <algorithm>

namespace framlet::window_bounds {

Rect VisibleBounds(const Rect& windowRect, bool haveFrameBounds, const Rect& frameBounds) {
  if (!haveFrameBounds) return windowRect;
  const Rect inside = {std::max(windowRect.left, frameBounds.left), std::max(windowRect.top, frameBounds.top),
                       std::min(windowRect.right, frameBounds.right), std::min(windowRect.bottom, frameBounds.bottom)};
  return inside.Empty() ? windowRect : inside;
}

Rect CropInPrint(const Rect& windowRect, const Rect& bounds) {
  const Rect shown = VisibleBounds(windowRect, true, bounds);
  return {shown.left - windowRect.left, shown.top - windowRect.top, shown.right - windowRect.left,
          shown.bottom - windowRect.top};
}

}  // namespace framlet::window_bounds
