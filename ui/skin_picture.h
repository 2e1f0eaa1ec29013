#pragma once
#include <windows.h>

#include "ui/picture.h"
#include "ui/skinned_control.h"

// A static control that shows one bitmap resource over the parent's skin
// (magenta pixels see-through), stretched to the control's size.
class CSkinPicture : public CSkinnedControl {
 public:
  CSkinPicture() = default;

  bool Attach(HWND dialog, int id, UINT pictureId);
  void SetPicture(UINT pictureId);

 private:
  void Draw(HDC canvas, const RECT& client) override;

  framlet::ui::Picture picture_;
};
