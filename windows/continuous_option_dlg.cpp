#include "windows/continuous_option_dlg.h"

#include <commctrl.h>

#include <string>

#include "core/command_ids.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "resource.h"
#include "windows/dialog_text.h"
#include "windows/option_rules.h"

namespace opt = framlet::options;
namespace keys = framlet::keys;
namespace settings = framlet::settings;

namespace {

constexpr COLORREF kHintRed = RGB(255, 0, 0);

bool IsEnterOrEscape(const MSG& msg) {
  const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR;
  return key && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
}

}  // namespace

CContinuousOptionDlg::CContinuousOptionDlg(framlet::CaptureOptions& options)
    : CDialogBase(IDD_CONTINUOUS_OPTIONS), options_(options) {}

INT_PTR CContinuousOptionDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {  // the close box
    Close(IDCANCEL);
    return TRUE;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}

BOOL CContinuousOptionDlg::OnInitDialog() {
  LayOut();
  const std::string stored = settings::ReadText(keys::kCaptureTime);
  SetDlgItemTextA(Hwnd(), IDC_CONT_INTERVAL, stored.c_str());
  CheckRadioButton(Hwnd(), IDC_CONT_CUSTOM, IDC_CONT_1_PER_30_MINUTES, opt::RadioForInterval(stored));
  // The dialog manager turns Enter and Escape into OK and Cancel before the
  // focused control sees them; this hands them to the control instead.
  keys_.Add(Hwnd(), framlet::ui::KeyStage::WindowKeys, [](MSG& msg) {
    if (!IsEnterOrEscape(msg)) return false;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
  });
  return TRUE;
}

void CContinuousOptionDlg::LayOut() {
  HWND hwnd = Hwnd();
  const opt::Point origin = opt::CentreOn(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                          opt::kContinuousWidth, opt::kContinuousHeight);
  MoveWindow(hwnd, origin.x, origin.y, opt::kContinuousWidth, opt::kContinuousHeight, FALSE);

  font_ = framlet::dialogs::MakeControlFont();
  SendDlgItemMessageW(hwnd, IDC_CONT_LABEL, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  if (hint_.Attach(hwnd, IDC_CONT_HINT)) {
    hint_.SetFont(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    hint_.SetTextColour(kHintRed);
    hint_.SetText(framlet::dialogs::kIntervalHint);
  }
  ok_.Attach(hwnd, IDC_OK_PICTURE, IDB_OK_BUTTON, IDB_OK_BUTTON, IDB_OK_BUTTON);
  cancel_.Attach(hwnd, IDC_CANCEL_PICTURE, IDB_CANCEL_BUTTON, IDB_CANCEL_BUTTON, IDB_CANCEL_BUTTON);

  framlet::dialogs::PlaceControls(hwnd, opt::ContinuousLayout());
  HWND spin = GetDlgItem(hwnd, IDC_CONT_SPIN);
  SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(hwnd, IDC_CONT_INTERVAL)), 0);
  SendMessageW(spin, UDM_SETRANGE32, opt::kIntervalSpinMin, opt::kIntervalSpinMax);
}

void CContinuousOptionDlg::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_OK_PICTURE:
      if (code == BN_CLICKED) OnOk();
      return;
    case IDC_CANCEL_PICTURE:
      if (code == BN_CLICKED) Close(IDCANCEL);
      return;
    case IDC_CONT_CUSTOM:
    case IDC_CONT_15_PER_SECOND:
    case IDC_CONT_30_PER_SECOND:
    case IDC_CONT_1_PER_SECOND:
    case IDC_CONT_1_PER_MINUTE:
    case IDC_CONT_1_PER_10_MINUTES:
    case IDC_CONT_1_PER_30_MINUTES:
      if (code == BN_CLICKED) OnRadio(id);
      return;
    case IDOK:
    case IDCANCEL:
      // Enter and Escape belong to the focused control; only the picture
      // buttons and the close box end the dialog.
      return;
  }
  CDialogBase::OnCommand(id, code, control);
}

void CContinuousOptionDlg::OnRadio(int radioId) {
  const char* text = opt::IntervalForRadio(radioId);
  const std::string current = framlet::dialogs::ItemTextA(Hwnd(), IDC_CONT_INTERVAL);
  SetDlgItemTextA(Hwnd(), IDC_CONT_INTERVAL, text ? text : current.c_str());
}

void CContinuousOptionDlg::OnOk() {
  const std::string text = framlet::dialogs::ItemTextA(Hwnd(), IDC_CONT_INTERVAL);
  options_.captureInterval = opt::IntervalFromText(text);
  settings::WriteText(keys::kCaptureTime, text);
  Close(IDOK);
}

void CContinuousOptionDlg::OnDestroy() {
  keys_.Remove();
  ok_.Detach();
  cancel_.Detach();
  hint_.Detach();
  font_.Reset();
}
