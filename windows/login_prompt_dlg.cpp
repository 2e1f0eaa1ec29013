#include "windows/login_prompt_dlg.h"

#include "core/settings.h"
#include "resource.h"

namespace opt = framlet::options;
namespace settings = framlet::settings;

CLoginPromptDlg::CLoginPromptDlg()
    : CPicturePromptDlg({IDD_LOGIN_PROMPT, IDB_LOGIN_PROMPT, IDB_LOGIN_BUTTON, IDB_LOGIN_BUTTON_PRESSED,
                         IDB_LOGIN_BUTTON_HOVER, opt::kPromptButton, false}) {}

opt::Place CLoginPromptDlg::Placement() const {
  const settings::FrameRect stored = settings::ReadFrameRect();
  const opt::Point origin = opt::PromptOrigin(stored.left, stored.top, stored.width, stored.height);
  return {origin.x, origin.y, opt::kPromptWidth, opt::kPromptHeight};
}

CRecorderPromptDlg::CRecorderPromptDlg()
    : CPicturePromptDlg({IDD_RECORDER_PROMPT, IDB_RECORDER_PROMPT, IDB_RECORDER_BUTTON, IDB_RECORDER_BUTTON_PRESSED,
                         IDB_RECORDER_BUTTON_HOVER, opt::kRecorderPromptButton, true}) {}

opt::Place CRecorderPromptDlg::Placement() const {
  const settings::FrameRect stored = settings::ReadFrameRect();
  const opt::Point origin = opt::RecorderPromptOrigin(stored.left, stored.top, stored.width, stored.height);
  return {origin.x, origin.y, opt::kRecorderPromptWidth, opt::kRecorderPromptHeight};
}
