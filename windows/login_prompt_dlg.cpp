#include "windows/login_prompt_dlg.h"

#include "core/settings.h"
#include "core/settings_keys.h"
#include "resource.h"
#include "ui/gdi.h"
#include "windows/option_rules.h"

namespace opt = framlet::options;
namespace keys = framlet::keys;
namespace settings = framlet::settings;

CLoginPromptDlg::CLoginPromptDlg() : CDialogBase(IDD_LOGIN_PROMPT) {}

BOOL CLoginPromptDlg::OnInitDialog() {
  background_.Load(IDB_LOGIN_PROMPT);
  // Centred on the frame's last stored placement.
  const settings::FrameRect stored = settings::ReadFrameRect();
  const opt::Point origin = opt::PromptOrigin(stored.left, stored.top, stored.width, stored.height);
  SetWindowPos(Hwnd(), nullptr, origin.x, origin.y, opt::kPromptWidth, opt::kPromptHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  signIn_.Attach(Hwnd(), IDOK, IDB_LOGIN_BUTTON, IDB_LOGIN_BUTTON_PRESSED, IDB_LOGIN_BUTTON_HOVER);
  signIn_.Move(opt::kPromptButton.x, opt::kPromptButton.y, opt::kPromptButton.width, opt::kPromptButton.height);
  return TRUE;
}

void CLoginPromptDlg::OnPaint() {
  framlet::ui::PaintDC dc(Hwnd());
  if (background_) background_.Draw(dc, 0, 0);
}

INT_PTR CLoginPromptDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
