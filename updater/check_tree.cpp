#include "updater/check_tree.h"

namespace framlet::update {

void CCheckTreeCtrl::Attach(HWND tree, HWND owner, HIMAGELIST states) {
  tree_ = tree;
  owner_ = owner;
  TreeView_SetImageList(tree_, states, TVSIL_STATE);
  TreeView_SetItemHeight(tree_, 17);
  SetWindowSubclass(tree_, &CCheckTreeCtrl::Procedure, 1, reinterpret_cast<DWORD_PTR>(this));
}

HTREEITEM CCheckTreeCtrl::Add(HTREEITEM parent, const std::wstring& text, int row, State state) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_STATE;
  insert.item.pszText = const_cast<wchar_t*>(text.c_str());
  insert.item.stateMask = TVIS_STATEIMAGEMASK;
  insert.item.state = INDEXTOSTATEIMAGEMASK(state + 1);
  HTREEITEM item = reinterpret_cast<HTREEITEM>(
      SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  pairs_.push_back({text, row});
  return item;
}

CCheckTreeCtrl::State CCheckTreeCtrl::StateOf(HTREEITEM item) const {
  UINT image = (TreeView_GetItemState(tree_, item, TVIS_STATEIMAGEMASK) >> 12) & 0xF;
  return image == 0 ? Unticked : static_cast<State>(image - 1);
}

void CCheckTreeCtrl::SetState(HTREEITEM item, State state) {
  TreeView_SetItemState(tree_, item, INDEXTOSTATEIMAGEMASK(state + 1), TVIS_STATEIMAGEMASK);
}

std::wstring CCheckTreeCtrl::TextOf(HTREEITEM item) const {
  wchar_t buffer[260] = {};
  TVITEMW data{};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = buffer;
  data.cchTextMax = 260;
  SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
  return buffer;
}

// Rows are found through the item's text: every pair of that text is told.
void CCheckTreeCtrl::Tell(UINT message, const std::wstring& text) {
  for (const Pair& pair : pairs_) {
    if (pair.text == text) SendMessageW(owner_, message, static_cast<WPARAM>(pair.row), 0);
  }
}

void CCheckTreeCtrl::OnClick(LPARAM lParam) {
  TVHITTESTINFO hit{};
  hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  HTREEITEM item = TreeView_HitTest(tree_, &hit);
  if (!item || !(hit.flags & TVHT_ONITEMSTATEICON)) return;
  State state = StateOf(item);
  if (state == Fixed) return;
  SetState(item, state == Ticked ? Unticked : Ticked);
  Tell(kToggleRowMessage, TextOf(item));
}

void CCheckTreeCtrl::OnSelectionChanging(HTREEITEM item) {
  if (item) Tell(kShowRowMessage, TextOf(item));
}

LRESULT CALLBACK CCheckTreeCtrl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<CCheckTreeCtrl*>(data);
  if (message == WM_LBUTTONDOWN) self->OnClick(lParam);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &CCheckTreeCtrl::Procedure, 1);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace framlet::update
