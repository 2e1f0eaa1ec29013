// The test hook of the capture program's test build (framlet5_hooked), never
// linked into framlet5.exe. At start-up it makes a message-only window of
// class kHookWindowClass; the end-to-end driver finds it and sends it
// WM_COPYDATA (web/test_hook_message.h):
//  - a script runs at once, with `external` bound to the page-callable object
//    the way a page reaches it, and the answer says whether it ran cleanly;
//  - a browser event is checked, queued and answered at once, then handed to
//    its view's sink from the program's message loop, as the browser's own
//    events arrive (one that opens the guide popup runs the popup's modal loop).
// The window belongs to the program's one user-interface thread, so its
// messages are dispatched by whichever loop runs there.
#include <windows.h>

#include <deque>
#include <string>

#include "web/page_test_hook.h"
#include "web/test_hook_message.h"

namespace {

namespace web = framlet::web;

constexpr UINT kRunQueuedEvent = WM_APP + 1;

std::deque<std::wstring> g_queuedEvents;

LRESULT OnCopyData(HWND hwnd, const COPYDATASTRUCT& data) {
  if (data.dwData != web::kHookEvent) return web::RunHookMessage(data);
  std::wstring text;
  if (!web::HookMessageText(data, text)) return web::kHookBadMessage;
  const std::optional<web::HookEvent> event =
      web::ParseHookEvent(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
  if (!event) return web::kHookBadMessage;
  if (!web::FindHookView(event->place, event->controlId)) return web::kHookNoView;
  g_queuedEvents.push_back(text);
  PostMessageW(hwnd, kRunQueuedEvent, 0, 0);
  return web::kHookDone;
}

void RunQueuedEvent() {
  if (g_queuedEvents.empty()) return;
  std::wstring text = std::move(g_queuedEvents.front());
  g_queuedEvents.pop_front();
  COPYDATASTRUCT data = {web::kHookEvent, static_cast<DWORD>(text.size() * sizeof(wchar_t)), text.data()};
  web::RunHookMessage(data);
}

LRESULT CALLBACK HookWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    switch (message) {
      case WM_COPYDATA:
        if (!lParam) return web::kHookBadMessage;
        return OnCopyData(hwnd, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      case kRunQueuedEvent:
        RunQueuedEvent();
        return 0;
    }
  } catch (...) {
    return web::kHookNotMine;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Made before WinMain, on the thread that becomes the user-interface thread.
struct HookWindow {
  HookWindow() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = HookWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = web::kHookWindowClass;
    RegisterClassExW(&wc);
    CreateWindowExW(0, web::kHookWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  }
} g_hookWindow;

}  // namespace
