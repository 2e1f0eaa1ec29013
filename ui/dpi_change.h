#pragma once
#include <windows.h>

// The windows are laid out in fixed pixels, so a change of DPI (a window
// moved to a monitor of another scale) must leave them as they are.
namespace framlet::ui {

// Turns off the dialog manager's own answer to a DPI change (resizing the
// dialog, moving its controls, sending them new fonts). The call is looked up
// at run time: systems before Windows 10 1703, and Wine, have none, and there
// the dialog manager does none of it. Whether the system took it.
bool KeepDialogLayoutOnDpiChange(HWND dialog);

}  // namespace framlet::ui
