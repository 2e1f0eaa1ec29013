#pragma once
#include <windows.h>

#include "ui/picture.h"
#include "ui/window_base.h"
#include "windows/preview_rules.h"

// The actual-size viewer's scrolling view (dialog 271): a child window with a
// horizontal and a vertical scroll bar that shows a picture at 1:1 over a tiled
// backdrop, centred on an axis where it is smaller than the view and scrollable
// where it is larger. The picture belongs to the caller and must outlive the view.
class CImageScrollView : public CDialogBase {
 public:
  explicit CImageScrollView(HBITMAP picture);

  // Sets the scroll ranges for the view's current client size (a range the
  // picture fits in is left as it was) and repaints.
  void UpdateScrollRanges();
  // A wheel turn as the wheel message gives it.
  void OnWheel(int delta);

  int ScrollX() const { return scrollX; }
  int ScrollY() const { return scrollY; }

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  void OnSize();
  void OnScroll(int bar, int request);
  void OnPaint();
  void ScrollTo(int bar, int position);

  // Fields as the window defines them.
  HBITMAP image;
  int imageWidth = 0;
  int imageHeight = 0;
  framlet::ui::Picture tile;
  int scrollX = 0;
  int scrollY = 0;
};
