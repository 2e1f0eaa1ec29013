#pragma once
#include <string>
#include <vector>

#include "core/rect.h"
#include "core/settings_keys.h"

// Geometry of the capture frame: the hole, hit zones, the places of its
// controls for a client size, the start-up size rule, maximising onto the work
// area, keyboard nudges and the coordinate label. Client coordinates unless
// named otherwise; the frame has no border, so client size == window size.
namespace framlet::frame {

using Rect = framlet::Rect;

// Position and size (x, y, width, height), as windows are moved.
struct Place {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Place& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

inline constexpr int kDefaultWidth = keys::kWidth.defaultNumber;
inline constexpr int kDefaultHeight = keys::kHeight.defaultNumber;
// Borders around the hole.
inline constexpr int kHoleLeft = 4;
inline constexpr int kHoleTop = 121;
inline constexpr int kHoleRight = 4;
inline constexpr int kHoleBottom = 23;
// Smallest size the user can drag the frame to.
inline constexpr int kMinTrackWidth = 220;
inline constexpr int kMinTrackHeight = 230;
// Double clicks in this top band maximise or restore.
inline constexpr int kDoubleClickBand = 28;
// Pointer moves in this top band hide the toolbar's tips.
inline constexpr int kHoverBand = 30;

// The hole in client coordinates for client size w x h.
Place Hole(int w, int h);
// The capture rectangle (screen) from the stored frame rectangle.
Rect CaptureRect(int left, int top, int width, int height);

// ---- hit zones ----
enum class Zone { Client, Caption, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };
// Resize band 15 pixels on the left, right and bottom and in the corners, 5 on
// top; the rest is caption. Maximised: always Client (no move, no resize).
Zone HitZone(int x, int y, const Rect& client, bool maximized);

// ---- start-up size ----
struct Size {
  int width = 0, height = 0;
  bool operator==(const Size& o) const { return width == o.width && height == o.height; }
};
// A restored width below 525 becomes 533, a height below 464 becomes 515.
Size RaiseRestoredSize(int width, int height);
// Where the frame opens when its position is not remembered (primary screen cx x cy).
Place CentredPlace(int screenWidth, int screenHeight);

// ---- control places ----
// Places of the frame's controls (ids of app/command_ids.h) for client size w x h.
struct ControlPlace {
  int id;
  Place place;
};
std::vector<ControlPlace> ControlPlaces(int w, int h, bool normalMode);
// Width rules.
bool OptionsButtonShown(int w);  // w >= 270
bool HelpButtonShown(int w);     // w >= 235
bool CoordLabelShown(int w);     // w >= 230
int AreaButtonX(int w);          // 240 when w >= 265, else 6
// Children placed by their own code, at these places.
Place ToolbarPlace(int w);         // 4, 28, w-8, 60
Place TabStripPlace(int w);        // w/2, 90, w/2-120, 29
Place BrowserPlace(int w, int h);  // the hole
Place StopButtonPlace(int w, int h);
// The web address on the top band is drawn only when w > 399.
bool WebAddressShown(int w);

// ---- coordinate label ----
// "img Size | X:%d Y:%d | W:%d H:%d": hole's screen left and top and its size.
std::string CoordLabelText(int windowLeft, int windowTop, int w, int h);

// ---- maximise ----
enum class Edge { Left, Top, Right, Bottom };
// screen: primary screen size; taskbar: its window rectangle; frameLeft and
// clientWidth: where the frame is now. A frame whose horizontal centre lies
// beyond the primary screen goes to the monitor on its right, taken to be as
// large as the primary one.
Place MaximizedPlace(int screenWidth, int screenHeight, const Rect& taskbar, Edge edge, int monitorCount, int frameLeft,
                     int clientWidth);

// ---- keyboard nudges ----
enum class Nudge { Left, Right, Up, Down };
// From the stored rectangle: plain arrows move by one pixel, with Shift they
// change the width (left/right) or height (up/down) by one.
Place NudgedPlace(const Place& stored, Nudge key, bool shift);

// ---- hover tips (screen positions; window: the frame's window rectangle) ----
struct TipPlace {
  int pictureIndex;
  Place place;
};
TipPlace AreaButtonTip(const Rect& window);
TipPlace AlwaysTopTip(const Rect& window);

}  // namespace framlet::frame
