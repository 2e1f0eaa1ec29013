#pragma once
#include <string>
#include <vector>

#include "core/settings_keys.h"
#include "ui/popup_menu_items.h"

// What the notification icon's menu and the frame's options menu hold.
namespace framlet::app {

// The notification menu for the frame's state: every item in order, minus the
// capture commands while the frame is hidden to the notification area, the
// normal-mode-only ones in web mode, and the edit-previous-capture item always.
std::vector<ui::PopupMenuItem> NotifyMenuItems(bool hiddenToTray, bool normalMode);

// The four toggles of the options menu (menu 215) and the flag behind each.
struct OptionsMenuToggle {
  unsigned id;
  const keys::Setting* setting;
};
const std::vector<OptionsMenuToggle>& OptionsMenuToggles();

// The toggle behind a command id, or nullptr.
const keys::Setting* OptionsMenuSetting(unsigned commandId);

// Which toggles are checked, given how a setting's text is read (its default
// when missing): checked when the text reads "true" in any capitals.
struct OptionsMenuCheck {
  unsigned id;
  bool checked;
};
template <typename ReadText>
std::vector<OptionsMenuCheck> OptionsMenuChecks(ReadText&& readText);
bool OptionsMenuFlagChecked(const std::string& text);

template <typename ReadText>
std::vector<OptionsMenuCheck> OptionsMenuChecks(ReadText&& readText) {
  std::vector<OptionsMenuCheck> checks;
  for (const auto& toggle : OptionsMenuToggles()) {
    checks.push_back({toggle.id, OptionsMenuFlagChecked(readText(*toggle.setting))});
  }
  return checks;
}

}  // namespace framlet::app
