#include "windows/preview_rules.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace framlet::preview {

namespace {

constexpr int64_t kMaxBitmapBytes = INT32_MAX;
// Space the buttons' column and the strips keep free of the picture.
constexpr int kFreeWidthMargin = 180;
constexpr int kFreeHeightMargin = 80;

int Clamp(int value, int maximum) {
  return std::max(0, std::min(value, std::max(0, maximum)));
}

// The first multiple of the tile step at or above a bound; 0 for a bound of
// 0 or less (no tile drawn).
int FirstUndrawn(int bound) {
  return bound > 0 ? (bound + kTileStep - 1) / kTileStep * kTileStep : 0;
}

}  // namespace

bool PictureSizeAcceptable(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) return false;
  if (width > kMaxBitmapBytes / 4 || height > kMaxBitmapBytes / 4) return false;
  return width * height * 4 <= kMaxBitmapBytes;
}

std::wstring SizeLabelText(int width, int height) {
  return L"파일정보 " + std::to_wstring(width) + L" X " + std::to_wstring(height);
}

Box FirstPlacement(int64_t imageWidth, int64_t imageHeight, int screenWidth, int screenHeight) {
  Box box;
  const int64_t width = imageWidth + 200;
  const int64_t height = imageHeight + 200;
  if (width < screenWidth) {
    box.width = static_cast<int>(width);
    box.x = screenWidth / 2 - box.width / 2;
  } else {
    box.x = 50;
    box.width = screenWidth - 100;
  }
  if (height < screenHeight) {
    box.height = static_cast<int>(height);
    box.y = screenHeight / 2 - box.height / 2;
  } else {
    box.y = 50;
    box.height = screenHeight - 100;
  }
  return box;
}

Box Centred(int width, int height, int screenWidth, int screenHeight) {
  return {screenWidth / 2 - width / 2, screenHeight / 2 - height / 2, width, height};
}

Box EnforceMinimum(const Box& window, int clientWidth, int clientHeight, int screenWidth, int screenHeight) {
  if (clientWidth >= kMinWidth && clientHeight >= kMinHeight) return window;
  const int width = window.width + std::max(0, kMinWidth - clientWidth);
  const int height = window.height + std::max(0, kMinHeight - clientHeight);
  return Centred(width, height, screenWidth, screenHeight);
}

TileEnds PreviewTileEnds(int clientWidth, int clientHeight) {
  return {FirstUndrawn(clientWidth - 150), FirstUndrawn(clientHeight - 80)};
}

PreviewLayout LayOutPreview(int w, int h) {
  const TileEnds ends = PreviewTileEnds(w, h);
  PreviewLayout l;
  l.maximize = {w - 41, 5, 16, 16};
  l.close = {w - 25, 5, 16, 16};
  l.logo = {10, 4, 72, 19};
  l.save = {w - 120, 38, 112, 34};
  l.copy = {w - 120, 79, 112, 31};
  l.edit = {w - 120, 117, 112, 31};
  l.print = {w - 120, 155, 112, 31};
  l.copyNotice = {w - 120, 208, 112, 56};
  l.sizeLabel = {10, h - 23, 133, 12};
  l.lowerClose = {w - 120, ends.y + 7, 112, 31};
  l.actualSize = {ends.x - 88, h - 27, 98, 17};
  return l;
}

Box FitPicture(int imageWidth, int imageHeight, int w, int h) {
  const int freeWidth = w - kFreeWidthMargin;
  const int freeHeight = h - kFreeHeightMargin;
  if (imageWidth <= 0 || imageHeight <= 0 || freeWidth <= 0 || freeHeight <= 0) return {};
  const double iw = imageWidth;
  const double ih = imageHeight;
  // The scale in percent that fits the longer side of the picture.
  const double r = imageWidth > imageHeight ? iw / freeWidth * 100 : ih / freeHeight * 100;
  double width = iw / r * 100;
  double height = ih / r * 100;
  const int tilesEnd = PreviewTileEnds(w, h).x;
  if (width > tilesEnd - 10) width = tilesEnd - 10;
  if (width > iw || height > ih) {
    width = iw;
    height = ih;
  }
  if (height > h - 150) height = h - 150;
  if (width <= 0 || height <= 0) return {};
  // The division and multiplication by the scale land a hair below whole
  // numbers (819.99999 for a fit to 820); that must not cost a pixel.
  constexpr double kRoundingSlack = 1e-7;
  Box box;
  box.x = static_cast<int>(freeWidth / 2 - width * 0.5 + 30);
  box.y = static_cast<int>(freeHeight / 2 - height * 0.5 + 30);
  box.width = static_cast<int>(width + kRoundingSlack);
  box.height = static_cast<int>(height + kRoundingSlack);
  return box;
}

Zone DragZone(bool maximized, int left, int top, int right, int bottom, int x, int y) {
  if (maximized) return Zone::None;
  if (x > right - 15) {
    if (y > bottom - 15) return Zone::BottomRight;
    if (y < top + 15) return Zone::TopRight;
    return Zone::Right;
  }
  if (x < left + 15) {
    if (y > bottom - 15) return Zone::BottomLeft;
    if (y < top + 15) return Zone::TopLeft;
    return Zone::Left;
  }
  if (y > bottom - 15) return Zone::Bottom;
  if (y < top + 5) return Zone::Top;
  return Zone::Move;
}

ViewerLayout LayOutViewer(int w, int h) {
  ViewerLayout l;
  l.maximize = {w - 41, 5, 16, 16};
  l.close = {w - 25, 5, 16, 16};
  l.view = {4, 28, w - 8, h - 32};
  return l;
}

int ScrollMaximum(int viewSize, int imageSize) {
  return NeedsBar(viewSize, imageSize) ? imageSize - viewSize : -1;
}

int NextScrollPosition(ScrollRequest request, bool horizontal, int position, int maximum, int track) {
  const int page = horizontal ? 20 : 100;
  int next = position;
  switch (request) {
    case ScrollRequest::LineBack:
      next = position - 1;
      break;
    case ScrollRequest::LineForward:
      next = position + 1;
      break;
    case ScrollRequest::PageBack:
      next = position - page;
      break;
    case ScrollRequest::PageForward:
      next = position + page;
      break;
    case ScrollRequest::Track:
      next = track;
      break;
    case ScrollRequest::ToStart:
      next = 0;
      break;
    case ScrollRequest::ToEnd:
      next = maximum;
      break;
    case ScrollRequest::EndScroll:
      break;
  }
  return Clamp(next, maximum);
}

int WheelScrollPosition(int wheelDelta, int position, int maximum, int imageHeight, int viewHeight) {
  if (imageHeight <= viewHeight) return position;
  if (wheelDelta <= 0) return Clamp(position + 100, maximum);
  return position <= 100 ? 0 : Clamp(position - 100, maximum);
}

Origin PictureOrigin(int imageWidth, int imageHeight, int viewWidth, int viewHeight) {
  Origin o;
  if (imageWidth < viewWidth) o.x = viewWidth / 2 - imageWidth / 2;
  if (imageHeight < viewHeight) o.y = viewHeight / 2 - imageHeight / 2;
  return o;
}

}  // namespace framlet::preview
