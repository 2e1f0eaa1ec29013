#pragma once
#include <windows.h>

#include <string>

#include "ui/gdi.h"
#include "ui/skinned_control.h"

// A static text drawn in a chosen colour and font, on a solid background or
// see-through over the parent's skin. It takes over an existing static control
// of a dialog (subclassed; it paints itself, so the parent needs no
// WM_CTLCOLORSTATIC handling).
//
// SetText hides the label, takes the new text and shows it again: hiding makes
// the parent repaint the area under it, which windows such as the capture frame
// rely on to run their paint handler after every move and resize.
class CSkinLabel : public CSkinnedControl {
 public:
  CSkinLabel() = default;

  // Takes over control `id` of `dialog`; false when there is no such control.
  bool Attach(HWND dialog, int id);

  void SetTextColour(COLORREF colour);
  // Solid background in `colour`; the default is see-through.
  void SetBackground(COLORREF colour);
  void SetTransparent();
  // The label does not own the font; the caller keeps it alive while the label shows it.
  // Without one the label uses the control's font (in a dialog built on
  // CDialogBase, the dialog's text font in pixels), else its parent's.
  void SetFont(HFONT font);
  HFONT TextFont() const;
  // DT_LEFT, DT_CENTER or DT_RIGHT (single line, vertically centred).
  void SetAlignment(UINT format) { alignment_ = format; }

  // Hides, sets the text, shows again.
  void SetText(const std::wstring& text);
  std::wstring Text() const;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Draw(HDC canvas, const RECT& client) override;

  COLORREF textColour_ = RGB(0, 0, 0);
  COLORREF backColour_ = RGB(255, 255, 255);
  bool transparent_ = true;
  HFONT font_ = nullptr;
  UINT alignment_ = DT_LEFT;
};
