#pragma once
#include <windows.h>

#include <functional>

#include "ui/key_order.h"

// The thread's key chain: the one path a key (or a first click) takes before
// it is dispatched. Each window that handles keys ahead of its controls
// registers a filter for its lifetime; every message loop and wait pump of
// the program calls PreTranslateMessage, and one message-filter hook offers
// the messages of the system's own modal loops (dialog boxes, message boxes)
// to the same chain. A filter sees only messages bound for its window or one
// of its children, in the order of KeyOrder (key_order.h):
//   1. Accelerators: a toolbar panel's keys, then the frame's tables;
//   2. View: the hosted page's translation, for a key bound for a page;
//   3. WindowKeys: the window's Enter, Escape and arrow rules.
// A filter that returns true has used the message; the rest of the chain and
// the dialog manager do not see it. UI thread only; each thread has its own.
namespace framlet::ui {

using KeyFilterFunction = std::function<bool(MSG& msg)>;

// A filter's place in the chain, from Add until Remove or the object's end.
class KeyFilter {
 public:
  KeyFilter() = default;
  ~KeyFilter() { Remove(); }
  KeyFilter(const KeyFilter&) = delete;
  KeyFilter& operator=(const KeyFilter&) = delete;

  // Registers `filter` for messages bound for `window` (replacing an earlier
  // registration of this object).
  void Add(HWND window, KeyStage stage, KeyFilterFunction filter);
  void Remove();
  bool Added() const { return id_ != 0; }

 private:
  unsigned id_ = 0;
};

// For every message loop and wait: offers `msg` to the chain, then, for a
// message bound for a dialog, to the dialog manager (Tab, arrow keys between
// controls, Enter and Escape). True when either used it; the loop then skips
// it, else translates and dispatches it.
bool PreTranslateMessage(MSG& msg);

// The chain alone (what the hook offers): true when a filter used `msg`.
bool OfferToKeyChain(MSG& msg);

}  // namespace framlet::ui
