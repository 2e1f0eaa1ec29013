#include "ui/dpi_change.h"

namespace framlet::ui {

bool KeepDialogLayoutOnDpiChange(HWND dialog) {
  using SetBehavior = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
  static const SetBehavior set = reinterpret_cast<SetBehavior>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
  return set && set(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL) != FALSE;
}

}  // namespace framlet::ui
