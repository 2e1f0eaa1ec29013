#include "windows/picture_prompt_dlg.h"

#include "ui/gdi.h"

CPicturePromptDlg::CPicturePromptDlg(const PicturePromptLook& look) : CDialogBase(look.dialogId), look_(look) {}

BOOL CPicturePromptDlg::OnInitDialog() {
  background_.Load(look_.background);
  const framlet::options::Place p = Placement();
  SetWindowPos(Hwnd(), nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
  button_.Attach(Hwnd(), IDOK, look_.face, look_.pressedFace, look_.hoverFace);
  button_.Move(look_.button.x, look_.button.y, look_.button.width, look_.button.height);
  return TRUE;
}

void CPicturePromptDlg::OnPaint() {
  framlet::ui::PaintDC dc(Hwnd());
  if (background_) background_.Draw(dc, 0, 0);
}

INT_PTR CPicturePromptDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      if (background_) {
        background_.Draw(reinterpret_cast<HDC>(wParam), 0, 0);
        return Result(TRUE);
      }
      break;
    case WM_PAINT:
      OnPaint();
      return TRUE;
    case WM_NCHITTEST:
      // The picture is the caption: a press on it drags the window. The
      // button is a child and answers its own hit test.
      if (look_.dragToMove) {
        const LRESULT hit = DefWindowProcW(Hwnd(), message, wParam, lParam);
        return Result(hit == HTCLIENT ? HTCAPTION : hit);
      }
      break;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
