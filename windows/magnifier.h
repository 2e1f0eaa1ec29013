#pragma once
#include <windows.h>

#include "ui/gdi.h"
#include "ui/picture.h"
#include "ui/window_base.h"

// A child window that shows the screen around the cursor enlarged, with a
// fixed cross-hair, so that a region's corners can be placed to the pixel. It
// redraws itself from a timer when the cursor has moved; while its window is
// hidden it does nothing. The last view is kept, so a repaint without a
// cursor move shows it again without reading the screen.
class CMYMagnify : public CWindowBase {
 public:
  CMYMagnify();
  ~CMYMagnify() override;

  // Creates it as a visible child at (x, y) with the given client size.
  bool Create(HWND parent, int x, int y, int width, int height);

  // Draws when the cursor has moved since the last draw (of any magnifier),
  // or always with `force`. Returns whether it drew.
  bool Draw(bool force = false);

  // Fields, fixed when constructed.
  const unsigned zoom;
  const UINT timerInterval;
  const int crossHair;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnPaint();
  // Copies the kept view to the client area.
  void Present(HDC dc);

  // Kept from one draw to the next: the enlarged view, the screen copy and
  // their drawing surfaces, and the pens and brush.
  struct Surface {
    HDC dc = nullptr;
    HBITMAP image = nullptr;
    HGDIOBJ previous = nullptr;
    SIZE size = {0, 0};
    // A surface of this size compatible with `screen`, made again only when the size changes.
    bool Fit(HDC screen, int width, int height);
    void Free();
  };
  void FreeSurfaces();
  Surface view_;
  Surface source_;
  framlet::ui::Pen crossPen_;
  framlet::ui::Pen silverPen_;
  framlet::ui::Brush silverBrush_;
};

// The small layered panel that follows the cursor during region selection:
// its background picture, the magnifier and the cursor's coordinates. Magenta
// pixels of the picture are see-through. Enter and Escape close nothing.
class CMagnifierPanel : public CDialogBase {
 public:
  CMagnifierPanel();

  // Moves the panel (topmost, size kept) and shows "x X y" in its label.
  void MoveTo(int left, int top, int cursorX, int cursorY);
  CMYMagnify& Magnifier() { return magnifier_; }

  int cursorX = 0;
  int cursorY = 0;

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

 private:
  void OnPaint();

  CMYMagnify magnifier_;
  framlet::ui::Picture background_;
  framlet::ui::Font labelFont_;
  framlet::ui::Brush labelBrush_;
};
