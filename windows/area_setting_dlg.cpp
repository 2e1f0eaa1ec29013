#include "windows/area_setting_dlg.h"

#include <commctrl.h>

#include <string>

#include "core/command_ids.h"
#include "core/settings.h"
#include "resource.h"
#include "windows/dialog_text.h"

namespace area = framlet::area;
namespace opt = framlet::options;

const wchar_t CAreaSettingDlg::kOutsideScreenMessage[] = L"선택하신 영역은 모니터 해상도가 지원하지 않습니다.";

namespace {

constexpr int kEdits[] = {IDC_AREA_X, IDC_AREA_Y, IDC_AREA_WIDTH, IDC_AREA_HEIGHT};
constexpr int kLabels[] = {IDC_AREA_X_LABEL, IDC_AREA_Y_LABEL, IDC_AREA_WIDTH_LABEL, IDC_AREA_HEIGHT_LABEL};

// The program's file name without its extension: the message box's caption.
std::wstring ProgramTitle() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, length < MAX_PATH ? length : 0);
  const size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

int64_t EditNumber(HWND dialog, int id) {
  return area::ParseNumber(framlet::dialogs::ItemTextA(dialog, id));
}

}  // namespace

CAreaSettingDlg::CAreaSettingDlg() : CDialogBase(IDD_AREA_SETTING) {}

INT_PTR CAreaSettingDlg::DoModal(HWND frame) {
  frame_ = frame;
  const INT_PTR result = CDialogBase::DoModal(frame);
  if (result != IDOK) return IDCANCEL;
  // The frame moves once the dialog is gone, so its repaint is not covered.
  if (frame_ && IsWindow(frame_)) MoveWindow(frame_, chosen_.x, chosen_.y, chosen_.width, chosen_.height, TRUE);
  return IDOK;
}

INT_PTR CAreaSettingDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {  // the close box
    Close(IDCANCEL);
    return TRUE;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}

BOOL CAreaSettingDlg::OnInitDialog() {
  HWND hwnd = Hwnd();
  LayOut();
  screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  AttachSpins();

  const framlet::settings::FrameRect stored = framlet::settings::ReadFrameRect();
  const area::Hole hole = area::HoleOfFrame(stored.left, stored.top, stored.width, stored.height);
  const int64_t values[] = {hole.x, hole.y, hole.width, hole.height};
  for (int i = 0; i < 4; ++i) SetDlgItemTextA(hwnd, kEdits[i], area::NumberText(values[i]).c_str());
  return TRUE;
}

void CAreaSettingDlg::LayOut() {
  HWND hwnd = Hwnd();
  const opt::Point origin = opt::CentreOn(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                          area::kDialogWidth, area::kDialogHeight);
  MoveWindow(hwnd, origin.x, origin.y, area::kDialogWidth, area::kDialogHeight, FALSE);

  font_ = framlet::dialogs::MakeControlFont();
  for (int id : kLabels) SendDlgItemMessageW(hwnd, id, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  for (int id : kEdits) SendDlgItemMessageW(hwnd, id, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  ok_.Attach(hwnd, IDC_AREA_OK, IDB_OK_BUTTON, IDB_OK_BUTTON, IDB_OK_BUTTON);
  cancel_.Attach(hwnd, IDC_AREA_CANCEL, IDB_CANCEL_BUTTON, IDB_CANCEL_BUTTON, IDB_CANCEL_BUTTON);
  framlet::dialogs::PlaceControls(hwnd, area::AreaLayout());
}

void CAreaSettingDlg::AttachSpins() {
  HWND hwnd = Hwnd();
  struct SpinOf {
    int spin, edit, upper;
  };
  const SpinOf spins[] = {
      {IDC_AREA_X_SPIN, IDC_AREA_X, area::SpinUpperBound(screenWidth)},
      {IDC_AREA_Y_SPIN, IDC_AREA_Y, area::SpinUpperBound(screenHeight)},
      {IDC_AREA_WIDTH_SPIN, IDC_AREA_WIDTH, area::SpinUpperBound(screenWidth)},
      {IDC_AREA_HEIGHT_SPIN, IDC_AREA_HEIGHT, area::SpinUpperBound(screenHeight)},
  };
  // The 32-bit range keeps a screen wider than 32767 pixels a positive bound.
  for (const SpinOf& s : spins) {
    HWND spin = GetDlgItem(hwnd, s.spin);
    SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(hwnd, s.edit)), 0);
    SendMessageW(spin, UDM_SETRANGE32, 0, s.upper);
  }
}

void CAreaSettingDlg::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_AREA_OK:
      if (code == BN_CLICKED) OnOk();
      return;
    case IDC_AREA_CANCEL:
      if (code == BN_CLICKED) Close(IDCANCEL);
      return;
    case IDOK:
      // Enter: only the ok picture moves the frame.
      return;
    case IDCANCEL:
      Close(IDCANCEL);
      return;
  }
  CDialogBase::OnCommand(id, code, control);
}

void CAreaSettingDlg::OnOk() {
  HWND hwnd = Hwnd();
  area::Hole hole;
  hole.x = EditNumber(hwnd, IDC_AREA_X);
  hole.y = EditNumber(hwnd, IDC_AREA_Y);
  hole.width = EditNumber(hwnd, IDC_AREA_WIDTH);
  hole.height = EditNumber(hwnd, IDC_AREA_HEIGHT);
  if (!area::CornerAccepted(hole.x, hole.y, screenWidth, screenHeight)) {
    const std::wstring title = ProgramTitle();
    MessageBoxW(hwnd, kOutsideScreenMessage, title.c_str(), MB_OK);
    return;
  }
  chosen_ = area::FrameForHole(hole);
  Close(IDOK);
}

void CAreaSettingDlg::OnDestroy() {
  ok_.Detach();
  cancel_.Detach();
  font_.Reset();
}
