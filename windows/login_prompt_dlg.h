#pragma once
#include "windows/picture_prompt_dlg.h"

// The sign-in prompt (dialog 306): a picture asking the user to sign in, with
// one button, centred on the frame's stored placement. Created for each use:
// DoModal(owner) returns IDOK when the sign-in button was pressed (the caller
// then opens the sign-in page) and IDCANCEL on Escape.
class CLoginPromptDlg : public CPicturePromptDlg {
 public:
  CLoginPromptDlg();

 protected:
  framlet::options::Place Placement() const override;
};

// The recorder prompt (dialog 339): asks to download the separate screen
// recorder, which is not installed. Placed on the frame's stored placement and
// moved by dragging anywhere on it. DoModal(owner) returns IDOK when its
// download button was pressed.
class CRecorderPromptDlg : public CPicturePromptDlg {
 public:
  CRecorderPromptDlg();

 protected:
  framlet::options::Place Placement() const override;
};
