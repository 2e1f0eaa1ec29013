#include "ui/hover_tip_dlg.h"

#include "resource.h"
#include "ui/hover_tip_rules.h"

using framlet::ui::PaintDC;

CHoverTipDlg::CHoverTipDlg() : CDialogBase(IDD_HOVER_TIP) {}

BOOL CHoverTipDlg::OnInitDialog() {
  SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(Hwnd(), framlet::ui::kColourKey, 255, LWA_COLORKEY);
  ShowWindow(Hwnd(), SW_HIDE);
  return FALSE;
}

void CHoverTipDlg::SetPicture(int index) {
  const int id = framlet::ui::HoverTipPictureId(index);
  if (id == 0 || static_cast<UINT>(id) == picture_.ResourceId()) return;
  picture_.Load(static_cast<UINT>(id));
  if (Hwnd()) InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CHoverTipDlg::SetTip(int index, int width, int height) {
  SetPicture(index);
  width_ = width;
  height_ = height;
}

void CHoverTipDlg::ShowAt(int x, int y) {
  if (!Hwnd()) return;
  const int width = width_ > 0 ? width_ : picture_.Width();
  const int height = height_ > 0 ? height_ : picture_.Height();
  SetWindowPos(Hwnd(), HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CHoverTipDlg::Hide() {
  if (Hwnd() && IsWindowVisible(Hwnd())) ShowWindow(Hwnd(), SW_HIDE);
}

bool CHoverTipDlg::Visible() const { return Hwnd() && IsWindowVisible(Hwnd()); }

void CHoverTipDlg::OnPaint() {
  PaintDC dc(Hwnd());
  if (picture_) picture_.Draw(dc, 0, 0);
}

BOOL CHoverTipDlg::OnEraseBackground(HDC dc) {
  // Whatever the picture does not cover stays see-through.
  RECT client;
  GetClientRect(Hwnd(), &client);
  framlet::ui::Brush key(CreateSolidBrush(framlet::ui::kColourKey));
  FillRect(dc, &client, key);
  return TRUE;
}

INT_PTR CHoverTipDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return TRUE;
    case WM_ERASEBKGND:
      return Result(OnEraseBackground(reinterpret_cast<HDC>(wParam)));
    case WM_MOUSEMOVE:
    case WM_SETCURSOR:
      Hide();
      return FALSE;
    case WM_MOUSEACTIVATE:
      return Result(MA_NOACTIVATE);
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
