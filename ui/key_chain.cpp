#include "ui/key_chain.h"

#include <vector>

namespace framlet::ui {
namespace {

struct Entry {
  unsigned id;
  HWND window;
  KeyStage stage;
  KeyFilterFunction filter;
};

struct Chain {
  std::vector<Entry> entries;
  unsigned lastId = 0;
  HHOOK hook = nullptr;
  // Set just before the loop hands a message the chain has seen to the dialog
  // manager, whose first step is the message-filter hook: that one call is not
  // offered again.
  bool skipNextHook = false;
};

Chain& ThisThread() {
  thread_local Chain chain;
  return chain;
}

// Parent steps from `from` up to `window`; -1 when `window` is not `from` or one of its ancestors.
int Depth(HWND from, HWND window) {
  int depth = 0;
  for (HWND w = from; w; ++depth) {
    if (w == window) return depth;
    if (!(GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD)) break;
    w = GetParent(w);
  }
  return -1;
}

LRESULT CALLBACK DialogLoopHook(int code, WPARAM wParam, LPARAM lParam) {
  Chain& chain = ThisThread();
  if (code == MSGF_DIALOGBOX && lParam) {
    if (chain.skipNextHook)
      chain.skipNextHook = false;
    else if (OfferToKeyChain(*reinterpret_cast<MSG*>(lParam)))
      return TRUE;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void KeyFilter::Add(HWND window, KeyStage stage, KeyFilterFunction filter) {
  Remove();
  Chain& chain = ThisThread();
  id_ = ++chain.lastId;
  chain.entries.push_back({id_, window, stage, std::move(filter)});
  if (!chain.hook) chain.hook = SetWindowsHookExW(WH_MSGFILTER, DialogLoopHook, nullptr, GetCurrentThreadId());
}

void KeyFilter::Remove() {
  if (id_ == 0) return;
  Chain& chain = ThisThread();
  for (auto it = chain.entries.begin(); it != chain.entries.end(); ++it) {
    if (it->id != id_) continue;
    chain.entries.erase(it);
    break;
  }
  id_ = 0;
  if (chain.entries.empty() && chain.hook) {
    UnhookWindowsHookEx(chain.hook);
    chain.hook = nullptr;
  }
}

bool OfferToKeyChain(MSG& msg) {
  Chain& chain = ThisThread();
  if (!msg.hwnd || chain.entries.empty()) return false;
  std::vector<FilterSpot> spots;
  spots.reserve(chain.entries.size());
  for (const Entry& e : chain.entries) spots.push_back({e.stage, Depth(msg.hwnd, e.window), e.id});
  // A filter may close windows, and with them filters further down the order.
  std::vector<unsigned> ids;
  for (std::size_t i : KeyOrder(spots)) ids.push_back(chain.entries[i].id);
  for (unsigned id : ids) {
    KeyFilterFunction filter;
    for (const Entry& e : chain.entries)
      if (e.id == id) filter = e.filter;
    if (filter && filter(msg)) return true;
  }
  return false;
}

bool PreTranslateMessage(MSG& msg) {
  if (OfferToKeyChain(msg)) return true;
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  wchar_t className[16] = {};
  if (!root || !GetClassNameW(root, className, 16) || lstrcmpW(className, L"#32770") != 0) return false;
  Chain& chain = ThisThread();
  chain.skipNextHook = chain.hook != nullptr;
  const bool used = IsDialogMessageW(root, &msg) != FALSE;
  chain.skipNextHook = false;
  return used;
}

}  // namespace framlet::ui
