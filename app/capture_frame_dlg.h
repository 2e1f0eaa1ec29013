#pragma once
#include <windows.h>

// The capture frame: the program's main window (dialog 102, titled "Framlet5").
class CCaptureFrameDlg {
 public:
  CCaptureFrameDlg() = default;
  // Runs the frame modally; returns when the program ends.
  INT_PTR RunModal();
  HWND Handle() const { return hwnd_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};
