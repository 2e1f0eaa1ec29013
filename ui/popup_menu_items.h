#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// The plain item list an owner-drawn popup menu is built from, and the edits
// the menus' owners make to it before building (no window code here).
namespace framlet::ui {

struct PopupMenuItem {
  // A rule is a real separator: the arrow keys skip it and it cannot be chosen.
  bool rule = false;
  unsigned id = 0;      // command id (a rule may carry one too)
  unsigned iconId = 0;  // 16 x 16 bitmap resource drawn left of the text; 0 for none
  std::wstring text;    // drawn as it is, blanks included
  bool checked = false;
  bool disabled = false;
  bool menuBreak = false;  // starts a new column (no effect on the first item)
};

// How the menu is drawn: icon size, least width of an item in pixels, the grey
// of the icon strip's far edge and of the highlight, and whether the icon strip
// and highlight are gradient fills (flat colour otherwise). Colours are
// 0x00BBGGRR like COLORREF.
struct PopupMenuStyle {
  int iconSize = 16;
  int minWidth = 150;
  std::uint32_t stripColour = 0x00BCBCBC;      // RGB(188,188,188)
  std::uint32_t highlightColour = 0x00BCBCBC;  // RGB(188,188,188)
  bool gradient = true;
};

PopupMenuItem MenuCommand(unsigned id, unsigned iconId, std::wstring text);
PopupMenuItem MenuRule(unsigned id = 0);

// Removes every command item whose id is in `ids` (rules stay).
void RemoveMenuItems(std::vector<PopupMenuItem>& items, std::initializer_list<unsigned> ids);
void RemoveMenuItems(std::vector<PopupMenuItem>& items, const std::vector<unsigned>& ids);

// Drops rules that would be drawn at the top, at the bottom or next to another
// rule, once items around them were removed.
void TidyMenuRules(std::vector<PopupMenuItem>& items);

}  // namespace framlet::ui
