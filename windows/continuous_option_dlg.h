#pragma once
#include <windows.h>

#include "ui/gdi.h"
#include "ui/skin_button.h"
#include "ui/skin_label.h"
#include "ui/window_base.h"

// The continuous-capture options (dialog 279, caption "연속캡쳐 Option") and the
// in-memory holder of the interval between captures. Constructing it only
// reads the settings file; the capture frame keeps one for its whole life.
// DoModal(owner) returns IDOK when the user confirmed (the interval is then
// stored and in captureInterval), else IDCANCEL.
class CContinuousOptionDlg : public CDialogBase {
 public:
  // Reads CAPTURE_TIME (default "1000") into captureInterval.
  CContinuousOptionDlg();

  // Milliseconds between captures of a continuous capture.
  int captureInterval = 1000;

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

 private:
  void LayOut();
  void OnOk();
  void OnRadio(int radioId);
  static LRESULT CALLBACK KeyFilter(int code, WPARAM wParam, LPARAM lParam);

  framlet::ui::Font font_;
  CSkinLabel hint_;
  CSkinButton ok_;
  CSkinButton cancel_;
  HHOOK keyHook_ = nullptr;
};
