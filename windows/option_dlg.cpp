#include "windows/option_dlg.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "core/command_ids.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "core/system_path.h"
#include "resource.h"
#include "windows/dialog_text.h"
#include "windows/option_rules.h"

namespace opt = framlet::options;
namespace keys = framlet::keys;
namespace settings = framlet::settings;

namespace {

constexpr COLORREF kHintBlue = RGB(0, 0, 255);

// Shows the selected folder's path as the picker's status text.
int CALLBACK BrowseCallback(HWND picker, UINT message, LPARAM lParam, LPARAM) {
  if (message == BFFM_SELCHANGED) {
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path)) path[0] = '\0';
    SendMessageA(picker, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
  } else if (message == BFFM_VALIDATEFAILEDA || message == BFFM_VALIDATEFAILEDW) {
    return 1;  // a typed name that is no folder: keep the picker open
  }
  return 0;
}

}  // namespace

COptionDlg::COptionDlg(framlet::CaptureOptions& options, IOptionHost& host)
    : CDialogBase(IDD_OPTIONS), options_(options), host_(host) {}

INT_PTR COptionDlg::DoModal() {
  // One window at a time: a second request while it is open (the tray menu
  // works during the modal loop) does nothing.
  if (IsOpen()) return IDCANCEL;
  topmostChoice_ = TopmostChoice::None;
  const INT_PTR result = CDialogBase::DoModal(host_.FrameWindow());
  // Wine does not make a window topmost while it owns a pop-up (it lifts only
  // the pop-up), so the choice is applied again once the dialog is gone.
  if (topmostChoice_ != TopmostChoice::None) host_.SetAlwaysTop(topmostChoice_ == TopmostChoice::On);
  // OK empties the stored placement when position memory is switched off, and
  // the capture rectangle and the nudges read it: the frame writes its real
  // rectangle at once rather than waiting for a repaint that may never come.
  if (result == IDOK) host_.SaveFramePosition();
  return result;
}

BOOL COptionDlg::OnInitDialog() {
  LayOut();
  LoadValues();
  return TRUE;
}

void COptionDlg::LayOut() {
  HWND hwnd = Hwnd();
  const opt::Point origin = opt::CentreOn(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                          opt::kOptionWidth, opt::kOptionHeight);
  MoveWindow(hwnd, origin.x, origin.y, opt::kOptionWidth, opt::kOptionHeight, FALSE);

  font_ = framlet::dialogs::MakeControlFont();
  for (int id : {IDC_OPT_REMEMBER_POSITION, IDC_OPT_ALWAYS_TOP, IDC_OPT_AUTO_SAVE})
    SendDlgItemMessageW(hwnd, id, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);

  if (hint_.Attach(hwnd, IDC_OPT_QUALITY_HINT)) {
    hint_.SetFont(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    hint_.SetTextColour(kHintBlue);
    hint_.SetText(framlet::dialogs::kQualityHint);
  }
  ok_.Attach(hwnd, IDC_OK_PICTURE, IDB_OK_BUTTON, IDB_OK_BUTTON, IDB_OK_BUTTON);
  cancel_.Attach(hwnd, IDC_CANCEL_PICTURE, IDB_CANCEL_BUTTON, IDB_CANCEL_BUTTON, IDB_CANCEL_BUTTON);

  framlet::dialogs::PlaceControls(hwnd, opt::OptionLayout());
  // The spin sits inside the right end of the edit once attached to it.
  HWND spin = GetDlgItem(hwnd, IDC_OPT_QUALITY_SPIN);
  SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(hwnd, IDC_OPT_QUALITY)), 0);
  SendMessageW(spin, UDM_SETRANGE32, opt::kQualitySpinMin, opt::kQualitySpinMax);
}

void COptionDlg::LoadValues() {
  HWND hwnd = Hwnd();
  auto check = [hwnd](int id, const keys::Setting& setting) {
    CheckDlgButton(hwnd, id, settings::ReadFlag(setting) ? BST_CHECKED : BST_UNCHECKED);
  };
  check(IDC_OPT_REMEMBER_POSITION, keys::kRememberPosition);
  check(IDC_OPT_ALWAYS_TOP, keys::kAlwaysTop);
  check(IDC_OPT_AUTO_SAVE, keys::kAutoSave);
  check(IDC_OPT_REVIEW, keys::kCaptureReview);
  const std::string folder = settings::ReadText(keys::kSelectFolder);
  SetDlgItemTextA(hwnd, IDC_OPT_FOLDER, folder.c_str());
  const std::string quality = settings::ReadText(keys::kJpegQuality);
  SetDlgItemTextA(hwnd, IDC_OPT_QUALITY, quality.c_str());
}

void COptionDlg::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_OK_PICTURE:
      if (code == BN_CLICKED) OnOk();
      return;
    case IDC_CANCEL_PICTURE:
      if (code == BN_CLICKED) Close(IDCANCEL);
      return;
    case IDC_OPT_BROWSE:
      if (code == BN_CLICKED) OnBrowse();
      return;
    case IDC_OPT_OPEN_FOLDER:
      if (code == BN_CLICKED) OnOpenFolder();
      return;
    case IDOK:
      // Enter: the dialog has no default button; only the ok picture saves.
      return;
    case IDCANCEL:
      // Escape and the close box: close without saving.
      Close(IDCANCEL);
      return;
  }
  CDialogBase::OnCommand(id, code, control);
}

void COptionDlg::OnOk() {
  HWND hwnd = Hwnd();
  opt::OptionChoices choices;
  choices.rememberPosition = IsDlgButtonChecked(hwnd, IDC_OPT_REMEMBER_POSITION) == BST_CHECKED;
  choices.alwaysTop = IsDlgButtonChecked(hwnd, IDC_OPT_ALWAYS_TOP) == BST_CHECKED;
  choices.autoSave = IsDlgButtonChecked(hwnd, IDC_OPT_AUTO_SAVE) == BST_CHECKED;
  choices.captureReview = IsDlgButtonChecked(hwnd, IDC_OPT_REVIEW) == BST_CHECKED;
  choices.qualityText = framlet::dialogs::ItemTextA(hwnd, IDC_OPT_QUALITY);
  choices.folder = framlet::dialogs::ItemTextA(hwnd, IDC_OPT_FOLDER);

  const settings::FrameRect frame = host_.FramePlacement();
  choices.frameLeft = frame.left;
  choices.frameTop = frame.top;
  choices.frameClientWidth = frame.width;
  choices.frameClientHeight = frame.height;
  host_.SetAlwaysTop(choices.alwaysTop);
  topmostChoice_ = choices.alwaysTop ? TopmostChoice::On : TopmostChoice::Off;

  options_.autoSave = choices.autoSave;
  options_.captureReview = choices.captureReview;
  options_.jpegQuality = opt::ClampQuality(choices.qualityText).value;

  for (const opt::SettingWrite& w : opt::OptionWrites(choices)) settings::WriteText(*w.setting, w.value);
  Close(IDOK);
}

void COptionDlg::OnBrowse() {
  const std::string title = framlet::dialogs::ToSystemCodePage(framlet::dialogs::kFolderPickerTitle);
  char displayName[MAX_PATH] = {};
  BROWSEINFOA info = {};
  info.hwndOwner = Hwnd();
  info.pszDisplayName = displayName;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
  info.lpfn = BrowseCallback;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
  if (!chosen) return;
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(chosen, path)) path[0] = L'\0';
  CoTaskMemFree(chosen);
  // A virtual folder has no file-system path: fall back to the default folder.
  // A folder the code page cannot name (and that has no short form) is not taken.
  const std::string folder = path[0] ? framlet::SystemPath(path) : settings::DefaultSaveFolder();
  if (!folder.empty()) SetDlgItemTextA(Hwnd(), IDC_OPT_FOLDER, folder.c_str());
}

void COptionDlg::OnOpenFolder() {
  const std::string folder = framlet::dialogs::ItemTextA(Hwnd(), IDC_OPT_FOLDER);
  ShellExecuteA(Hwnd(), nullptr, folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void COptionDlg::OnDestroy() {
  ok_.Detach();
  cancel_.Detach();
  hint_.Detach();
  font_.Reset();
}
