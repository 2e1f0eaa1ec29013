#include "app/capture_frame_dlg.h"

#include "resource.h"

INT_PTR CCaptureFrameDlg::RunModal() {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CAPTURE_FRAME), nullptr, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CCaptureFrameDlg::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* self = reinterpret_cast<CCaptureFrameDlg*>(lParam);
      self->hwnd_ = hwnd;
      SetWindowTextA(hwnd, "Framlet5");
      SetWindowPos(hwnd, nullptr, 0, 0, 836, 721, SWP_NOZORDER);
      return TRUE;
    }
    case WM_CLOSE:
      EndDialog(hwnd, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}
