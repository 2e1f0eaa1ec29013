#include "windows/area_rules.h"

#include <algorithm>
#include <limits>

#include "core/command_ids.h"

namespace framlet::area {

namespace {

constexpr int64_t kIntMax = std::numeric_limits<int32_t>::max();
constexpr int64_t kIntMin = std::numeric_limits<int32_t>::min();

int ToInt(int64_t value) {
  return static_cast<int>(std::clamp(value, kIntMin, kIntMax));
}

}  // namespace

Hole HoleOfFrame(int left, int top, int width, int height) {
  return Hole{int64_t{left} + kHoleLeft, int64_t{top} + kHoleTop, int64_t{width} - kExtraWidth,
              int64_t{height} - kExtraHeight};
}

int64_t ParseNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kIntMax + 1) value = kIntMax + 1;  // keeps the loop from overflowing
  }
  return std::clamp(negative ? -value : value, kIntMin, kIntMax);
}

std::string NumberText(int64_t value) {
  return std::to_string(value);
}

bool CornerAccepted(int64_t x, int64_t y, int64_t screenWidth, int64_t screenHeight) {
  if (x < 0 || y < 0) return false;
  return screenWidth >= x + kScreenMargin && screenHeight >= y + kScreenMargin;
}

FramePlace FrameForHole(const Hole& hole) {
  const int64_t width = std::clamp<int64_t>(hole.width, kMinHoleWidth, kMaxFrameExtent - kExtraWidth) + kExtraWidth;
  const int64_t height =
      std::clamp<int64_t>(hole.height, kMinHoleHeight, kMaxFrameExtent - kExtraHeight) + kExtraHeight;
  return FramePlace{ToInt(hole.x - kHoleLeft), ToInt(hole.y - kHoleTop), static_cast<int>(width),
                    static_cast<int>(height)};
}

const std::vector<options::ControlPlace>& AreaLayout() {
  static const std::vector<options::ControlPlace> layout = {
      {IDC_AREA_GROUP, {10, 10, 184, 128}},
      {IDC_AREA_X_LABEL, {26, 30, 50, 15}},
      {IDC_AREA_X, {99, 25, 65, 20}},
      {IDC_AREA_X_SPIN, {164, 25, 20, 20}},
      {IDC_AREA_Y_LABEL, {26, 55, 50, 15}},
      {IDC_AREA_Y, {99, 50, 65, 20}},
      {IDC_AREA_Y_SPIN, {164, 50, 20, 20}},
      {IDC_AREA_WIDTH_LABEL, {26, 85, 50, 15}},
      {IDC_AREA_WIDTH, {99, 80, 65, 20}},
      {IDC_AREA_WIDTH_SPIN, {164, 80, 20, 20}},
      {IDC_AREA_HEIGHT_LABEL, {26, 110, 50, 15}},
      {IDC_AREA_HEIGHT, {99, 105, 65, 20}},
      {IDC_AREA_HEIGHT_SPIN, {164, 105, 20, 20}},
      {IDC_AREA_OK, {25, 150, 75, 25}},
      {IDC_AREA_CANCEL, {106, 150, 75, 25}},
  };
  return layout;
}

int SpinUpperBound(int64_t screenExtent) {
  return ToInt(std::max<int64_t>(screenExtent, 0));
}

}  // namespace framlet::area
