// The address box's selection and the browser tab strip of a running program.
#include "driver.h"

using namespace fldrive;

namespace {

// Messages of the toolkit's tab strip (ui/tab_strip.h).
constexpr UINT kGetCount = WM_USER + 1;
constexpr UINT kGetActive = WM_USER + 2;
constexpr UINT kGetButtonPos = WM_USER + 3;

BOOL CALLBACK FindStrip(HWND child, LPARAM found) {
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  if (lstrcmpW(cls, L"TabCtrl") != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

HWND Strip(const std::wstring& title) {
  HWND top = FindTop(title);
  HWND strip = nullptr;
  if (top) EnumChildWindows(top, FindStrip, reinterpret_cast<LPARAM>(&strip));
  return strip;
}

}  // namespace

FLDRIVE_COMMAND(selection, L"<title|#hwnd> <control id>   an edit control's selection: '<start> <end>'") {
  if (args.size() != 2) return 2;
  HWND top = FindTop(args[0]);
  HWND edit = top ? GetDlgItem(top, ToInt(args[1])) : nullptr;
  if (!edit) return 1;
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  Printf("%lu %lu\n", start, end);
  return 0;
}

FLDRIVE_COMMAND(tabs,
                L"<title|#hwnd>   the window's tab strip: 'count=<n> active=<i> visible=<0|1> text=<active tab>'") {
  if (args.size() != 1) return 2;
  HWND strip = Strip(args[0]);
  if (!strip) return 1;
  wchar_t text[300] = {};
  GetWindowTextW(strip, text, 300);
  Printf("count=%d active=%d visible=%d text=%s\n", static_cast<int>(SendMessageW(strip, kGetCount, 0, 0)),
         static_cast<int>(SendMessageW(strip, kGetActive, 0, 0)), IsWindowVisible(strip) ? 1 : 0,
         WideToUtf8(text).c_str());
  return 0;
}

FLDRIVE_COMMAND(tab_button,
                L"<title|#hwnd> <0-3>   screen centre of a tab-strip button (scroll left, right, new tab, close)") {
  if (args.size() != 2) return 2;
  HWND strip = Strip(args[0]);
  if (!strip) return 1;
  const LRESULT pos = SendMessageW(strip, kGetButtonPos, static_cast<WPARAM>(ToInt(args[1])), 0);
  if (pos == -1) return 1;
  POINT p = {static_cast<short>(LOWORD(pos)) + 7, static_cast<short>(HIWORD(pos)) + 7};
  ClientToScreen(strip, &p);
  Printf("%ld %ld\n", p.x, p.y);
  return 0;
}
