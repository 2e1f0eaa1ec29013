#pragma once
// Driving modal dialogs from the tests: the dialog runs on the test's thread,
// a second thread finds it by title and works its controls with sent
// messages, and a watchdog closes it if a step goes wrong, so no test hangs.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "test_windows.h"
#include "win_test_util.h"

namespace wintest {

// Waits up to ms for a visible top-level window of this process with the
// title (nullptr: any) and, if given, this owner.
inline HWND WaitDialog(const wchar_t* title, HWND owner, int ms) {
  struct Search {
    const wchar_t* title;
    HWND owner;
    HWND found;
  };
  const DWORD start = GetTickCount();
  while (static_cast<int>(GetTickCount() - start) < ms) {
    Search s = {title, owner, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM p) -> BOOL {
          auto* search = reinterpret_cast<Search*>(p);
          DWORD pid = 0;
          GetWindowThreadProcessId(hwnd, &pid);
          if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
          if (search->owner && GetWindow(hwnd, GW_OWNER) != search->owner) return TRUE;
          if (search->title) {
            wchar_t text[256] = {};
            GetWindowTextW(hwnd, text, 256);
            if (std::wstring(text) != search->title) return TRUE;
          }
          search->found = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    Sleep(20);
  }
  return nullptr;
}

// Runs `open` (which shows a dialog modally and returns its result) on this
// thread while `steps` works the dialog from a second thread. The dialog is
// closed with WM_CLOSE if it is still open `timeoutMs` after it appeared.
// `found` tells whether the dialog appeared at all.
inline INT_PTR RunModal(const std::function<INT_PTR()>& open, const wchar_t* title, HWND owner,
                        const std::function<void(HWND)>& steps, bool* found = nullptr, int timeoutMs = 8000) {
  std::atomic<bool> done{false};
  std::atomic<bool> appeared{false};
  std::thread driver([&] {
    HWND dialog = WaitDialog(title, owner, 8000);
    if (!dialog) return;
    appeared = true;
    steps(dialog);
    const DWORD start = GetTickCount();
    while (!done && IsWindow(dialog)) {
      if (static_cast<int>(GetTickCount() - start) > timeoutMs) {
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        break;
      }
      Sleep(20);
    }
  });
  const INT_PTR result = open();
  done = true;
  driver.join();
  if (found) *found = appeared;
  return result;
}

// A plain top-level window of this thread standing in for the capture frame.
class FakeFrame {
 public:
  FakeFrame(int x, int y, int width, int height, DWORD exStyle = 0) : window_(Look(x, y, width, height, exStyle)) {}
  HWND Hwnd() const { return window_.Hwnd(); }
  bool Topmost() const { return (GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
  // From another thread: posts a marker to the frame's thread behind what was
  // already posted there (the thread's posted messages come out in order) and
  // returns once that thread's loop has dispatched it.
  bool WaitPostedHandled(int timeoutMs = 5000) {
    const int marker = ++posted_;
    PostMessageW(Hwnd(), kMarker, 0, 0);
    return WaitUntil([&] { return *seen_ >= marker; }, timeoutMs);
  }

 private:
  static constexpr UINT kMarker = WM_APP + 0x3A2;
  testwin::Look Look(int x, int y, int width, int height, DWORD exStyle) {
    testwin::Look look = testwin::At(x, y, width, height, testwin::Solid(GetSysColor(COLOR_WINDOW)));
    look.layer = (exStyle & WS_EX_TOPMOST) ? testwin::Layer::Top : testwin::Layer::Normal;
    look.exStyle = exStyle & ~WS_EX_TOPMOST;
    look.title = L"Framlet5 test frame";
    look.activate = true;
    look.handler = [seen = seen_](HWND, UINT message, WPARAM, LPARAM, LRESULT* result) {
      if (message != kMarker) return false;
      ++*seen;
      *result = 0;
      return true;
    };
    return look;
  }
  int posted_ = 0;
  std::shared_ptr<std::atomic<int>> seen_ = std::make_shared<std::atomic<int>>(0);
  testwin::Window window_;
};

// Code run on this thread from another one, inside whatever loop dispatches
// this thread's messages (a program's own loop under test): a hidden window of
// this thread takes the work as a sent message.
class LoopCaller {
 public:
  LoopCaller() : window_(Look()) {}
  // From another thread: runs `work` on this object's thread and returns once it ran.
  void Run(const std::function<void()>& work) const {
    SendMessageW(window_.Hwnd(), kRun, 0, reinterpret_cast<LPARAM>(&work));
  }

 private:
  static constexpr UINT kRun = WM_APP + 0x3A3;
  static testwin::Look Look() {
    testwin::Look look = testwin::At(0, 0, 1, 1);
    look.visible = false;
    look.handler = [](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
      if (message != kRun) return false;
      (*reinterpret_cast<const std::function<void()>*>(lParam))();
      *result = 0;
      return true;
    };
    return look;
  }
  testwin::Window window_;
};

inline std::wstring Text(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}
inline std::wstring ItemText(HWND dialog, int id) {
  return Text(GetDlgItem(dialog, id));
}
inline bool Checked(HWND dialog, int id) {
  return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
inline void Click(HWND dialog, int id) {
  SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}
inline void SetItemText(HWND dialog, int id, const wchar_t* text) {
  SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}
inline void SetCheck(HWND dialog, int id, bool on) {
  SendMessageW(GetDlgItem(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

// A child's rectangle in its parent's client coordinates.
inline RECT ChildRect(HWND dialog, int id) {
  RECT r = {};
  HWND child = GetDlgItem(dialog, id);
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// A control as its dialog should show it: its place in the dialog's client
// area, its size and its text. -1 (or a null text) is not compared.
struct ControlPlace {
  int id;
  int x, y, width, height;
  const wchar_t* text = nullptr;
};

// The controls of `dialog` that differ from the table, one line each naming
// the control and what it shows ("" when all match). Safe to call from the
// thread working a dialog that another thread's loop runs.
inline std::string ControlDifferences(HWND dialog, const std::vector<ControlPlace>& expected) {
  std::string differences;
  auto utf8 = [](const std::wstring& text) {
    char out[512] = {};
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out, sizeof out, nullptr, nullptr);
    return std::string(out);
  };
  for (const ControlPlace& c : expected) {
    const std::string name = "control " + std::to_string(c.id);
    if (!GetDlgItem(dialog, c.id)) {
      differences += name + ": missing\n";
      continue;
    }
    const RECT r = ChildRect(dialog, c.id);
    const int shown[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    const int wanted[] = {c.x, c.y, c.width, c.height};
    const char* what[] = {"x", "y", "width", "height"};
    for (int i = 0; i < 4; ++i)
      if (wanted[i] != -1 && shown[i] != wanted[i])
        differences +=
            name + ": " + what[i] + " " + std::to_string(shown[i]) + ", not " + std::to_string(wanted[i]) + "\n";
    if (c.text && ItemText(dialog, c.id) != c.text)
      differences += name + ": text \"" + utf8(ItemText(dialog, c.id)) + "\", not \"" + utf8(c.text) + "\"\n";
  }
  return differences;
}

inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
inline void WriteFileBytes(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// In a screenshot run (FRAMLET_HOLD_FOR_SHOTS names a folder), tells the caller on
// stdout "FRAMLET_SHOWN <name> <x>,<y>": `name` is on the screen with the client
// area of `window` (default: this process's topmost visible window) at x, y. It
// stays there until the caller has taken its picture and made the file
// <folder>\<name>.taken (at most 30 s). Otherwise does nothing.
//
// Called on the window's own thread, it paints the window and dispatches that
// thread's messages while it waits. Called from another thread (one working a
// dialog whose loop runs elsewhere), it only watches: it waits for the window's
// own thread to have painted it and touches no message queue. Under Wine a
// second thread that repainted the window across threads and looked at its own
// queue (where Wine hands the process's pending drawing to X) while the
// window's thread painted a colour-keyed window has left both threads waiting
// on each other inside the system, for good.
inline void HoldForScreenshot(const char* name, HWND window = nullptr) {
  char folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("FRAMLET_HOLD_FOR_SHOTS", folder, sizeof folder)) return;
  if (!window) {
    EnumWindows(
        [](HWND hwnd, LPARAM found) -> BOOL {
          DWORD pid = 0;
          GetWindowThreadProcessId(hwnd, &pid);
          if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
          *reinterpret_cast<HWND*>(found) = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&window));
  }
  const bool ownThread = GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
  if (ownThread)
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  else
    WaitUntil([&] { return Painted(window); });
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  printf("FRAMLET_SHOWN %s %ld,%ld\n", name, origin.x, origin.y);
  fflush(stdout);
  const std::string taken = std::string(folder) + "\\" + name + ".taken";
  const DWORD start = GetTickCount();
  while (GetFileAttributesA(taken.c_str()) == INVALID_FILE_ATTRIBUTES && GetTickCount() - start < 30000) {
    if (!ownThread) {
      Sleep(20);
      continue;
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

}  // namespace wintest
