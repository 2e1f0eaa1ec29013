#include "app/frame_geometry.h"

#include <cstdio>

#include "core/command_ids.h"

namespace framlet::frame {

Place Hole(int w, int h) {
  return {kHoleLeft, kHoleTop, w - kHoleLeft - kHoleRight, h - kHoleTop - kHoleBottom};
}

Rect CaptureRect(int left, int top, int width, int height) {
  return {left + kHoleLeft, top + kHoleTop, left + width - kHoleRight, top + height - kHoleBottom};
}

Zone HitZone(int x, int y, const Rect& r, bool maximized) {
  if (maximized) return Zone::Client;
  constexpr int kBand = 15;
  constexpr int kTopBand = 5;
  if (x > r.right - kBand) {
    if (y > r.bottom - kBand) return Zone::BottomRight;
    if (y < r.top + kBand) return Zone::TopRight;
    return Zone::Right;
  }
  if (x < r.left + kBand) {
    if (y > r.bottom - kBand) return Zone::BottomLeft;
    if (y < r.top + kBand) return Zone::TopLeft;
    return Zone::Left;
  }
  if (y > r.bottom - kBand) return Zone::Bottom;
  if (y < r.top + kTopBand) return Zone::Top;
  return Zone::Caption;
}

Size RaiseRestoredSize(int width, int height) {
  return {width < 525 ? 533 : width, height < 464 ? 515 : height};
}

Place CentredPlace(int screenWidth, int screenHeight) {
  return {screenWidth / 2 - 418, screenHeight / 2 - 360, kDefaultWidth, kDefaultHeight};
}

bool OptionsButtonShown(int w) {
  return w >= 270;
}
bool HelpButtonShown(int w) {
  return w >= 235;
}
bool CoordLabelShown(int w) {
  return w >= 230;
}
int AreaButtonX(int w) {
  return w >= 265 ? 240 : 6;
}
bool WebAddressShown(int w) {
  return w > 399;
}

Place ToolbarPlace(int w) {
  return {4, 28, w - 8, 60};
}
Place TabStripPlace(int w) {
  return {w / 2, 90, w / 2 - 120, 29};
}
Place BrowserPlace(int w, int h) {
  return Hole(w, h);
}
Place StopButtonPlace(int w, int h) {
  return {(w - 8) / 2 - 35, (h - 144) / 2 + 65, 70, 70};
}

std::vector<ControlPlace> ControlPlaces(int w, int h, bool normalMode) {
  const Place address = normalMode ? Place{90, 93, w - 232, 22} : Place{90, 93, w / 2 - 117, 22};
  const Place go = normalMode ? Place{w - 137, 93, 22, 22} : Place{w / 2 - 22, 93, 22, 22};
  return {
      {IDC_LOGO, {5, 0, 102, 24}},
      {IDC_OPTIONS_MENU, {w - 160, 5, 33, 18}},
      {IDC_HELP_PAGE, {w - 125, 5, 42, 18}},
      {IDC_ALWAYS_TOP, {w - 78, 6, 16, 16}},
      {IDC_MINIMIZE, {w - 61, 6, 16, 16}},
      {IDC_MAXIMIZE, {w - 44, 6, 16, 16}},
      {IDC_RESTORE, {w - 44, 6, 16, 16}},
      {IDC_CLOSE_TO_TRAY, {w - 27, 6, 16, 16}},
      {IDC_HOME_PAGE, {10, 95, 20, 20}},
      {IDC_BACK, {35, 92, 25, 25}},
      {IDC_FORWARD, {60, 92, 25, 25}},
      {IDC_ADDRESS, address},
      {IDC_GO, go},
      {IDC_TO_NORMAL_MODE, {w - 110, 93, 100, 23}},
      {IDC_TO_WEB_MODE, {w - 110, 93, 100, 23}},
      {IDC_STOP_SCROLL, StopButtonPlace(w, h)},
      {IDC_STOP_CONTINUOUS, StopButtonPlace(w, h)},
      {IDC_COORD_LABEL, {20, h - 17, 220, 12}},
      {IDC_AREA_DIALOG, {AreaButtonX(w), h - 17, 11, 11}},
  };
}

std::string CoordLabelText(int windowLeft, int windowTop, int w, int h) {
  char text[128];
  std::snprintf(text, sizeof text, "img Size | X:%d Y:%d | W:%d H:%d", windowLeft + kHoleLeft, windowTop + kHoleTop,
                w - kHoleLeft - kHoleRight, h - kHoleTop - kHoleBottom);
  return text;
}

Place MaximizedPlace(int cx, int cy, const Rect& taskbar, Edge edge, int monitorCount, int frameLeft, int clientWidth) {
  // The centre is compared as a signed number: a frame on a monitor left of the
  // primary one (negative x) is maximised onto the primary work area rather
  // than onto a monitor to the right that may not exist.
  const long long centre = static_cast<long long>(frameLeft) + clientWidth / 2;
  if (monitorCount > 0 && centre > cx) return {cx, 0, cx, cy};
  const int tw = taskbar.Width();
  const int th = taskbar.Height();
  switch (edge) {
    case Edge::Left:
      return {tw, 0, cx - tw, cy};
    case Edge::Top:
      return {0, th, cx, cy - th};
    case Edge::Right:
      return {0, 0, cx - tw, cy};
    case Edge::Bottom:
      break;
  }
  return {0, 0, cx, cy - th};
}

Place NudgedPlace(const Place& stored, Nudge key, bool shift) {
  Place p = stored;
  switch (key) {
    case Nudge::Left:
      (shift ? p.width : p.x) -= 1;
      break;
    case Nudge::Right:
      (shift ? p.width : p.x) += 1;
      break;
    case Nudge::Up:
      (shift ? p.height : p.y) -= 1;
      break;
    case Nudge::Down:
      (shift ? p.height : p.y) += 1;
      break;
  }
  return p;
}

TipPlace AreaButtonTip(const Rect& window) {
  const int x = window.Width() > 264 ? window.left + 213 : window.left + 4;
  return {12, {x, window.bottom - 51 - 23, 360, 51}};
}

TipPlace AlwaysTopTip(const Rect& window) {
  return {11, {window.right - 360 - 36, window.top + 20, 360, 51}};
}

}  // namespace framlet::frame
