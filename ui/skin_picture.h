#pragma once
#include <windows.h>

#include "ui/picture.h"

// A static control that shows one bitmap resource over the parent's skin
// (magenta pixels see-through), stretched to the control's size.
class CSkinPicture {
 public:
  CSkinPicture() = default;
  CSkinPicture(const CSkinPicture&) = delete;
  CSkinPicture& operator=(const CSkinPicture&) = delete;
  ~CSkinPicture();

  bool Attach(HWND dialog, int id, UINT pictureId);
  void Detach();
  void SetPicture(UINT pictureId);
  HWND Hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR idSubclass,
                                       DWORD_PTR refData);
  void Paint(HDC dc);

  HWND hwnd_ = nullptr;
  framlet::ui::Picture picture_;
};
