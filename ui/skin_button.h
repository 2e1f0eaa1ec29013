#pragma once
#include <windows.h>

#include "ui/picture.h"

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
class CSkinButton {
 public:
  enum class Kind { Push, Check };

  CSkinButton() = default;
  CSkinButton(const CSkinButton&) = delete;
  CSkinButton& operator=(const CSkinButton&) = delete;
  ~CSkinButton();

  // Takes over control `id` of `dialog`; false when there is no such control.
  // A check box keeps the check state the control had.
  bool Attach(HWND dialog, int id, UINT restId, UINT pressedId, UINT hoverId, Kind kind = Kind::Push);
  bool AttachCheck(HWND dialog, int id, UINT restId, UINT pressedId, UINT hoverId) {
    return Attach(dialog, id, restId, pressedId, hoverId, Kind::Check);
  }
  // Gives the control back its original procedure (done on destruction too).
  void Detach();

  // Replaces the faces (for example a greyed face) and redraws.
  void SetFaces(UINT restId, UINT pressedId, UINT hoverId);
  void SetHandCursor(bool on) { handCursor_ = on; }

  bool Checked() const { return checked_; }
  // Sets the check state without notifying the parent.
  void SetChecked(bool checked);

  HWND Hwnd() const { return hwnd_; }
  int Id() const { return id_; }
  bool Hovered() const { return hover_; }

  void Show(bool visible);
  bool Visible() const;
  void Move(int x, int y, int width, int height, bool repaint = true);
  // Erases and redraws the face.
  void Redraw();

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR idSubclass,
                                       DWORD_PTR refData);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc);
  const framlet::ui::Picture& CurrentFace() const;
  void BeforeRelease(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  int id_ = 0;
  Kind kind_ = Kind::Push;
  framlet::ui::Picture restFace_, pressedFace_, hoverFace_;
  bool checked_ = false;
  bool hover_ = false;
  bool handCursor_ = false;
};
