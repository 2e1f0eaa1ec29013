#pragma once

// Geometry of the magnifier: which screen area it enlarges around the cursor,
// which part of that area can be copied from the screen, where its own window
// lies in it, and the fixed cross-hair it draws over the enlarged view.
namespace framlet::magnifier {

inline constexpr int kZoom = 3;
// The magnifier's client size inside the region selection panel, and its place there.
inline constexpr int kClientWidth = 116;
inline constexpr int kClientHeight = 120;
inline constexpr int kPanelLeft = 10;
inline constexpr int kPanelTop = 10;

// The cross-hair's two lines in client coordinates, fixed whatever the size.
inline constexpr int kCrossPenWidth = 2;
inline constexpr int kCrossRow = 63;
inline constexpr int kCrossColumn = 61;
inline constexpr int kCrossLength = 122;

struct Area {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Area& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

// The screen area shown for the cursor at (cursorX, cursorY) in a client of
// clientWidth x clientHeight: clientWidth / zoom by clientHeight / zoom pixels
// centred on the cursor, moved right or down off the screen's left and top
// edges and up off the primary screen's bottom edge (not left off the right
// edge: neighbouring screens show there).
Area SourceArea(int cursorX, int cursorY, int clientWidth, int clientHeight, int zoom, int primaryHeight);

// The part of `source` that lies on the virtual screen (x, y, width, height),
// as the offset into the source image and the screen area to copy; the rest
// of the image stays black. A copy from the screen that runs off its edges
// would come back all black on some display drivers.
struct Copy {
  int destX = 0, destY = 0;  // offset in the source image
  Area screen;               // what to copy from the screen
  bool any = false;
};
Copy ClipToScreen(const Area& source, const Area& screen);

// The magnifier's own window (screen rectangle x, y, width, height) in source
// image coordinates, so that it can be painted over and never shows itself.
Area SelfCover(const Area& window, const Area& source);

// The source pixel (offset in the source image) that client pixel (cx, cy)
// shows when the source is stretched over the client by pixel replication.
struct Pixel {
  int x = 0, y = 0;
};
Pixel ClientToSource(int cx, int cy, int clientWidth, int clientHeight, const Area& source);

}  // namespace framlet::magnifier
