#include "windows/image_scroll_view.h"

#include <algorithm>

#include "resource.h"
#include "ui/gdi.h"

namespace pv = framlet::preview;
namespace ui = framlet::ui;

namespace {

bool ToRequest(int code, pv::ScrollRequest* request) {
  switch (code) {
    case SB_LINEUP:
      *request = pv::ScrollRequest::LineBack;
      return true;
    case SB_LINEDOWN:
      *request = pv::ScrollRequest::LineForward;
      return true;
    case SB_PAGEUP:
      *request = pv::ScrollRequest::PageBack;
      return true;
    case SB_PAGEDOWN:
      *request = pv::ScrollRequest::PageForward;
      return true;
    case SB_THUMBTRACK:
      *request = pv::ScrollRequest::Track;
      return true;
    case SB_TOP:
      *request = pv::ScrollRequest::ToStart;
      return true;
    case SB_BOTTOM:
      *request = pv::ScrollRequest::ToEnd;
      return true;
    case SB_THUMBPOSITION:
    case SB_ENDSCROLL:
      *request = pv::ScrollRequest::EndScroll;
      return true;
  }
  return false;
}

}  // namespace

CImageScrollView::CImageScrollView(HBITMAP picture) : CDialogBase(IDD_IMAGE_SCROLL_VIEW), image(picture) {}

BOOL CImageScrollView::OnInitDialog() {
  if (image) {
    const SIZE size = ui::BitmapSize(image);
    imageWidth = size.cx;
    imageHeight = size.cy;
  }
  tile.Load(IDB_PREVIEW_TILE);
  // Until the picture needs them, the bars have nothing to scroll.
  SetScrollRange(Hwnd(), SB_HORZ, 0, 0, FALSE);
  SetScrollRange(Hwnd(), SB_VERT, 0, 0, FALSE);
  OnSize();
  return FALSE;
}

void CImageScrollView::UpdateScrollRanges() {
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  const int maxX = pv::ScrollMaximum(client.right, imageWidth);
  const int maxY = pv::ScrollMaximum(client.bottom, imageHeight);
  if (maxX >= 0) SetScrollRange(Hwnd(), SB_HORZ, 0, maxX, TRUE);
  if (maxY >= 0) SetScrollRange(Hwnd(), SB_VERT, 0, maxY, TRUE);
  InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CImageScrollView::OnSize() {
  HWND hwnd = Hwnd();
  RECT client = {};
  GetClientRect(hwnd, &client);
  // Showing a bar takes room from the other axis and comes back here with the new size.
  ShowScrollBar(hwnd, SB_HORZ, pv::NeedsBar(client.right, imageWidth));
  ShowScrollBar(hwnd, SB_VERT, pv::NeedsBar(client.bottom, imageHeight));
  scrollX = 0;
  scrollY = 0;
  UpdateScrollRanges();
  SetScrollPos(hwnd, SB_HORZ, 0, TRUE);
  SetScrollPos(hwnd, SB_VERT, 0, TRUE);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void CImageScrollView::OnScroll(int bar, int code) {
  pv::ScrollRequest request;
  if (!ToRequest(code, &request)) return;
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  const bool horizontal = bar == SB_HORZ;
  const int maximum = std::max(
      0, horizontal ? pv::ScrollMaximum(client.right, imageWidth) : pv::ScrollMaximum(client.bottom, imageHeight));
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(Hwnd(), bar, &info);
  ScrollTo(bar, pv::NextScrollPosition(request, horizontal, info.nPos, maximum, info.nTrackPos));
}

void CImageScrollView::OnWheel(int delta) {
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  const int maximum = std::max(0, pv::ScrollMaximum(client.bottom, imageHeight));
  const int next = pv::WheelScrollPosition(delta, scrollY, maximum, imageHeight, client.bottom);
  if (next != scrollY) ScrollTo(SB_VERT, next);
}

void CImageScrollView::ScrollTo(int bar, int position) {
  (bar == SB_HORZ ? scrollX : scrollY) = position;
  SetScrollPos(Hwnd(), bar, position, TRUE);
  InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CImageScrollView::OnPaint() {
  ui::PaintDC dc(Hwnd());
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  const int cw = client.right, ch = client.bottom;
  if (cw <= 0 || ch <= 0) return;
  ui::MemoryDC memory(dc);
  ui::Bitmap surface(CreateCompatibleBitmap(dc, cw, ch));
  if (!memory || !surface) return;
  ui::SelectGuard use(memory, surface.Get());
  if (tile) {
    ui::MemoryDC source(dc);
    ui::SelectGuard useTile(source, tile.Handle());
    for (int y = 0; y < ch; y += pv::kTileStep)
      for (int x = 0; x < cw; x += pv::kTileStep)
        BitBlt(memory, x, y, pv::kTileStep, pv::kTileStep, source, 0, 0, SRCCOPY);
  }
  if (image) {
    const pv::Origin at = pv::PictureOrigin(imageWidth, imageHeight, cw, ch);
    // Only the part that lies inside both the picture and the view.
    const int width = std::min(imageWidth - scrollX, cw - at.x);
    const int height = std::min(imageHeight - scrollY, ch - at.y);
    if (width > 0 && height > 0) {
      ui::MemoryDC source(dc);
      ui::SelectGuard usePicture(source, image);
      BitBlt(memory, at.x, at.y, width, height, source, scrollX, scrollY, SRCCOPY);
    }
  }
  BitBlt(dc, 0, 0, cw, ch, memory, 0, 0, SRCCOPY);
}

void CImageScrollView::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDCANCEL:
      // Escape typed while the view has the keys closes the viewer, not the view alone.
      PostMessageW(GetParent(Hwnd()), WM_COMMAND, IDCANCEL, 0);
      return;
    case IDOK:
      return;
  }
  CDialogBase::OnCommand(id, code, control);
}

INT_PTR CImageScrollView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return Result(TRUE);
    case WM_PAINT:
      OnPaint();
      return TRUE;
    case WM_SIZE:
      OnSize();
      return TRUE;
    case WM_HSCROLL:
      OnScroll(SB_HORZ, LOWORD(wParam));
      return TRUE;
    case WM_VSCROLL:
      OnScroll(SB_VERT, LOWORD(wParam));
      return TRUE;
    case WM_MOUSEWHEEL:
      OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return TRUE;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        PostMessageW(GetParent(Hwnd()), WM_COMMAND, IDCANCEL, 0);
        return TRUE;
      }
      break;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
