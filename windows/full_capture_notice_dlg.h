#pragma once
#include <windows.h>

#include "ui/picture.h"
#include "ui/skin_button.h"
#include "ui/skin_label.h"
#include "ui/window_base.h"

// What the full-capture notice needs from the capture frame. The frame
// implements it, so the notice does not depend on the frame's class.
struct INoticeHost {
  // The frame's window (placed, hidden and shown by the notice).
  virtual HWND FrameWindow() const = 0;
  // Captures the frame's hole (the area capture command).
  virtual void CaptureArea() = 0;
  // Puts back the layering of the frame's capture mode (the see-through key
  // in normal capture, an ordinary window in web capture).
  virtual void ApplyModeLayering() = 0;
  // Hides the frame's area outline window.
  virtual void HideAreaOutline() = 0;
  // Clears the frame's maximised state.
  virtual void ClearMaximized() = 0;

 protected:
  ~INoticeHost() = default;
};

// A floating bar (dialog 236) shown modally, DoModal(frame window), while the
// capture frame covers the whole screen: its capture button captures the
// area, its close button returns the frame to its default size, place and
// layering and ends the notice.
class CFullCaptureNoticeDlg : public CDialogBase {
 public:
  explicit CFullCaptureNoticeDlg(INoticeHost& host);

  // Shows the notice modally, owned by the frame window; returns when closed.
  INT_PTR DoModal(HWND frame);

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  void OnCapture();
  void OnClose();
  void OnPaint();

  INoticeHost& host_;
  bool frameRestored_ = false;
  framlet::ui::Picture background_;
  CSkinLabel label_;
  CSkinButton capture_;
  CSkinButton close_;
};
