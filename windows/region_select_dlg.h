#pragma once
#include <windows.h>

#include <memory>

#include "capture/capture_engine.h"
#include "core/capture_options.h"
#include "ui/window_base.h"
#include "windows/magnifier.h"
#include "windows/region_rules.h"

// What the region selection needs of the capture frame.
class IRegionSelectHost {
 public:
  // The frame shows its see-through hole (normal capture): grabs leave out
  // layered windows and the frame's transparency is set again afterwards.
  virtual bool FrameSeeThrough() const = 0;
  // After the capture: re-applies the frame's transparency when it is
  // see-through and shows the frame.
  virtual void RestoreFrame() = 0;

 protected:
  ~IRegionSelectHost() = default;
};

// The darkened, translucent veil over the whole virtual screen on which a region is
// dragged out, with full-width cross-hair lines, a rubber band drawn with an
// XOR pen, and the magnifier panel beside the cursor. Created once, hidden,
// and shown on demand; releasing the button hides it and captures the
// rectangle through its own engine. Enter and Escape close nothing.
class CRegionSelectDlg : public CDialogBase {
 public:
  explicit CRegionSelectDlg(IRegionSelectHost& host);
  ~CRegionSelectDlg() override;

  // Shows the veil and the panel over the screen.
  void Show();

  CMagnifierPanel& Panel() { return panel_; }
  CCaptureEngine* Engine() { return engine_.get(); }
  int Quality() const { return options_.jpegQuality; }

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

 private:
  void OnEraseBackground(HDC dc);
  void OnButtonDown(int x, int y);
  void OnMouseMove(int x, int y);
  void OnButtonUp(int x, int y);
  void SetOpacity(BYTE alpha);
  // Lays the veil over the whole virtual screen, from its real origin.
  void CoverScreens(UINT flags);
  // The rubber band from the drag start to (x, y), toggled with the XOR pen.
  void ToggleBand(HDC dc, int x, int y);
  void ToggleCrossHair(HDC dc, int x, int y, int width, int height);

  IRegionSelectHost& host_;
  std::unique_ptr<CCaptureEngine> engine_;
  framlet::CaptureOptions options_;
  CMagnifierPanel panel_;
  HCURSOR cross_ = nullptr;
  // Where the veil lies on the display: its client point (x, y) is the
  // display point (x + left, y + top).
  framlet::region::Rect overlay_;

  int lastCrossX_ = -1;
  int lastCrossY_ = -1;
  int startX_ = 0;
  int startY_ = 0;
  int cornerX_ = 0;
  int cornerY_ = 0;
  bool dragging_ = false;
  bool firstMove_ = true;
};

// Lets every window the program's own veil, panel or overlay covered paint
// itself again before the screen is read: windows of this thread at once,
// those of other programs within a short wait.
void LetScreenRepaint();
