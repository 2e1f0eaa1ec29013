#pragma once
// The component tree: a tree view whose items carry a state image (0 empty
// box, 1 ticked, 2 fixed) and a row index of the component table. A click on
// an item's box toggles it (fixed items stay) and tells the owner; a new
// selection tells the owner which row to describe.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace framlet::update {

// Messages to the owner, wParam the row index.
inline constexpr UINT kToggleRowMessage = 0x54D;
inline constexpr UINT kShowRowMessage = 0x54E;

class CCheckTreeCtrl {
 public:
  enum State { Unticked = 0, Ticked = 1, Fixed = 2 };

  // Takes over the tree view `tree`, whose notifications go to `owner`.
  void Attach(HWND tree, HWND owner, HIMAGELIST states);
  HTREEITEM Add(HTREEITEM parent, const std::wstring& text, int row, State state);
  State StateOf(HTREEITEM item) const;
  // The owner calls this on TVN_SELCHANGING with the item about to be selected.
  void OnSelectionChanging(HTREEITEM item);
  HWND Hwnd() const { return tree_; }

 private:
  static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void OnClick(LPARAM lParam);
  void SetState(HTREEITEM item, State state);
  std::wstring TextOf(HTREEITEM item) const;
  void Tell(UINT message, const std::wstring& text);

  HWND tree_ = nullptr;
  HWND owner_ = nullptr;
  struct Pair {
    std::wstring text;
    int row;
  };
  std::vector<Pair> pairs_;
};

}  // namespace framlet::update
