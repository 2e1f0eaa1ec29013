#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "windows/option_rules.h"

// Rules of the area dialog: the four numbers it shows for the frame's stored
// rectangle, what it accepts, and the frame rectangle that puts the hole over
// the typed one. Numbers are carried in 64 bits so that no sum can wrap.
namespace framlet::area {

// The hole sits this far inside the frame (left and top), and the frame is
// this much larger than the hole.
inline constexpr int kHoleLeft = 4;
inline constexpr int kHoleTop = 121;
inline constexpr int kExtraWidth = 8;
inline constexpr int kExtraHeight = 144;
// The smallest hole: the hole of the smallest frame the user can drag (220 x 230).
inline constexpr int kMinHoleWidth = 220 - kExtraWidth;
inline constexpr int kMinHoleHeight = 230 - kExtraHeight;
// The largest frame extent passed on: window coordinates are 16-bit in parts of GDI.
inline constexpr int kMaxFrameExtent = 32767;
// A corner is accepted only when this many pixels of the screen lie right of and below it.
inline constexpr int kScreenMargin = 30;

// Window size and centring.
inline constexpr int kDialogWidth = 210;
inline constexpr int kDialogHeight = 215;

// The hole as x, y, width, height (screen).
struct Hole {
  int64_t x = 0;
  int64_t y = 0;
  int64_t width = 0;
  int64_t height = 0;
  bool operator==(const Hole& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

// The frame's window position and size.
struct FramePlace {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const FramePlace& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

// The hole of a frame stored as window left, top and client width, height.
Hole HoleOfFrame(int left, int top, int width, int height);

// An edit's number: blanks, an optional sign, then the leading decimal digits;
// no digits gives 0. Saturates at the 32-bit limits.
int64_t ParseNumber(std::string_view text);

// Decimal text of a number, as the edits show it (no thousands separator).
std::string NumberText(int64_t value);

// Whether the typed corner is accepted on a virtual screen of the given size:
// not left of or above the origin, and at least kScreenMargin pixels inside.
bool CornerAccepted(int64_t x, int64_t y, int64_t screenWidth, int64_t screenHeight);

// The frame place that puts the hole over the typed rectangle. A width or
// height below the smallest hole is raised to it; the frame is kept within
// kMaxFrameExtent.
FramePlace FrameForHole(const Hole& hole);

// The controls at their client positions in pixels.
const std::vector<options::ControlPlace>& AreaLayout();

// Upper bound of a spin: the screen extent, never negative.
int SpinUpperBound(int64_t screenExtent);

}  // namespace framlet::area
