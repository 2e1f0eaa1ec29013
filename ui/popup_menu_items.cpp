#include "ui/popup_menu_items.h"

#include <algorithm>
#include <utility>

namespace framlet::ui {

PopupMenuItem MenuCommand(unsigned id, unsigned iconId, std::wstring text) {
  PopupMenuItem item;
  item.id = id;
  item.iconId = iconId;
  item.text = std::move(text);
  return item;
}

PopupMenuItem MenuRule(unsigned id) {
  PopupMenuItem item;
  item.rule = true;
  item.id = id;
  return item;
}

void RemoveMenuItems(std::vector<PopupMenuItem>& items, const std::vector<unsigned>& ids) {
  items.erase(std::remove_if(items.begin(), items.end(),
                             [&](const PopupMenuItem& item) {
                               return !item.rule && std::find(ids.begin(), ids.end(), item.id) != ids.end();
                             }),
              items.end());
}

void RemoveMenuItems(std::vector<PopupMenuItem>& items, std::initializer_list<unsigned> ids) {
  RemoveMenuItems(items, std::vector<unsigned>(ids));
}

void TidyMenuRules(std::vector<PopupMenuItem>& items) {
  std::vector<PopupMenuItem> kept;
  kept.reserve(items.size());
  for (auto& item : items) {
    if (item.rule && (kept.empty() || kept.back().rule)) continue;
    kept.push_back(std::move(item));
  }
  if (!kept.empty() && kept.back().rule) kept.pop_back();
  items = std::move(kept);
}

}  // namespace framlet::ui
