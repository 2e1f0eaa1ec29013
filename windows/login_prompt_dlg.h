#pragma once
#include <windows.h>

// The sign-in prompt (dialog 306): a picture asking the user to sign in, with
// one button. Created for each use.
class CLoginPromptDlg {
 public:
  CLoginPromptDlg() = default;
  ~CLoginPromptDlg();
  CLoginPromptDlg(const CLoginPromptDlg&) = delete;
  CLoginPromptDlg& operator=(const CLoginPromptDlg&) = delete;

  // Shows the prompt modally, centred on the frame's stored placement. IDOK
  // when the sign-in button was pressed (the caller then opens the sign-in
  // page), IDCANCEL on Escape.
  INT_PTR DoModal(HWND owner);
  HWND Handle() const { return hwnd_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog();
  void OnPaint();

  struct Skin;
  HWND hwnd_ = nullptr;
  Skin* skin_ = nullptr;
};
