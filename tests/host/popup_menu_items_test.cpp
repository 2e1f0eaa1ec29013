#include "ui/popup_menu_items.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace framlet::ui {
namespace {

// A menu written as a string: a digit is a command with that id, '-' a rule.
std::vector<PopupMenuItem> Menu(const std::string& picture) {
  std::vector<PopupMenuItem> items;
  for (char c : picture) items.push_back(c == '-' ? MenuRule(262) : MenuCommand(unsigned(c - '0'), 0, L"x"));
  return items;
}

std::string Picture(const std::vector<PopupMenuItem>& items) {
  std::string picture;
  for (const auto& item : items) picture += item.rule ? '-' : char('0' + item.id);
  return picture;
}

TEST(PopupMenuItems, RemovingItemsThenTidyingRules) {
  struct Case {
    const char* situation;
    std::string menu;
    std::vector<unsigned> removed;
    std::string afterRemoving;
    std::string afterTidying;
  };
  const Case cases[] = {
      {"nothing removed", "12-34", {}, "12-34", "12-34"},
      {"a rule's id never removes the rule", "12-34", {262}, "12-34", "12-34"},
      {"the whole first group gone: no rule on top", "12-34", {1, 2}, "-34", "34"},
      {"the whole last group gone: no rule at the bottom", "12-34", {3, 4}, "12-", "12"},
      {"a middle group gone: one rule between the others", "1-23-4", {2, 3}, "1--4", "1-4"},
      {"everything gone", "1-2", {1, 2}, "-", ""},
      {"ids not in the menu", "1-2", {7, 8}, "1-2", "1-2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    auto items = Menu(c.menu);
    RemoveMenuItems(items, c.removed);
    EXPECT_EQ(Picture(items), c.afterRemoving);
    TidyMenuRules(items);
    EXPECT_EQ(Picture(items), c.afterTidying);
  }
}

}  // namespace
}  // namespace framlet::ui
