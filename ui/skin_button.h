#pragma once
#include <windows.h>

#include "ui/picture.h"
#include "ui/skinned_control.h"

// A picture button or check box drawn from three bitmap resources: the face
// at rest (also when disabled), pressed (also while a check box is checked)
// and with the pointer over it. It takes over an existing button control of a
// dialog: the control becomes owner-drawn (BS_OWNERDRAW), its caption is
// cleared, and it is subclassed to draw its face, track the pointer
// (TrackMouseEvent) and, for check boxes, keep the check state.
//
// A check box toggles its state on a click before the parent receives
// BN_CLICKED, and answers BM_GETCHECK / BM_SETCHECK, so IsDlgButtonChecked and
// CheckDlgButton work on it. Magenta pixels of the faces show the parent's skin.
class CSkinButton : public CSkinnedControl {
 public:
  enum class Kind { Push, Check };

  CSkinButton() = default;

  // Takes over control `id` of `dialog`; false when there is no such control.
  // A check box keeps the check state the control had.
  bool Attach(HWND dialog, int id, UINT restId, UINT pressedId, UINT hoverId, Kind kind = Kind::Push);
  bool AttachCheck(HWND dialog, int id, UINT restId, UINT pressedId, UINT hoverId) {
    return Attach(dialog, id, restId, pressedId, hoverId, Kind::Check);
  }
  // Replaces the faces (for example a greyed face) and redraws.
  void SetFaces(UINT restId, UINT pressedId, UINT hoverId);
  // Shows the hand over the button unless the parent sets the cursor itself:
  // the parent is asked first and should answer FALSE explicitly to leave the
  // cursor to the button (Wine's default handling of the parent sets the
  // button's class cursor, and newer Wine reports the message handled).
  void SetHandCursor(bool on) { handCursor_ = on; }

  bool Checked() const { return checked_; }
  // Sets the check state without notifying the parent.
  void SetChecked(bool checked);

  int Id() const { return id_; }
  bool Hovered() const { return hover_; }

  // Erases and redraws the face.
  void Redraw();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Draw(HDC canvas, const RECT& client) override;
  const framlet::ui::Picture& CurrentFace() const;
  void BeforeRelease(UINT message, WPARAM wParam, LPARAM lParam);

  int id_ = 0;
  Kind kind_ = Kind::Push;
  framlet::ui::Picture restFace_, pressedFace_, hoverFace_;
  bool checked_ = false;
  bool hover_ = false;
  bool handCursor_ = false;
};
