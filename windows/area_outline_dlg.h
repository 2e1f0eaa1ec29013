#pragma once
#include <windows.h>

#include "ui/picture.h"
#include "ui/window_base.h"

// A child window of the capture frame (dialog 234) that marks the capture area
// with a thick red outline while the frame is translucent over the whole
// screen. The frame creates it hidden with Create(frame) and destroys it with
// itself; the frame and the full-capture notice show and hide it.
class CAreaOutlineDlg : public CDialogBase {
 public:
  CAreaOutlineDlg();

  // Shows it over the frame's hole, or hides it.
  void Show();
  void Hide();

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;

 private:
  // Follows the frame's client size: over the hole, below the top band.
  void PlaceOverHole();
  void DrawStrip(HDC dc);
  void OnPaint();

  framlet::ui::Picture strip_;
};
