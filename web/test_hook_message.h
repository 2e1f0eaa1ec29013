#pragma once
// The test build's hook message (WM_COPYDATA sent to the hook's window) and
// its answers. Used by the hook and by the end-to-end driver that sends it.
//
//   dwData = kHookScript: the data is one JScript text (UTF-16), run with
//            `external` bound to the program's page-callable object.
//   dwData = kHookEvent:  the data is "view\nevent\nargument" (UTF-16):
//            view      "frame:<id>" (a view inside the capture frame) or
//                      "popup:<id>" (a view inside another window of the program);
//            event     one of the names of kBrowserEventNames;
//            argument  the address (navigation, new window, document
//                      complete) or the title (title change).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace framlet::web {

// Class name of the hook's message-only window.
inline constexpr wchar_t kHookWindowClass[] = L"FramletTestHook";

inline constexpr std::uintptr_t kHookScript = 0x464C4A53;  // "FLJS"
inline constexpr std::uintptr_t kHookEvent = 0x464C4556;   // "FLEV"

// Answers (the WM_COPYDATA result). An event is queued and answered at once;
// it runs from the program's message loop, as the browser's own events do.
enum HookAnswer : int {
  kHookNotMine = 0,
  kHookDone = 1,
  kHookScriptError = 2,
  kHookBadMessage = 3,
  kHookNoView = 4,
  kHookNoExternal = 5,
};

enum class BrowserEvent { NavigateComplete2, BeforeNavigate2, TitleChange, NewWindow2, DocumentComplete };
enum class ViewPlace { Frame, Popup };

struct HookEvent {
  ViewPlace place = ViewPlace::Frame;
  int controlId = 0;
  BrowserEvent event = BrowserEvent::NavigateComplete2;
  std::u16string argument;
};

// Parses the event text; nothing when any part is malformed or unknown.
std::optional<HookEvent> ParseHookEvent(std::u16string_view text);

// The event text for a view, event name and argument (the driver's side; the
// driver includes this header alone).
inline std::u16string FormatHookEvent(std::u16string_view view, std::u16string_view eventName,
                                      std::u16string_view argument) {
  std::u16string text(view);
  text += u'\n';
  text += eventName;
  text += u'\n';
  text += argument;
  return text;
}

}  // namespace framlet::web
