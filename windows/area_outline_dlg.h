#pragma once
#include <windows.h>

// A child window of the capture frame (dialog 234) that marks the capture area
// with a thick red outline while the frame is translucent over the whole
// screen. Created hidden with the frame and destroyed with it.
class CAreaOutlineDlg {
 public:
  CAreaOutlineDlg() = default;
  ~CAreaOutlineDlg();
  CAreaOutlineDlg(const CAreaOutlineDlg&) = delete;
  CAreaOutlineDlg& operator=(const CAreaOutlineDlg&) = delete;

  // Creates the window, hidden, as a child of the capture frame at
  // (4, 100, w-8, h-144) of the frame's client size.
  bool Create(HWND frame);
  // Shows it (it then places itself over the frame's hole) or hides it.
  void Show();
  void Hide();
  HWND Handle() const { return hwnd_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint();
  void PlaceOverHole();

  HWND hwnd_ = nullptr;
  HWND frame_ = nullptr;
  HBITMAP strip_ = nullptr;
};
