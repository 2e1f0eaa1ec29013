#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "ui/gdi.h"
#include "ui/popup_menu_items.h"

// Owner-drawn popup menus with 16 x 16 icons, a gradient icon strip and grey
// highlight. Building is separate from showing: Build() makes the menu (which
// can be inspected with GetMenuItemInfo: owner-drawn items carry their text as
// MIIM_STRING, their icon bitmap as hbmpItem and their check mark as
// MFS_CHECKED; rules are MFT_SEPARATOR items), Track() shows it.
namespace framlet::ui {

class PopupMenu {
 public:
  PopupMenu() = default;
  PopupMenu(PopupMenu&&) noexcept;
  PopupMenu& operator=(PopupMenu&&) noexcept;
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;
  ~PopupMenu();  // destroys the menu and its icon bitmaps

  // Builds the popup from `items` in order. A missing icon resource leaves the
  // item without an icon. Returns false (and an empty menu) on failure.
  static PopupMenu Build(const std::vector<PopupMenuItem>& items, const PopupMenuStyle& style = {});

  HMENU Handle() const;
  explicit operator bool() const { return Handle() != nullptr; }
  // The items the menu was built from, in menu order.
  const std::vector<PopupMenuItem>& Items() const;

  // Shows the menu at screen point (x, y) for `owner` with TrackPopupMenu flags
  // (TPM_RIGHTBUTTON and so on) and returns the chosen command id, 0 when the
  // menu was closed without a choice. The owner is brought to the foreground
  // first and gets WM_NULL afterwards, so the menu closes on a click elsewhere.
  // Without TPM_RETURNCMD in `flags` the choice is also posted to the owner as
  // WM_COMMAND. The owner needs no drawing code of its own: its measuring and
  // drawing messages for this menu are answered here while the menu is shown.
  UINT Track(HWND owner, int x, int y, UINT flags = TPM_RIGHTBUTTON) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Builds a menu from `items` and tracks it at the cursor position; returns the
// chosen command id (0 for none) without posting it anywhere.
UINT TrackPopupItemsAtCursor(HWND owner, const std::vector<PopupMenuItem>& items, const PopupMenuStyle& style = {});

}  // namespace framlet::ui
