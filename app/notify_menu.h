#pragma once
#include <windows.h>

#include "ui/gdi.h"
#include "ui/popup_menu.h"

// The notification icon's menu and the frame's options menu, built and shown
// for the capture frame. Each returns the chosen command id (0 for none); the
// caller runs it as an ordinary command.
namespace framlet::app {

// The style both owner-drawn menus of the frame use: 16-pixel icons, items at
// least 150 pixels wide, grey RGB(188,188,188) strip and highlight, gradients.
ui::PopupMenuStyle FrameMenuStyle();

// The notification menu for the frame's state, built but not shown.
ui::PopupMenu BuildNotifyMenu(bool hiddenToTray, bool normalMode);
// Builds it and shows it at the cursor for `frame`, tracking the right button.
UINT TrackNotifyMenu(HWND frame, bool hiddenToTray, bool normalMode);

// Menu resource 215 with its toggles checked from the settings as they are
// now; its first popup is the options menu. Empty when the resource is missing.
ui::Menu LoadOptionsMenu();
// Loads it and shows its first popup at the cursor for `frame`, tracking the
// right button. Nothing is shown (0) when the resource is missing.
UINT TrackOptionsMenu(HWND frame);

}  // namespace framlet::app
