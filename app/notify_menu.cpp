#include "app/notify_menu.h"

#include "app/notify_menu_rules.h"
#include "core/settings.h"
#include "resource.h"

namespace framlet::app {

ui::PopupMenuStyle FrameMenuStyle() {
  ui::PopupMenuStyle style;
  style.iconSize = 16;
  style.minWidth = 150;
  style.stripColour = RGB(188, 188, 188);
  style.highlightColour = RGB(188, 188, 188);
  style.gradient = true;
  return style;
}

ui::PopupMenu BuildNotifyMenu(bool hiddenToTray, bool normalMode) {
  return ui::PopupMenu::Build(NotifyMenuItems(hiddenToTray, normalMode), FrameMenuStyle());
}

UINT TrackNotifyMenu(HWND frame, bool hiddenToTray, bool normalMode) {
  POINT cursor = {0, 0};
  GetCursorPos(&cursor);
  ui::PopupMenu menu = BuildNotifyMenu(hiddenToTray, normalMode);
  return menu.Track(frame, cursor.x, cursor.y, TPM_RIGHTBUTTON | TPM_RETURNCMD);
}

ui::Menu LoadOptionsMenu() {
  ui::Menu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MENU_OPTIONS)));
  HMENU popup = menu ? GetSubMenu(menu, 0) : nullptr;
  if (!popup) return ui::Menu();
  for (const auto& check : OptionsMenuChecks([](const keys::Setting& s) { return settings::ReadText(s); })) {
    CheckMenuItem(popup, check.id, MF_BYCOMMAND | (check.checked ? MF_CHECKED : MF_UNCHECKED));
  }
  return menu;
}

UINT TrackOptionsMenu(HWND frame) {
  ui::Menu menu = LoadOptionsMenu();
  if (!menu) return 0;
  POINT cursor = {0, 0};
  GetCursorPos(&cursor);
  SetForegroundWindow(frame);
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON | TPM_RETURNCMD, cursor.x, cursor.y, 0, frame, nullptr));
  PostMessageW(frame, WM_NULL, 0, 0);
  return chosen;
}

}  // namespace framlet::app
