#pragma once
#include <windows.h>

#include "ui/picture.h"
#include "ui/skin_button.h"
#include "ui/window_base.h"

// The sign-in prompt (dialog 306): a picture asking the user to sign in, with
// one button, centred on the frame's stored placement. Created for each use:
// DoModal(owner) returns IDOK when the sign-in button was pressed (the caller
// then opens the sign-in page) and IDCANCEL on Escape.
class CLoginPromptDlg : public CDialogBase {
 public:
  CLoginPromptDlg();

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;

 private:
  void OnPaint();

  framlet::ui::Picture background_;
  CSkinButton signIn_;
};
