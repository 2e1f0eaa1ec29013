#pragma once
#include <windows.h>

#include "ui/picture.h"
#include "ui/skin_label.h"
#include "ui/window_base.h"

// The picture tip shown while the pointer rests on a described button
// (dialog 319): a borderless layered popup whose magenta pixels are
// see-through. It paints its current picture at 0, 0 and hides itself as soon
// as the pointer enters it.
class CHoverTipDlg : public CDialogBase {
 public:
  CHoverTipDlg();

  // Creates the window hidden, owned by `owner`.
  bool Create(HWND owner) { return CDialogBase::Create(owner); }

  // Picture index 0-10 selects pictures 320-330, 11 picture 332 and 12 picture
  // 333; any other index leaves the current picture as it is.
  void SetPicture(int index);
  // Picture and size in one call, as the toolbars and the frame use it.
  void SetTip(int index, int width, int height);
  // Shows the tip at screen position x, y (without taking the focus), top-most.
  void ShowAt(int x, int y);
  void Hide();
  bool Visible() const;
  UINT PictureId() const { return picture_.ResourceId(); }

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;

 private:
  void OnPaint();
  BOOL OnEraseBackground(HDC dc);

  framlet::ui::Picture picture_;
  CSkinLabel label_;
  int width_ = 0;
  int height_ = 51;
};
