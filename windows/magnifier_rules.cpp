#include "windows/magnifier_rules.h"

#include <algorithm>

namespace framlet::magnifier {

Area SourceArea(int cursorX, int cursorY, int clientWidth, int clientHeight, int zoom, int primaryHeight) {
  if (zoom <= 0) zoom = 1;
  Area a;
  a.width = clientWidth / zoom;
  a.height = clientHeight / zoom;
  a.x = cursorX - a.width / 2;
  a.y = cursorY - a.height / 2;
  if (a.x < 0) a.x = 0;
  if (a.y < 0) a.y = 0;
  if (a.y + a.height > primaryHeight) a.y = primaryHeight - a.height;
  return a;
}

Copy ClipToScreen(const Area& source, const Area& screen) {
  Copy c;
  const int left = std::max(source.x, screen.x);
  const int top = std::max(source.y, screen.y);
  const int right = std::min(source.x + source.width, screen.x + screen.width);
  const int bottom = std::min(source.y + source.height, screen.y + screen.height);
  if (right <= left || bottom <= top) return c;
  c.destX = left - source.x;
  c.destY = top - source.y;
  c.screen = {left, top, right - left, bottom - top};
  c.any = true;
  return c;
}

Area SelfCover(const Area& window, const Area& source) {
  return {window.x - source.x, window.y - source.y, window.width, window.height};
}

Pixel ClientToSource(int cx, int cy, int clientWidth, int clientHeight, const Area& source) {
  if (clientWidth <= 0 || clientHeight <= 0) return {};
  return {cx * source.width / clientWidth, cy * source.height / clientHeight};
}

}  // namespace framlet::magnifier
