// File dialogs of the program (save and open): read what they propose, choose
// a file type and a name, confirm or cancel.
#include "driver.h"

#include <commdlg.h>
#include <dlgs.h>

using namespace fldrive;

namespace {

struct Search {
  DWORD process;
  HWND found;
};

// A visible dialog of the process with a file-type list: a file dialog.
BOOL CALLBACK FindFileDialog(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  if (process == search->process && IsWindowVisible(hwnd) && lstrcmpW(cls, L"#32770") == 0 && GetDlgItem(hwnd, cmb1)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND NameBox(HWND dialog) {
  HWND box = GetDlgItem(dialog, cmb13);
  return box ? box : GetDlgItem(dialog, edt1);
}

}  // namespace

FLDRIVE_COMMAND(file_dialog,
                L"<title|#hwnd> <type index|-1> <name|-> [cancel]   answers the window's process's file dialog; "
                L"prints the proposed name and folder") {
  if (args.size() < 3 || args.size() > 4) return 2;
  HWND owner = FindTop(args[0]);
  if (!owner) return 1;
  Search search{0, nullptr};
  GetWindowThreadProcessId(owner, &search.process);
  for (int waited = 0; waited < 10000 && !search.found; waited += 50) {
    EnumWindows(FindFileDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(50);
  }
  HWND dialog = search.found;
  if (!dialog) return 1;
  // The dialog fills its lists after it shows; a folder path means it is ready.
  wchar_t text[MAX_PATH * 2] = {};
  for (int waited = 0; waited < 5000; waited += 50) {
    text[0] = 0;
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH * 2, reinterpret_cast<LPARAM>(text));
    if (text[0]) break;
    Sleep(50);
  }
  const std::wstring folder = text;
  text[0] = 0;
  GetWindowTextW(NameBox(dialog), text, MAX_PATH * 2);
  Print(std::wstring(L"name=") + text + L"\nfolder=" + folder + L"\n");

  const int type = ToInt(args[1]);
  if (type >= 0) {
    HWND types = GetDlgItem(dialog, cmb1);
    SendMessageW(types, CB_SETCURSEL, type, 0);
    // Windows acts on the selection change, Wine's dialog on the end of the selection.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
  }
  if (args[2] != L"-") SetWindowTextW(NameBox(dialog), args[2].c_str());
  const bool cancel = args.size() == 4 && args[3] == L"cancel";
  const int button = cancel ? IDCANCEL : IDOK;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
  for (int waited = 0; waited < 10000; waited += 50) {
    if (!IsWindow(dialog) || !IsWindowVisible(dialog)) return 0;
    Sleep(50);
  }
  return 1;
}

namespace {

struct Others {
  DWORD skip;
};

BOOL CALLBACK PrintOther(HWND hwnd, LPARAM param) {
  const auto* others = reinterpret_cast<const Others*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process == others->skip || process == GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t title[256] = {};
  GetWindowTextW(hwnd, title, 256);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  wchar_t line[512];
  wsprintfW(line, L"hwnd=%x pid=%u class=%s title=", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(hwnd)),
            static_cast<unsigned>(process), cls);
  Print(std::wstring(line) + title + L"\n");
  return TRUE;
}

}  // namespace

FLDRIVE_COMMAND(others, L"<title|#hwnd>   visible top-level windows of other programs than that window's and the driver's") {
  if (args.size() != 1) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  Others others{0};
  GetWindowThreadProcessId(hwnd, &others.skip);
  EnumWindows(PrintOther, reinterpret_cast<LPARAM>(&others));
  return 0;
}
