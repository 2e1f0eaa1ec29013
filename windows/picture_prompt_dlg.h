#pragma once
#include <windows.h>

#include "ui/picture.h"
#include "ui/skin_button.h"
#include "ui/window_base.h"
#include "windows/option_rules.h"

// How a picture prompt looks: its template, the picture it is painted with,
// its one button (faces and place) and where it opens.
struct PicturePromptLook {
  int dialogId;
  int background;
  int face, pressedFace, hoverFace;
  framlet::options::Place button;
  // Dragging anywhere on the picture moves the window.
  bool dragToMove;
};

// A modal prompt painted with one picture and carrying one picture button,
// which ends it with IDOK; Escape ends it with IDCANCEL. The sign-in and
// recorder prompts are two looks of it.
class CPicturePromptDlg : public CDialogBase {
 public:
  explicit CPicturePromptDlg(const PicturePromptLook& look);

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  // The window's place and size on the screen, worked out when it opens.
  virtual framlet::options::Place Placement() const = 0;

 private:
  void OnPaint();

  PicturePromptLook look_;
  framlet::ui::Picture background_;
  CSkinButton button_;
};
