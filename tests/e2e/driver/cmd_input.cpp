// Real input through SendInput: keys, clicks and drags at screen positions.
// Input goes into one queue in order, so nothing waits between events; where a
// step needs the program to have answered (a drag needs its capture), the
// command waits for that, briefly and never for a fixed time.
#include <algorithm>
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

// Polls `done` every few milliseconds for at most ms, handling this thread's
// messages meanwhile (the pointer watch below is called through them); true
// once it holds.
template <typename Condition>
bool WaitFor(int ms, Condition done) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// Under Wine every move of the pointer made here is reported back by the X
// server to the program whose window lies under the pointer, which hands it on
// as a move of its own. An echo handled late, after a later move, puts the
// pointer back where it was before: a drag whose button is released right
// after it ends a step short. So a move waits for its own echo, which comes
// after the echoes of every earlier move. Echoes are seen by a low-level
// pointer hook (they are the moves not injected by a program), held only while
// a pointer command runs: the system waits for a hook's thread to answer every
// event.
class EchoWatch {
 public:
  EchoWatch() : hook_(SetWindowsHookExW(WH_MOUSE_LL, &EchoWatch::Hook, GetModuleHandleW(nullptr), 0)) {}
  ~EchoWatch() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  EchoWatch(const EchoWatch&) = delete;
  EchoWatch& operator=(const EchoWatch&) = delete;

  bool Active() const { return hook_ != nullptr; }
  void Forget() { seen_ = false; }
  bool SeenAt(int x, int y) const { return seen_ && last_.x == x && last_.y == y; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == WM_MOUSEMOVE) {
      const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
      if (!(info->flags & LLMHF_INJECTED)) {
        last_ = info->pt;
        seen_ = true;
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  HHOOK hook_;
  static inline POINT last_ = {};
  static inline bool seen_ = false;
};

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Under Wine a window of any program (this one's test windows included, which
// run on threads of their own) echoes a move; the bare desktop does not.
bool EchoExpected(int x, int y) {
  HWND under = WindowFromPoint(POINT{x, y});
  return under && under != GetDesktopWindow() && UnderWine();
}

// The thread that has the mouse captured (or runs a move or size loop), if any,
// among the threads of the window under the point.
bool CapturedAt(POINT p) {
  HWND under = WindowFromPoint(p);
  if (!under) return false;
  GUITHREADINFO info = {sizeof info};
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

// Pointer input carries its own position: every event is absolute, so a
// button press lands where it is meant to even when the window under the
// pointer has not yet seen the moves before it. Coordinates run 0..65535 over
// the virtual screen; a pixel is reached by the smallest number that maps onto
// it (pixel = number * size / 65536, rounded down).
INPUT MouseAt(int x, int y, DWORD flags) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = std::max(1, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  const int height = std::max(1, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(x - left) * 65536 + width - 1) / width);
  in.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(y - top) * 65536 + height - 1) / height);
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  return in;
}

bool PointerAt(int x, int y) {
  POINT now = {};
  return GetCursorPos(&now) && now.x == x && now.y == y;
}

// Moves the pointer and waits until the system has it there and, under Wine,
// its echo has come back; the move is sent again while either is missing.
// Under Wine the X server's pointer is the one that counts: a move made only
// through SendInput is taken back the next time Wine reads the pointer from X
// (to where X still has it), so the pointer is placed with SetCursorPos, which
// moves X's too, and the move itself is sent as input.
bool MoveTo(EchoWatch& echo, int x, int y) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    echo.Forget();
    SetCursorPos(x, y);
    INPUT in = MouseAt(x, y, 0);
    SendInput(1, &in, sizeof in);
    if (!WaitFor(300, [&] { return PointerAt(x, y); })) continue;
    if (!echo.Active() || !EchoExpected(x, y)) return true;
    // A window that stops answering sends no echo: the pointer is there all the same.
    if (!WaitFor(1000, [&] { return echo.SeenAt(x, y); })) return PointerAt(x, y);
    if (PointerAt(x, y)) return true;
  }
  return PointerAt(x, y);
}

// A button event at (x, y), carrying that place.
void Button(int x, int y, DWORD flag) {
  INPUT in = MouseAt(x, y, flag);
  SendInput(1, &in, sizeof in);
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

FLDRIVE_COMMAND(move, L"<x> <y>   moves the pointer; fails if it does not get there") {
  if (args.size() != 2) return 2;
  EchoWatch echo;
  return MoveTo(echo, ToInt(args[0]), ToInt(args[1])) ? 0 : 1;
}

FLDRIVE_COMMAND(click, L"<x> <y> [right]   clicks at a screen position") {
  if (args.size() < 2) return 2;
  const int x = ToInt(args[0]), y = ToInt(args[1]);
  const bool right = args.size() > 2 && args[2] == L"right";
  EchoWatch echo;
  if (!MoveTo(echo, x, y)) return 1;
  Button(x, y, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  Button(x, y, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  return 0;
}

FLDRIVE_COMMAND(dblclick, L"<x> <y>   double-clicks at a screen position") {
  if (args.size() != 2) return 2;
  const int x = ToInt(args[0]), y = ToInt(args[1]);
  EchoWatch echo;
  if (!MoveTo(echo, x, y)) return 1;
  for (int i = 0; i < 2; ++i) {
    Button(x, y, MOUSEEVENTF_LEFTDOWN);
    Button(x, y, MOUSEEVENTF_LEFTUP);
  }
  return 0;
}

FLDRIVE_COMMAND(drag, L"<x1> <y1> <x2> <y2>   drags with the left button in small steps; fails if nothing captured the mouse") {
  if (args.size() != 4) return 2;
  const int x1 = ToInt(args[0]), y1 = ToInt(args[1]), x2 = ToInt(args[2]), y2 = ToInt(args[3]);
  const POINT start = {x1, y1};
  EchoWatch echo;
  if (!MoveTo(echo, x1, y1)) return 1;
  Button(x1, y1, MOUSEEVENTF_LEFTDOWN);
  // The window under the pointer takes the mouse (or starts its move loop) once it has the press.
  const bool captured = WaitFor(2000, [&] { return CapturedAt(start); });
  const int steps = 10;
  for (int i = 1; i <= steps; ++i) MoveTo(echo, x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps);
  Button(x2, y2, MOUSEEVENTF_LEFTUP);
  const POINT end = {x2, y2};
  WaitFor(2000, [&] { return !CapturedAt(end); });
  return captured ? 0 : 1;
}
