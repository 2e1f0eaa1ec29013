#pragma once
#include <windows.h>

#include "ui/gdi.h"
#include "ui/picture.h"
#include "ui/window_base.h"
#include "windows/region_rules.h"

// The full-screen overlay that lets the user point at a window: it shows the
// desktop frozen as it was when it opened, a small cross at the cursor and a
// red outline around the live window under the cursor, and ends with a click
// on a window. Enter and Escape close nothing. Run modally; afterwards the
// caller reads clicked, pickedWindow and pickedRect.
class CWindowPickerDlg : public CDialogBase {
 public:
  CWindowPickerDlg();
  ~CWindowPickerDlg() override;

  // Fields, in this order.
  RECT pickedRect = {0, 0, 0, 0};
  HWND pickedWindow = nullptr;
  int overlayWidth = 0;
  int overlayHeight = 0;
  bool clicked = false;

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

 private:
  // A memory image with its context and the bitmap the context held before.
  struct Surface {
    HDC dc = nullptr;
    HBITMAP image = nullptr;
    HGDIOBJ previous = nullptr;
    bool Make(HDC compatibleWith, int width, int height);
    void Free();
  };

  // The window under (x, y), never the overlay itself.
  HWND WindowAt(int x, int y);
  void OnMouseMove();
  void OnPaint();

  // Where the overlay lies on the display (the virtual screen).
  framlet::region::Rect overlay_;
  Surface frozen_;
  Surface back_;
  framlet::ui::Picture cross_;
  framlet::region::Rect shownWindow_;
  framlet::region::Point shownCursor_;
  bool shown_ = false;
};
