#pragma once
#include <array>

#include "core/rect.h"

// Geometry of region selection and of the window picker: the selection
// rectangle, the place of the magnifier panel beside the cursor, the four
// lines of a rubber band, and the areas the picker repaints when its outline
// and cross move. Rectangles have exclusive right and bottom edges.
namespace framlet::region {

using Rect = framlet::Rect;

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

// A line from (x1, y1) to (x2, y2), its end point not drawn.
struct Segment {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const Segment& o) const { return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2; }
};

// The magnifier panel's size and its distance from the cursor.
inline constexpr int kPanelWidth = 134;
inline constexpr int kPanelHeight = 157;
inline constexpr int kPanelGap = 20;
// The panel's place when it is created.
inline constexpr Point kPanelStart = {20, 20};

// The veil's constant opacity while it is shown (of 255).
inline constexpr int kVeilOpacity = 100;

// The selection from the drag start to the release point, corners swapped so
// that left <= right and top <= bottom.
Rect NormalizeRect(int x1, int y1, int x2, int y2);

// What the system reports of its screens. Display coordinates have their
// origin at the primary monitor's top-left corner, so a monitor left of or
// above it gives the virtual screen a negative left or top.
struct Screens {
  int monitorCount = 1;  // 0: no monitor count reported
  int primaryWidth = 0;
  int virtualWidth = 0;
  int virtualHeight = 0;
  int virtualLeft = 0;
  int virtualTop = 0;
};

// Top-left of a w x h panel for the cursor at display point (x, y): right of
// the cursor near the left edge (above it unless near the top), else left of
// it (below it unless near the virtual screen's bottom, which lies at its top
// plus its height).
Point PanelPlace(int x, int y, int w, int h, const Screens& screens);

// The rubber band from (x1, y1) to (x2, y2) as four lines that share no end
// point, so that drawing it with an XOR pen toggles every pixel once.
std::array<Segment, 4> BandSegments(int x1, int y1, int x2, int y2);

// ---- Window picker ----

// The picker's red outline pen width, and the cross image's size and offset
// from the cursor.
inline constexpr int kOutlinePenWidth = 4;
inline constexpr int kCrossSize = 17;
inline constexpr int kCrossOffset = 8;

// Where the selection veil and the picker overlay lie on the display: the
// virtual screen from its real origin when monitors are reported, else the
// primary screen.
Rect OverlayRect(const Screens& screens, int primaryHeight);

// The overlay's client coordinates (mouse messages, drawing) against display
// coordinates (the cursor, window rectangles, screen grabs).
Point ClientToDisplay(Point client, const Rect& overlay);
Point DisplayToClient(Point display, const Rect& overlay);
Rect DisplayRectToClient(const Rect& display, const Rect& overlay);

// The area the cross image covers for the cursor at (x, y).
Rect CrossArea(int x, int y);

// The four strips an outline of `window` drawn with a kOutlinePenWidth pen
// covers (wide pens reach past the line by half their width; one more pixel
// covers their rounded ends). A window of no size gives no strips.
std::array<Rect, 4> OutlineStrips(const Rect& window);

// Which areas to repaint when the outline moves from `oldWindow` to
// `newWindow` and the cross from `oldCursor` to `newCursor`: nothing for the
// outline when the window is the same, nothing for the cross when the cursor
// has not moved. `hadOld` is false on the first repaint (nothing to remove).
struct PickerChange {
  std::array<Rect, 10> areas{};  // old and new strips, old and new cross
  int count = 0;
};
PickerChange PickerRepaint(bool hadOld, const Rect& oldWindow, Point oldCursor, const Rect& newWindow, Point newCursor);

}  // namespace framlet::region
