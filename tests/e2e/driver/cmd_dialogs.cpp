// Dialog controls: edit texts and check boxes of a window found by title.
#include "driver.h"

using namespace fldrive;

namespace {

HWND Control(const Args& args) {
  HWND hwnd = FindTop(args[0]);
  return hwnd ? GetDlgItem(hwnd, ToInt(args[1])) : nullptr;
}

}  // namespace

FLDRIVE_COMMAND(set_text, L"<title|#hwnd> <control id> <text>   sets a child control's text (WM_SETTEXT)") {
  if (args.size() != 3) return 2;
  HWND control = Control(args);
  if (!control) return 1;
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[2].c_str()));
  return 0;
}

FLDRIVE_COMMAND(set_check, L"<title|#hwnd> <control id> <0|1>   sets a check box without clicking it") {
  if (args.size() != 3) return 2;
  HWND control = Control(args);
  if (!control) return 1;
  SendMessageW(control, BM_SETCHECK, ToInt(args[2]) ? BST_CHECKED : BST_UNCHECKED, 0);
  return 0;
}
