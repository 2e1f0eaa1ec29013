#pragma once
#include <windows.h>

// The common part of the skinned controls: takes over an existing control of a
// dialog by subclassing it, paints the control entirely itself (no erase, so no
// flicker) and lets go when the control is destroyed or the object goes away.
class CSkinnedControl {
 public:
  CSkinnedControl(const CSkinnedControl&) = delete;
  CSkinnedControl& operator=(const CSkinnedControl&) = delete;
  virtual ~CSkinnedControl();

  // Gives the control back its original procedure (done on destruction too).
  void Detach();

  HWND Hwnd() const { return hwnd_; }
  void Show(bool visible);
  bool Visible() const;
  void Move(int x, int y, int width, int height, bool repaint = true);
  // A click-through control lets presses, double clicks and the cursor fall
  // to its parent, as if the parent's surface went on under it (a picture on
  // a window that moves from anywhere on its surface).
  void SetClickThrough(bool on) { clickThrough_ = on; }

 protected:
  CSkinnedControl() = default;

  // Subclasses control `id` of `dialog`; false when there is no such control.
  bool TakeOver(HWND dialog, int id);
  // Draws the whole control onto an off-screen canvas of its client size;
  // the base copies the canvas to the screen in one block.
  virtual void Draw(HDC canvas, const RECT& client) = 0;
  // Every message but painting and the control's destruction; the default passes it on.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;

 private:
  void Paint(HDC dc);

  bool clickThrough_ = false;
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR idSubclass,
                                       DWORD_PTR refData);
};
