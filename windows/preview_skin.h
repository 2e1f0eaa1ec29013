#pragma once
#include <windows.h>

#include <utility>
#include <vector>

#include "resource.h"
#include "ui/key_chain.h"
#include "ui/picture.h"
#include "windows/preview_rules.h"

// The chrome the capture preview and the actual-size viewer share: their skin
// pictures, the drag zones handed to the window manager with their cursors,
// and the keys their modal loops filter.
namespace framlet::preview {

// The preview skin's pictures, loaded once per window.
struct Skin {
  ui::Picture titleLeft, title, titleRight;
  ui::Picture edgeLeft, edgeRight;
  ui::Picture fill, tile;
  ui::Picture bottomLeft, bottom, bottomRight;

  void Load() {
    titleLeft.Load(IDB_PREVIEW_TITLE_LEFT);
    title.Load(IDB_PREVIEW_TITLE);
    titleRight.Load(IDB_PREVIEW_TITLE_RIGHT);
    edgeLeft.Load(IDB_EDGE_LEFT);
    edgeRight.Load(IDB_EDGE_RIGHT);
    fill.Load(IDB_FILL_LIGHT);
    tile.Load(IDB_PREVIEW_TILE);
    bottomLeft.Load(IDB_PREVIEW_BOTTOM_LEFT);
    bottom.Load(IDB_PREVIEW_BOTTOM);
    bottomRight.Load(IDB_PREVIEW_BOTTOM_RIGHT);
  }

  void DrawTitleStrip(HDC dc, int w) const {
    titleLeft.Draw(dc, 0, 0);
    title.Stretch(dc, 19, 0, w - 19, kTitleHeight);
    titleRight.Draw(dc, w - 19, 0);
  }
  // The left edge runs 5 pixels into the bottom strip, which is drawn over it.
  void DrawLeftEdge(HDC dc, int h) const { edgeLeft.Stretch(dc, 0, kTitleHeight, 4, h - 23); }
  void DrawRightEdge(HDC dc, int w, int h) const { edgeRight.Stretch(dc, w - 4, kTitleHeight, 4, h - kTitleHeight); }
  void DrawBottomStrip(HDC dc, int w, int h) const {
    bottomLeft.Draw(dc, 0, h - 23);
    bottom.Stretch(dc, 25, h - 23, w - 25, 23);
    bottomRight.Draw(dc, w - 25, h - 23);
  }
  // Tiles from (x0, y0) in steps of 20 while the offsets are below the limits:
  // one fill with the tile as a pattern anchored at (x0, y0), the same pixels
  // as a copy per tile at a small part of the cost.
  void DrawTiles(HDC dc, int x0, int y0, int limitX, int limitY) const {
    if (!tile || limitX <= 0 || limitY <= 0) return;
    const ui::Brush pattern(CreatePatternBrush(tile.Handle()));
    if (!pattern) return;
    const int across = (limitX + kTileStep - 1) / kTileStep * kTileStep;
    const int down = (limitY + kTileStep - 1) / kTileStep * kTileStep;
    POINT oldOrigin = {};
    SetBrushOrgEx(dc, x0, y0, &oldOrigin);
    const RECT area = {x0, y0, x0 + across, y0 + down};
    FillRect(dc, &area, pattern.Get());
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  }
};

// The hit-test code the window manager moves or sizes a window by for a zone.
inline WPARAM HitCodeFor(Zone zone) {
  switch (zone) {
    case Zone::Left:
      return HTLEFT;
    case Zone::Right:
      return HTRIGHT;
    case Zone::Top:
      return HTTOP;
    case Zone::Bottom:
      return HTBOTTOM;
    case Zone::TopLeft:
      return HTTOPLEFT;
    case Zone::TopRight:
      return HTTOPRIGHT;
    case Zone::BottomLeft:
      return HTBOTTOMLEFT;
    case Zone::BottomRight:
      return HTBOTTOMRIGHT;
    case Zone::Move:
      return HTCAPTION;
    case Zone::None:
      break;
  }
  return HTNOWHERE;
}

// The sizing cursor for a border zone; nullptr for moving and no zone.
inline LPCWSTR CursorFor(Zone zone) {
  switch (zone) {
    case Zone::Left:
    case Zone::Right:
      return IDC_SIZEWE;
    case Zone::Top:
    case Zone::Bottom:
      return IDC_SIZENS;
    case Zone::TopLeft:
    case Zone::BottomRight:
      return IDC_SIZENWSE;
    case Zone::TopRight:
    case Zone::BottomLeft:
      return IDC_SIZENESW;
    case Zone::Move:
    case Zone::None:
      break;
  }
  return nullptr;
}

// The zone under a client point of a window.
inline Zone ZoneAt(HWND window, bool maximized, POINT client) {
  RECT r = {};
  GetClientRect(window, &r);
  return DragZone(maximized, r.left, r.top, r.right, r.bottom, client.x, client.y);
}

// Hands a left-button press at a client point to the window manager, which
// then moves or sizes the window as if the press were on a real border or caption.
inline void BeginDrag(HWND window, Zone zone, POINT client) {
  const WPARAM code = HitCodeFor(zone);
  if (code == HTNOWHERE) return;
  POINT screen = client;
  ClientToScreen(window, &screen);
  ReleaseCapture();
  SendMessageW(window, WM_NCLBUTTONDOWN, code, MAKELPARAM(screen.x, screen.y));
}

// Sets the sizing cursor over a border zone; false (cursor left alone) elsewhere.
inline bool SetZoneCursor(HWND window, bool maximized) {
  POINT p = {};
  GetCursorPos(&p);
  ScreenToClient(window, &p);
  LPCWSTR cursor = CursorFor(ZoneAt(window, maximized, p));
  if (!cursor) return false;
  SetCursor(LoadCursorW(nullptr, cursor));
  return true;
}

// A modal window's place in the key chain (ui/key_chain.h), ahead of the
// dialog manager: Enter (and Escape, when asked) are swallowed, and the
// window's accelerator tables are tried, each sending its command to the
// window. A viewer opened over the preview has its own; each sees only the
// keys bound for its window.
class KeyFilter {
 public:
  void Install(HWND dialog, bool swallowEscape, std::vector<HACCEL> tables) {
    dialog_ = dialog;
    swallowEscape_ = swallowEscape;
    tables_ = std::move(tables);
    filter_.Add(dialog, ui::KeyStage::Accelerators, [this](MSG& msg) { return Handles(msg); });
  }
  void Remove() { filter_.Remove(); }

 private:
  bool Handles(MSG& msg) const {
    const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR;
    if (key && (msg.wParam == VK_RETURN || (swallowEscape_ && msg.wParam == VK_ESCAPE))) return true;
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    for (HACCEL table : tables_)
      if (TranslateAcceleratorW(dialog_, table, &msg)) return true;
    return false;
  }

  HWND dialog_ = nullptr;
  bool swallowEscape_ = false;
  std::vector<HACCEL> tables_;
  ui::KeyFilter filter_;
};

}  // namespace framlet::preview
