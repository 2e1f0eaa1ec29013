#include "windows/area_outline_dlg.h"

#include "resource.h"
#include "ui/gdi.h"
#include "windows/option_rules.h"

namespace opt = framlet::options;
using framlet::ui::SelectGuard;

namespace {

constexpr COLORREF kOutlineRed = RGB(250, 0, 0);

SIZE ClientSize(HWND window) {
  RECT r = {};
  if (window) GetClientRect(window, &r);
  return {r.right, r.bottom};
}

}  // namespace

CAreaOutlineDlg::CAreaOutlineDlg() : CDialogBase(IDD_AREA_OUTLINE) {}

BOOL CAreaOutlineDlg::OnInitDialog() {
  strip_.Load(IDB_AREA_OUTLINE_STRIP);
  const SIZE frame = ClientSize(GetParent(Hwnd()));
  const opt::Place p = opt::OutlineCreatePlace(frame.cx, frame.cy);
  SetWindowPos(Hwnd(), nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  return FALSE;
}

void CAreaOutlineDlg::Show() {
  if (!IsOpen()) return;
  PlaceOverHole();
  ShowWindow(Hwnd(), SW_SHOW);
  InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CAreaOutlineDlg::Hide() {
  if (IsOpen()) ShowWindow(Hwnd(), SW_HIDE);
}

void CAreaOutlineDlg::PlaceOverHole() {
  const SIZE frame = ClientSize(GetParent(Hwnd()));
  const opt::Place p = opt::OutlineShownPlace(frame.cx, frame.cy);
  RECT current = {};
  GetWindowRect(Hwnd(), &current);
  MapWindowPoints(nullptr, GetParent(Hwnd()), reinterpret_cast<POINT*>(&current), 2);
  // Moving only when the place differs keeps a paint from causing another.
  if (current.left != p.x || current.top != p.y || current.right - current.left != p.width ||
      current.bottom - current.top != p.height) {
    SetWindowPos(Hwnd(), nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CAreaOutlineDlg::DrawStrip(HDC dc) {
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
  if (!strip_) return;
  const opt::StripPieces s = opt::OutlineStrip(client.right);
  strip_.Stretch(dc, s.left.x, s.left.y, s.left.width, s.left.height);
  strip_.Stretch(dc, s.middle.x, s.middle.y, s.middle.width, s.middle.height);
  strip_.Stretch(dc, s.right.x, s.right.y, s.right.width, s.right.height);
}

void CAreaOutlineDlg::OnPaint() {
  // The outline follows the frame's size whenever it is drawn.
  PlaceOverHole();
  framlet::ui::PaintDC dc(Hwnd());
  const SIZE frame = ClientSize(GetParent(Hwnd()));
  const opt::OutlineRect r = opt::OutlineFrameRect(frame.cx, frame.cy);
  framlet::ui::Pen pen(CreatePen(PS_SOLID, opt::kOutlinePenWidth, kOutlineRed));
  SelectGuard usePen(dc, pen);
  SelectGuard useBrush(dc, GetStockObject(HOLLOW_BRUSH));
  const int oldMix = SetROP2(dc, R2_COPYPEN);
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  SetROP2(dc, oldMix);
}

INT_PTR CAreaOutlineDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      DrawStrip(reinterpret_cast<HDC>(wParam));
      return Result(TRUE);
    case WM_PAINT:
      OnPaint();
      return TRUE;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
