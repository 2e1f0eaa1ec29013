#include "windows/region_rules.h"

#include <algorithm>

namespace framlet::region {

Rect NormalizeRect(int x1, int y1, int x2, int y2) {
  return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

Point PanelPlace(int x, int y, int w, int h, const Screens& s) {
  // Past the primary monitor the left edge is the one of the screens to its
  // right: the panel flips there too.
  const bool nearLeft = (s.monitorCount == 0 || x < s.primaryWidth)
                            ? x < w + kPanelGap
                            : x < w + kPanelGap + (s.virtualWidth - s.primaryWidth);
  const int bottom = s.virtualTop + s.virtualHeight;
  if (nearLeft) return {x + kPanelGap, y > h + kPanelGap ? y - h - kPanelGap : y + kPanelGap};
  return {x - w - kPanelGap, y <= bottom - h - kPanelGap ? y + kPanelGap : y - h - kPanelGap};
}

std::array<Segment, 4> BandSegments(int x1, int y1, int x2, int y2) {
  return {{{x1, y1, x2, y1}, {x2 - 1, y1 + 1, x2 - 1, y2}, {x2 - 2, y2 - 1, x1, y2 - 1}, {x1, y2 - 1, x1, y1}}};
}

Rect OverlayRect(const Screens& s, int primaryHeight) {
  if (s.monitorCount > 0)
    return {s.virtualLeft, s.virtualTop, s.virtualLeft + s.virtualWidth, s.virtualTop + s.virtualHeight};
  return {0, 0, s.primaryWidth, primaryHeight};
}

Point ClientToDisplay(Point client, const Rect& overlay) {
  return {client.x + overlay.left, client.y + overlay.top};
}

Point DisplayToClient(Point display, const Rect& overlay) {
  return {display.x - overlay.left, display.y - overlay.top};
}

Rect DisplayRectToClient(const Rect& display, const Rect& overlay) {
  return {display.left - overlay.left, display.top - overlay.top, display.right - overlay.left,
          display.bottom - overlay.top};
}

Rect CrossArea(int x, int y) {
  return {x - kCrossOffset, y - kCrossOffset, x - kCrossOffset + kCrossSize, y - kCrossOffset + kCrossSize};
}

std::array<Rect, 4> OutlineStrips(const Rect& w) {
  if (w.right <= w.left && w.bottom <= w.top) return {};
  const int reach = kOutlinePenWidth / 2 + 1;
  return {{{w.left - reach, w.top - reach, w.left + reach, w.bottom + reach},
           {w.left - reach, w.bottom - reach, w.right + reach, w.bottom + reach},
           {w.right - reach, w.top - reach, w.right + reach, w.bottom + reach},
           {w.left - reach, w.top - reach, w.right + reach, w.top + reach}}};
}

PickerChange PickerRepaint(bool hadOld, const Rect& oldWindow, Point oldCursor, const Rect& newWindow,
                           Point newCursor) {
  PickerChange change;
  auto add = [&change](const Rect& r) {
    if (!r.Empty()) change.areas[change.count++] = r;
  };
  const bool windowMoved = !hadOld || !(oldWindow == newWindow);
  if (windowMoved) {
    if (hadOld)
      for (const Rect& r : OutlineStrips(oldWindow)) add(r);
    for (const Rect& r : OutlineStrips(newWindow)) add(r);
  }
  if (!hadOld || !(oldCursor == newCursor)) {
    if (hadOld) add(CrossArea(oldCursor.x, oldCursor.y));
    add(CrossArea(newCursor.x, newCursor.y));
  }
  return change;
}

}  // namespace framlet::region
