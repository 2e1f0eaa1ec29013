#pragma once
// The order in which the windows of a thread see a message before it is
// dispatched (the key chain of ui/key_chain.h). No <windows.h>.
#include <cstddef>
#include <vector>

namespace framlet::ui {

// Where a window's filter stands in the path of a key bound for it.
enum class KeyStage {
  // Key tables: commands that mean the same wherever the focus is inside the
  // window (Ctrl+C is "copy area" even in a page).
  Accelerators,
  // A hosted page's own translation: Enter and Escape for its forms, Tab,
  // Delete and the clipboard keys inside the page.
  View,
  // The window's own rules for what is left: Enter, Escape, plain arrows, a
  // first click.
  WindowKeys,
};

// One registered filter as a message sees it.
struct FilterSpot {
  KeyStage stage = KeyStage::Accelerators;
  // Parent steps from the message's window up to the filter's window (0: the
  // window itself); -1 when the message is not bound for the window or one of
  // its children.
  int depth = -1;
  // Registration order: later registrations have larger numbers.
  unsigned added = 0;
};

// Indexes into `spots` of the filters that see the message, in the order they
// see it: stage by stage; within a stage the innermost window first (a panel's
// keys before its frame's), and for one window the later registration first.
std::vector<std::size_t> KeyOrder(const std::vector<FilterSpot>& spots);

}  // namespace framlet::ui
