#pragma once
#include <windows.h>

#include "ui/gdi.h"
#include "ui/skin_button.h"
#include "ui/window_base.h"
#include "windows/area_rules.h"

// The area dialog (dialog 283, caption "영역지정"): the capture rectangle typed
// as four numbers, the hole's screen position and size. It opens with the
// frame's stored placement (AUTOPOS_HISTORY), not the frame's current one. A
// valid OK moves and sizes the frame so that its hole covers the typed
// rectangle; a corner outside the virtual screen is refused with a message
// and the dialog stays open. The frame keeps one object for its life.
class CAreaSettingDlg : public CDialogBase {
 public:
  CAreaSettingDlg();

  // Shows the dialog modally, owned by `frame`, the window OK moves. Returns
  // IDOK after a move, else IDCANCEL.
  INT_PTR DoModal(HWND frame);

  // The warning shown for a refused corner.
  static const wchar_t kOutsideScreenMessage[];

  // The virtual screen's size, taken when the dialog opens.
  int screenWidth = 0;
  int screenHeight = 0;

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

 private:
  void LayOut();
  void AttachSpins();
  void OnOk();

  HWND frame_ = nullptr;
  framlet::area::FramePlace chosen_;
  framlet::ui::Font font_;
  CSkinButton ok_;
  CSkinButton cancel_;
};
