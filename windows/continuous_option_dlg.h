#pragma once
#include <windows.h>

#include "core/capture_options.h"
#include "ui/gdi.h"
#include "ui/key_chain.h"
#include "ui/skin_button.h"
#include "ui/skin_label.h"
#include "ui/window_base.h"

// The continuous-capture options (dialog 279, caption "연속캡쳐 Option"): the
// interval between the captures of a continuous capture. It edits the
// frame's in-memory capture options and the settings file together.
// DoModal(owner) returns IDOK when the user confirmed (the interval is then
// stored and in the options' captureInterval), else IDCANCEL.
class CContinuousOptionDlg : public CDialogBase {
 public:
  explicit CContinuousOptionDlg(framlet::CaptureOptions& options);

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

 private:
  void LayOut();
  void OnOk();
  void OnRadio(int radioId);

  framlet::CaptureOptions& options_;
  framlet::ui::Font font_;
  CSkinLabel hint_;
  CSkinButton ok_;
  CSkinButton cancel_;
  // Enter and Escape for the focused control, until the window is destroyed.
  framlet::ui::KeyFilter keys_;
};
