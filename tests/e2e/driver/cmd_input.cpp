// Keys and text through SendInput, and the waits that follow pointer input.
// Input goes into one queue in order, so nothing waits between events; where a
// step needs the program to have answered (a drag needs its capture), the
// command waits for that, briefly and never for a fixed time.
#include <cwctype>

#include "driver.h"

using namespace fldrive;

namespace {

void SendKey(WORD vk, bool up) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END:
    case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE:
      in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
      break;
  }
  SendInput(1, &in, sizeof in);
}

// Polls `done` every few milliseconds for at most ms; true once it holds.
template <typename Condition>
bool WaitFor(int ms, Condition done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (static_cast<int>(GetTickCount() - start) >= ms) return false;
    Sleep(5);
  }
  return true;
}

// The thread that has the mouse captured (or runs a move or size loop), if any,
// among the threads of the window under the point.
bool CapturedAt(POINT p) {
  HWND under = WindowFromPoint(p);
  if (!under) return false;
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(under, nullptr), &info)) return false;
  return info.hwndCapture != nullptr || (info.flags & (GUI_INMOVESIZE | GUI_INMENUMODE)) != 0;
}

WORD KeyCode(std::wstring name) {
  for (auto& ch : name) ch = static_cast<wchar_t>(std::towlower(ch));
  struct Named { const wchar_t* name; WORD vk; };
  static const Named names[] = {
      {L"left", VK_LEFT}, {L"right", VK_RIGHT}, {L"up", VK_UP}, {L"down", VK_DOWN}, {L"enter", VK_RETURN},
      {L"escape", VK_ESCAPE}, {L"esc", VK_ESCAPE}, {L"tab", VK_TAB}, {L"space", VK_SPACE}, {L"shift", VK_SHIFT},
      {L"ctrl", VK_CONTROL}, {L"alt", VK_MENU}, {L"back", VK_BACK}, {L"delete", VK_DELETE}, {L"home", VK_HOME},
      {L"end", VK_END},
  };
  for (const auto& n : names)
    if (name == n.name) return n.vk;
  if (name.size() >= 2 && name[0] == L'f' && std::iswdigit(name[1])) return static_cast<WORD>(VK_F1 + _wtoi(name.c_str() + 1) - 1);
  if (name.size() == 1) return static_cast<WORD>(std::towupper(name[0]));
  return 0;
}

bool PointerAt(int x, int y) {
  POINT now = {};
  return GetCursorPos(&now) && now.x == x && now.y == y;
}

}  // namespace

FLDRIVE_COMMAND(key, L"[title|#hwnd|-] <key>[+<key>...]   e.g. shift+left, ctrl+enter, f2; foregrounds the window first") {
  if (args.size() != 2) return 2;
  if (args[0] != L"-") {
    HWND hwnd = FindTop(args[0]);
    if (!hwnd) return 1;
    SetForegroundWindow(hwnd);
    // A key sent before the window is in front would reach another window.
    if (!WaitFor(5000, [&] { return GetForegroundWindow() == hwnd; })) return 1;
  }
  std::vector<WORD> keys;
  size_t start = 0;
  const std::wstring& chord = args[1];
  while (start <= chord.size()) {
    size_t plus = chord.find(L'+', start);
    std::wstring part = chord.substr(start, plus == std::wstring::npos ? std::wstring::npos : plus - start);
    WORD vk = KeyCode(part);
    if (!vk) return 2;
    keys.push_back(vk);
    if (plus == std::wstring::npos) break;
    start = plus + 1;
  }
  for (WORD vk : keys) SendKey(vk, false);
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) SendKey(*it, true);
  return 0;
}

FLDRIVE_COMMAND(type, L"<text>   types text as Unicode keystrokes into the focused control") {
  if (args.size() != 1) return 2;
  for (wchar_t ch : args[0]) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wScan = in[1].ki.wScan = ch;
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof in[0]);
  }
  return 0;
}

// The pointer itself is moved and pressed as X input by the end-to-end
// harness (a window covering the screen holds X's pointer grab under Wine, so
// a program cannot place it); these commands wait for what follows from it.
FLDRIVE_COMMAND(pointer_at, L"<x> <y> <ms>   waits up to ms until the pointer is at the point") {
  if (args.size() != 3) return 2;
  const int x = ToInt(args[0]), y = ToInt(args[1]);
  if (WaitFor(ToInt(args[2]), [&] { return PointerAt(x, y); })) return 0;
  POINT now = {};
  GetCursorPos(&now);
  Printf("the pointer is at %ld,%ld, not at %d,%d\n", now.x, now.y, x, y);
  return 1;
}

// A button pressed or released as X input reaches the system once the program
// whose window is under the pointer has handed it on: input sent after that
// (keys from here) comes after it.
FLDRIVE_COMMAND(button, L"<left|right> <down|up> <ms>   waits up to ms until the system has the button in that state") {
  if (args.size() != 3) return 2;
  const int vk = args[0] == L"right" ? VK_RBUTTON : VK_LBUTTON;
  const bool down = args[1] == L"down";
  return WaitFor(ToInt(args[2]), [&] { return ((GetAsyncKeyState(vk) & 0x8000) != 0) == down; }) ? 0 : 1;
}

FLDRIVE_COMMAND(captured, L"<x> <y> <ms>   waits up to ms for the window under the point to take the mouse (or start a move loop)") {
  if (args.size() != 3) return 2;
  const POINT p = {ToInt(args[0]), ToInt(args[1])};
  return WaitFor(ToInt(args[2]), [&] { return CapturedAt(p); }) ? 0 : 1;
}

FLDRIVE_COMMAND(released, L"<x> <y> <ms>   waits up to ms until no window under the point has the mouse captured") {
  if (args.size() != 3) return 2;
  const POINT p = {ToInt(args[0]), ToInt(args[1])};
  return WaitFor(ToInt(args[2]), [&] { return !CapturedAt(p); }) ? 0 : 1;
}
