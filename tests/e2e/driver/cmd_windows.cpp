// Finding, inspecting and poking windows.
#include "driver.h"

using namespace fldrive;

namespace {

void PrintInfo(HWND hwnd) {
  RECT r = {}, c = {};
  GetWindowRect(hwnd, &r);
  GetClientRect(hwnd, &c);
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  wchar_t cls[128] = {};
  GetClassNameW(hwnd, cls, 128);
  Printf("hwnd=%llx visible=%d topmost=%d iconic=%d zoomed=%d layered=%d rect=%ld,%ld,%ld,%ld client=%ld,%ld "
         "style=0x%llx exstyle=0x%llx class=%s\n",
         static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)), IsWindowVisible(hwnd) ? 1 : 0,
         (exStyle & WS_EX_TOPMOST) ? 1 : 0, IsIconic(hwnd) ? 1 : 0, IsZoomed(hwnd) ? 1 : 0,
         (exStyle & WS_EX_LAYERED) ? 1 : 0, r.left, r.top, r.right, r.bottom, c.right, c.bottom,
         static_cast<unsigned long long>(style), static_cast<unsigned long long>(exStyle), WideToUtf8(cls).c_str());
}

BOOL CALLBACK PrintChild(HWND child, LPARAM parent) {
  if (GetParent(child) != reinterpret_cast<HWND>(parent)) return TRUE;  // direct children only
  RECT r = {};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, reinterpret_cast<HWND>(parent), reinterpret_cast<POINT*>(&r), 2);
  wchar_t cls[128] = {}, text[256] = {};
  GetClassNameW(child, cls, 128);
  GetWindowTextW(child, text, 256);
  Printf("hwnd=%llx id=%d class=%s visible=%d rect=%ld,%ld,%ld,%ld text=%s\n",
         static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(child)), GetDlgCtrlID(child), WideToUtf8(cls).c_str(),
         IsWindowVisible(child) ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
         WideToUtf8(text).c_str());
  return TRUE;
}

}  // namespace

FLDRIVE_COMMAND(find, L"<title|#hwnd>   prints the window's handle") {
  if (args.size() != 1) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  Printf("%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
  return 0;
}

FLDRIVE_COMMAND(wait, L"<title> [ms=10000] [visible]   waits for a top-level window") {
  if (args.empty()) return 2;
  const int ms = args.size() > 1 ? ToInt(args[1]) : 10000;
  const bool visible = args.size() > 2 && args[2] == L"visible";
  HWND hwnd = WaitTop(args[0], ms, visible);
  if (!hwnd) return 1;
  PrintInfo(hwnd);
  return 0;
}

FLDRIVE_COMMAND(wait_gone, L"<title> [ms=10000]   waits until no such window exists") {
  if (args.empty()) return 2;
  const int ms = args.size() > 1 ? ToInt(args[1]) : 10000;
  const DWORD start = GetTickCount();
  while (FindTop(args[0])) {
    if (static_cast<int>(GetTickCount() - start) >= ms) return 1;
    Sleep(10);
  }
  return 0;
}

FLDRIVE_COMMAND(info, L"<title|#hwnd>   visibility, topmost, rectangles, styles") {
  if (args.size() != 1) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  PrintInfo(hwnd);
  return 0;
}

FLDRIVE_COMMAND(children, L"<title|#hwnd>   direct child windows with id, class, visibility, client rect, text") {
  if (args.size() != 1) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  EnumChildWindows(hwnd, PrintChild, reinterpret_cast<LPARAM>(hwnd));
  return 0;
}

FLDRIVE_COMMAND(update, L"<title|#hwnd>   has the window and its children paint what is pending; returns when done") {
  if (args.size() != 1) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  // The paint messages are sent to the window's thread and answered before this returns.
  return RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN) ? 0 : 1;
}

FLDRIVE_COMMAND(show, L"<title|#hwnd> <SW_ number>   ShowWindow") {
  if (args.size() != 2) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  ShowWindow(hwnd, ToInt(args[1]));
  return 0;
}

FLDRIVE_COMMAND(post, L"<title|#hwnd> <message> [wparam] [lparam]   PostMessage") {
  if (args.size() < 2) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  const WPARAM w = args.size() > 2 ? static_cast<WPARAM>(wcstoull(args[2].c_str(), nullptr, 0)) : 0;
  const LPARAM l = args.size() > 3 ? static_cast<LPARAM>(wcstoll(args[3].c_str(), nullptr, 0)) : 0;
  return PostMessageW(hwnd, static_cast<UINT>(ToInt(args[1])), w, l) ? 0 : 1;
}

FLDRIVE_COMMAND(command, L"<title|#hwnd> <id>   posts WM_COMMAND with the id") {
  if (args.size() != 2) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  return PostMessageW(hwnd, WM_COMMAND, static_cast<WPARAM>(ToInt(args[1])), 0) ? 0 : 1;
}

FLDRIVE_COMMAND(click_control, L"<title|#hwnd> <control id>   sends BM_CLICK to a child control") {
  if (args.size() != 2) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  HWND control = GetDlgItem(hwnd, ToInt(args[1]));
  if (!control) return 1;
  PostMessageW(control, BM_CLICK, 0, 0);
  return 0;
}

FLDRIVE_COMMAND(mutex, L"<name>   prints 1 when the named mutex exists, else 0") {
  if (args.size() != 1) return 2;
  HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, args[0].c_str());
  Printf("%d\n", h ? 1 : 0);
  if (h) CloseHandle(h);
  return 0;
}
