#pragma once
#include <windows.h>

// What the full-capture notice needs from the capture frame. The frame
// implements it, so the notice does not depend on the frame's class.
struct INoticeHost {
  // The frame's window (placed, hidden and shown by the notice).
  virtual HWND FrameWindow() const = 0;
  // Captures the frame's hole (the area capture command).
  virtual void CaptureArea() = 0;
  // Layering of the frame: 0 colour key `key`, 1 translucent, 2 none.
  virtual bool SetLayered(int mode, COLORREF key) = 0;
  // Hides the frame's area outline window.
  virtual void HideAreaOutline() = 0;
  // Clears the frame's maximised state (buttons included).
  virtual void ClearMaximized() = 0;

 protected:
  ~INoticeHost() = default;
};

// A floating bar (dialog 236) shown while the capture frame covers the whole
// screen: its capture button captures the area, its close button returns the
// frame to its normal size, place and layering.
class CFullCaptureNoticeDlg {
 public:
  explicit CFullCaptureNoticeDlg(INoticeHost& host) : host_(host) {}
  ~CFullCaptureNoticeDlg();
  CFullCaptureNoticeDlg(const CFullCaptureNoticeDlg&) = delete;
  CFullCaptureNoticeDlg& operator=(const CFullCaptureNoticeDlg&) = delete;

  // Shows the notice modally, owned by the frame; returns when it is closed.
  INT_PTR DoModal();
  HWND Handle() const { return hwnd_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog();
  void OnPaint();
  void OnCapture();
  void OnClose();

  struct Skin;
  INoticeHost& host_;
  HWND hwnd_ = nullptr;
  Skin* skin_ = nullptr;
};
