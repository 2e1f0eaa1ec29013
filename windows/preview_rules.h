#pragma once
#include <cstdint>
#include <string>

// Geometry of the capture preview and the actual-size viewer: where the
// windows open, where their controls sit at a client size, how the picture is
// fitted into the backdrop, the drag zones of their surfaces and the scroll
// positions of the viewer. Kept apart from the window code so it can be
// checked natively.
namespace framlet::preview {

// A rectangle as x, y, width, height.
struct Box {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Box& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

// Both windows refuse to become smaller than this (client area).
inline constexpr int kMinWidth = 540;
inline constexpr int kMinHeight = 490;
// Height of the title strip, the part a double click maximizes or restores from.
inline constexpr int kTitleHeight = 28;
inline constexpr int kTileStep = 20;

// ---- The picture -----------------------------------------------------------

// Whether a picture of this size can be shown and copied: both sides positive
// and its 32-bit pixels within what one bitmap may hold (2 GiB less one
// byte). Sizes are taken in 64 bits, so no product wraps.
bool PictureSizeAcceptable(int64_t width, int64_t height);

// The size label's text for a picture of that size.
std::wstring SizeLabelText(int width, int height);

// ---- Capture preview placement and layout ----------------------------------

// The window on a screen of screenWidth x screenHeight for a picture of that
// size: the picture plus 200 on each axis, centred; an axis that reaches the
// screen becomes the screen less 100, 50 from its edge.
Box FirstPlacement(int64_t imageWidth, int64_t imageHeight, int screenWidth, int screenHeight);

// The window grown to the minimum client size when either side is short
// (a side that meets its minimum keeps its size) and then centred on the
// screen; the window as given when both sides are large enough. clientWidth
// and clientHeight are the window's client area at `window`'s size.
Box EnforceMinimum(const Box& window, int clientWidth, int clientHeight, int screenWidth, int screenHeight);

// The top-left of a width x height window centred on the screen (integer halves).
Box Centred(int width, int height, int screenWidth, int screenHeight);

struct PreviewLayout {
  Box maximize;  // also the restore button's place
  Box close;     // title-strip close
  Box logo;
  Box save;
  Box copy;
  Box edit;
  Box print;
  Box copyNotice;
  Box sizeLabel;
  Box lowerClose;  // close button below the tiles
  Box actualSize;  // actual-size button beside the bottom strip
};

// The offsets at which the backdrop tiling stops: the first column and row
// offsets (from the tile origin) that are not drawn. Columns are drawn while
// their offset is below w - 150, rows while below h - 80.
struct TileEnds {
  int x = 0;
  int y = 0;
};
TileEnds PreviewTileEnds(int clientWidth, int clientHeight);

PreviewLayout LayOutPreview(int clientWidth, int clientHeight);

// Where the picture is stretched to in a client area of that size, in this
// order: fitted to the free area; its width capped to the tiles' end less 10;
// never enlarged (when either side exceeds the picture's, both go back to the
// picture's own size, which can undo the width cap); its height capped to the
// client's height less 150. Each cap keeps the other side, so a capped picture
// is squeezed. Centred on ((w - 180)/2 + 30, (h - 80)/2 + 30). An empty box
// when there is no picture or no room.
Box FitPicture(int imageWidth, int imageHeight, int clientWidth, int clientHeight);

// ---- Drag zones ------------------------------------------------------------

enum class Zone { None, Move, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// The zone under the point (x, y) of a client rectangle (left, top, right,
// bottom): 15 pixels at the sides and bottom, 5 at the top (15 in the top
// corners). No zone at all while the window is maximized.
Zone DragZone(bool maximized, int left, int top, int right, int bottom, int x, int y);

// ---- Actual-size viewer ----------------------------------------------------

inline constexpr int kViewerWidth = 800;
inline constexpr int kViewerHeight = 650;

struct ViewerLayout {
  Box maximize;  // also the restore button's place
  Box close;
  Box view;  // relative to the viewer's top-left corner
};
ViewerLayout LayOutViewer(int clientWidth, int clientHeight);

// Whether a scroll bar is needed: the view is smaller than the picture on that axis.
inline bool NeedsBar(int viewSize, int imageSize) {
  return viewSize < imageSize;
}

// The scroll range's maximum for a view of viewSize, or -1 when the picture
// fits and the range is left as it was.
int ScrollMaximum(int viewSize, int imageSize);

enum class ScrollRequest { LineBack, LineForward, PageBack, PageForward, Track, ToStart, ToEnd, EndScroll };

// The next position for a scroll request, clamped to 0..maximum. Pages are 20
// pixels horizontally and 100 vertically; lines are 1. `track` is the thumb's
// position for Track; EndScroll keeps the position.
int NextScrollPosition(ScrollRequest request, bool horizontal, int position, int maximum, int track);

// The vertical position after a wheel turn (delta as the wheel message gives
// it): towards the user (0 or negative) 100 down, away 100 up (to 0 from 100
// or less), clamped to 0..maximum. The position is kept when the picture is not
// taller than the view.
int WheelScrollPosition(int wheelDelta, int position, int maximum, int imageHeight, int viewHeight);

// Where the picture's visible part starts in the view: centred on an axis
// where the picture is smaller than the view, at 0 otherwise.
struct Origin {
  int x = 0;
  int y = 0;
};
Origin PictureOrigin(int imageWidth, int imageHeight, int viewWidth, int viewHeight);

}  // namespace framlet::preview
