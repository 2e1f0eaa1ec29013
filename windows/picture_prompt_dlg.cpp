#include "windows/picture_prompt_dlg.h"

#include <windowsx.h>

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
    case WM_LBUTTONDOWN:
      // A press on the picture moves the window, as a press on a caption
      // would; the button is a child and takes its own presses.
      if (look_.dragToMove) {
        POINT screen = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(Hwnd(), &screen);
        PostMessageW(Hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
        return TRUE;
      }
      break;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
