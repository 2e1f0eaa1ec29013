#pragma once
#include <windows.h>

// The continuous-capture options (dialog 279, caption "연속캡쳐 Option") and the
// in-memory holder of the interval between captures. Constructing it only
// reads the settings file; the capture frame keeps one for its whole life.
class CContinuousOptionDlg {
 public:
  // Reads CAPTURE_TIME (default "1000") into captureInterval.
  CContinuousOptionDlg();
  ~CContinuousOptionDlg();
  CContinuousOptionDlg(const CContinuousOptionDlg&) = delete;
  CContinuousOptionDlg& operator=(const CContinuousOptionDlg&) = delete;

  // Shows the dialog modally, owned by `owner`. IDOK when the user confirmed
  // (the interval is then stored and in captureInterval), else IDCANCEL.
  INT_PTR DoModal(HWND owner);

  HWND Handle() const { return hwnd_; }
  bool IsOpen() const { return hwnd_ != nullptr; }

  // Milliseconds between captures of a continuous capture.
  int captureInterval = 1000;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog();
  void OnOk();
  void OnPreset(int radioId);

  struct Skin;
  HWND hwnd_ = nullptr;
  Skin* skin_ = nullptr;
};
