// The capture frame: its notification icon and its skinned controls.
#include "driver.h"

#include <shellapi.h>

using namespace fldrive;

FLDRIVE_COMMAND(tray_exists, L"<title|#hwnd> <icon id>   exit 0 when the window's notification icon exists") {
  if (args.size() != 2) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  // Modifying an icon succeeds only when the shell holds one for this window and id.
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uID = static_cast<UINT>(ToInt(args[1]));
  data.uFlags = 0;
  const bool exists = Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
  Printf("%d\n", exists ? 1 : 0);
  return exists ? 0 : 1;
}

FLDRIVE_COMMAND(checked, L"<title|#hwnd> <control id>   prints BM_GETCHECK of a child button") {
  if (args.size() != 2) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  HWND control = GetDlgItem(hwnd, ToInt(args[1]));
  if (!control) return 1;
  Printf("%d\n", static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0)));
  return 0;
}

FLDRIVE_COMMAND(move_window, L"<title|#hwnd> <x> <y> <w> <h>   SetWindowPos without z-order change") {
  if (args.size() != 5) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  return SetWindowPos(hwnd, nullptr, ToInt(args[1]), ToInt(args[2]), ToInt(args[3]), ToInt(args[4]),
                      SWP_NOZORDER | SWP_NOACTIVATE)
             ? 0
             : 1;
}

namespace {
struct PopupSearch {
  DWORD pid;
  HWND owner;
};
BOOL CALLBACK PrintPopup(HWND hwnd, LPARAM param) {
  const auto* search = reinterpret_cast<const PopupSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != search->pid || hwnd == search->owner || !IsWindowVisible(hwnd)) return TRUE;
  RECT r = {};
  GetWindowRect(hwnd, &r);
  const LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  wchar_t cls[128] = {};
  GetClassNameW(hwnd, cls, 128);
  Printf("hwnd=%llx layered=%d topmost=%d rect=%ld,%ld,%ld,%ld class=%s\n",
         static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)), (exStyle & WS_EX_LAYERED) ? 1 : 0,
         (exStyle & WS_EX_TOPMOST) ? 1 : 0, r.left, r.top, r.right, r.bottom, WideToUtf8(cls).c_str());
  return TRUE;
}
}  // namespace

FLDRIVE_COMMAND(popups, L"<title|#hwnd>   the other visible top-level windows of that window's process") {
  if (args.size() != 1) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  PopupSearch search = {0, hwnd};
  GetWindowThreadProcessId(hwnd, &search.pid);
  EnumWindows(PrintPopup, reinterpret_cast<LPARAM>(&search));
  return 0;
}

FLDRIVE_COMMAND(item_text, L"<title|#hwnd> <control id>   the control's own text (WM_GETTEXT), e.g. an edit box") {
  if (args.size() != 2) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  HWND control = GetDlgItem(hwnd, ToInt(args[1]));
  if (!control) return 1;
  // WM_GETTEXT, not GetWindowText: across processes the latter returns only
  // the caption stored with the window, never an edit control's contents.
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied))
    return 1;
  Print(text);
  return 0;
}
