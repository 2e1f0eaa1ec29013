#pragma once
// Small helpers shared by the Windows-tier tests: waits on conditions that keep
// this thread's messages flowing, temporary folders, and the base fixture.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/settings.h"

namespace wintest {

// True when running under Wine (its ntdll exports wine_get_version).
inline bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Dispatches the messages already waiting for this thread, and returns.
inline void DispatchPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Dispatches this thread's messages until condition() holds and returns true;
// fails the case and returns false when it does not hold within timeoutMs.
inline bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000,
                      const char* what = "the awaited condition") {
  const DWORD start = GetTickCount();
  for (;;) {
    DispatchPending();
    if (condition()) return true;
    if (static_cast<int>(GetTickCount() - start) >= timeoutMs) {
      ADD_FAILURE() << what << " did not come within " << timeoutMs << " ms";
      return false;
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

// Polls condition() from a thread without windows (one working a dialog that
// another thread's loop runs) until it holds; false when it does not within timeoutMs.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return false;
    Sleep(10);
  }
  return true;
}

// True when neither the window nor a visible child of it has anything left to paint.
inline bool Painted(HWND window) {
  if (!window || GetUpdateRect(window, nullptr, FALSE)) return false;
  bool painted = true;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM all) -> BOOL {
        if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
          *reinterpret_cast<bool*>(all) = false;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&painted));
  return painted;
}

// The colour the screen shows at a point of a window's client area.
inline COLORREF ScreenPixel(HWND window, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(window, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

// A fresh, empty folder under %TEMP% for one test; removed with its files on scope exit.
class TempFolder {
 public:
  explicit TempFolder(const char* name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "framlet-test-" + name + "-" + std::to_string(GetCurrentProcessId());
    Remove();
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() { Remove(); }
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  void Remove() {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path_ + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        std::string full = path_ + "\\" + name;
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveDirectoryA(full.c_str());
        else
          DeleteFileA(full.c_str());
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    RemoveDirectoryA(path_.c_str());
  }
  std::string path_;
};

inline void InitControls() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

// This process's top-level windows, hidden ones included.
inline std::vector<HWND> TopWindowsOfThisProcess() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND hwnd, LPARAM list) -> BOOL {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == GetCurrentProcessId()) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// The base of the Windows-tier fixtures: the common controls registered, a
// temporary folder named after the suite holding the settings file, and at the
// end a check that the case closed every top-level window it opened. Windows
// the fixture itself holds are gone by then: the check runs when the fixture
// is destroyed, after its members.
class WinTest : public ::testing::Test {
 protected:
  WinTest() : folder_(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) {
    for (HWND w : TopWindowsOfThisProcess()) before_.insert(w);
    InitControls();
    framlet::settings::SetFilePathForTesting(Ini());
  }
  ~WinTest() override {
    framlet::settings::SetFilePathForTesting("");
    for (HWND w : TopWindowsOfThisProcess()) {
      // (Closing one may take others with it.)
      if (before_.count(w) || !IsWindow(w) || OfTheSystem(w)) continue;
      wchar_t cls[64] = {}, title[128] = {};
      GetClassNameW(w, cls, 64);
      GetWindowTextW(w, title, 128);
      char text[256] = {};
      WideCharToMultiByte(CP_UTF8, 0, (std::wstring(cls) + L" \"" + title + L"\"").c_str(), -1, text, sizeof text,
                          nullptr, nullptr);
      ADD_FAILURE() << "the case left a " << (IsWindowVisible(w) ? "visible" : "hidden")
                    << " top-level window open: " << text;
      if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId())
        DestroyWindow(w);
      else
        SendMessageTimeoutW(w, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    }
  }

  std::string Ini() const { return folder_.File("framlet.ini"); }

  TempFolder folder_;

 private:
  // Windows the system makes for a thread on its own and keeps for the thread's life.
  static bool OfTheSystem(HWND w) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    return std::wstring(cls) == L"IME" || std::wstring(cls) == L"MSCTFIME UI";
  }
  std::set<HWND> before_;
};

}  // namespace wintest
