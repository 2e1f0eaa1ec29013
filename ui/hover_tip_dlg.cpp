#include "ui/hover_tip_dlg.h"

#include "resource.h"
#include "ui/hover_tip_rules.h"

using framlet::ui::PaintDC;

CHoverTipDlg::CHoverTipDlg() : CDialogBase(IDD_HOVER_TIP) {}

BOOL CHoverTipDlg::OnInitDialog() {
  SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(Hwnd(), framlet::ui::kColourKey, 255, LWA_COLORKEY);
  // The grey label stays empty; skinned, it shows the tip picture behind it.
  label_.Attach(Hwnd(), -1);
  label_.SetTextColour(RGB(128, 128, 128));
  label_.SetTransparent();
  ShowWindow(Hwnd(), SW_HIDE);
  return FALSE;
}

void CHoverTipDlg::SetPicture(int index) {
  const int id = framlet::ui::HoverTipPictureId(index);
  if (id == 0 || static_cast<UINT>(id) == picture_.ResourceId()) return;
  picture_.Load(static_cast<UINT>(id));
  if (Hwnd()) RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
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

bool CHoverTipDlg::Visible() const {
  return Hwnd() && IsWindowVisible(Hwnd());
}

void CHoverTipDlg::OnPaint() {
  // Everything is drawn by the erase handler, which the label also uses for its background.
  PaintDC dc(Hwnd());
}

BOOL CHoverTipDlg::OnEraseBackground(HDC dc) {
  // Whatever the picture does not cover stays see-through.
  RECT client;
  GetClientRect(Hwnd(), &client);
  framlet::ui::Brush key(CreateSolidBrush(framlet::ui::kColourKey));
  FillRect(dc, &client, key);
  if (picture_) picture_.Draw(dc, 0, 0);
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
