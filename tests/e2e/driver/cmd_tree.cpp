// Tree views of other programs: their items read through memory in the
// owning process (a tree's messages carry pointers that do not cross processes).
#include "driver.h"

#include <commctrl.h>

namespace {

using namespace fldrive;

struct Remote {
  HANDLE process = nullptr;
  char* memory = nullptr;
  ~Remote() {
    if (memory) VirtualFreeEx(process, memory, 0, MEM_RELEASE);
    if (process) CloseHandle(process);
  }
};

void PrintItems(HWND tree, Remote& remote, HTREEITEM item, int level) {
  for (; item; item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT,
                                                                   reinterpret_cast<LPARAM>(item)))) {
    TVITEMW data{};
    data.mask = TVIF_TEXT | TVIF_STATE;
    data.hItem = item;
    data.stateMask = TVIS_STATEIMAGEMASK | TVIS_SELECTED;
    data.pszText = reinterpret_cast<wchar_t*>(remote.memory + 256);
    data.cchTextMax = 260;
    SIZE_T done = 0;
    WriteProcessMemory(remote.process, remote.memory, &data, sizeof(data), &done);
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.memory));
    ReadProcessMemory(remote.process, remote.memory, &data, sizeof(data), &done);
    wchar_t text[261] = {};
    ReadProcessMemory(remote.process, remote.memory + 256, text, 520, &done);
    RECT rect{};
    *reinterpret_cast<HTREEITEM*>(&rect) = item;
    WriteProcessMemory(remote.process, remote.memory + 1024, &rect, sizeof(rect), &done);
    SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote.memory + 1024));
    ReadProcessMemory(remote.process, remote.memory + 1024, &rect, sizeof(rect), &done);
    POINT origin = {rect.left, (rect.top + rect.bottom) / 2};
    ClientToScreen(tree, &origin);
    Printf("level=%d state=%u selected=%d text_x=%ld y=%ld item=%llu text=", level, (data.state >> 12) & 0xF,
           (data.state & TVIS_SELECTED) ? 1 : 0, origin.x, origin.y,
           static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(item)));
    Print(text);
    Printf("\n");
    HTREEITEM child = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD,
                                                               reinterpret_cast<LPARAM>(item)));
    PrintItems(tree, remote, child, level + 1);
  }
}

}  // namespace

FLDRIVE_COMMAND(tree_items, L"<title|#hwnd> <control id>   a tree's items: level, state image, selected, text place, text") {
  if (args.size() != 2) return 2;
  HWND top = FindTop(args[0]);
  if (!top) return 1;
  HWND tree = GetDlgItem(top, ToInt(args[1]));
  if (!tree) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(tree, &pid);
  Remote remote;
  remote.process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!remote.process) return 1;
  remote.memory = static_cast<char*>(VirtualAllocEx(remote.process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  if (!remote.memory) return 1;
  HTREEITEM root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  PrintItems(tree, remote, root, 0);
  return 0;
}

FLDRIVE_COMMAND(tree_show, L"<title|#hwnd> <control id> <item>   scrolls a tree item (from tree_items) into view") {
  if (args.size() != 3) return 2;
  HWND top = FindTop(args[0]);
  if (!top) return 1;
  HWND tree = GetDlgItem(top, ToInt(args[1]));
  if (!tree) return 1;
  const LPARAM item = static_cast<LPARAM>(wcstoull(args[2].c_str(), nullptr, 10));
  SendMessageW(tree, TVM_ENSUREVISIBLE, 0, item);
  return 0;
}
