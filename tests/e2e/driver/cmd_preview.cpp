// The capture preview and its actual-size viewer: found by their buttons among
// the windows of the program, with their owner and place in the z-order.
#include "driver.h"

#include <cstdio>

#include "../../../core/command_ids.h"

using namespace fldrive;

namespace {

struct OwnedSearch {
  HWND owner;
  int buttonId;  // a control the window must have
  HWND found;
};

BOOL CALLBACK FindOwned(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<OwnedSearch*>(param);
  if (!IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER) != search->owner) return TRUE;
  if (!GetDlgItem(hwnd, search->buttonId)) return TRUE;
  search->found = hwnd;
  return FALSE;
}

HWND Owned(HWND owner, int buttonId) {
  OwnedSearch search = {owner, buttonId, nullptr};
  EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// True when `upper` comes before `lower` in the top-level z-order.
bool Above(HWND upper, HWND lower) {
  for (HWND w = GetWindow(upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
    if (w == lower) return true;
  return false;
}

}  // namespace

FLDRIVE_COMMAND(preview, L"<title|#hwnd>   the capture preview that window owns: handle, z-order, rect, its viewer") {
  if (args.size() != 1) return 2;
  HWND owner = FindTop(args[0]);
  if (!owner) return 1;
  HWND preview = Owned(owner, IDC_PV_SAVE);
  if (!preview) return 1;
  HWND viewer = Owned(preview, IDC_AS_CLOSE);
  char viewerText[32] = "none";
  if (viewer)
    snprintf(viewerText, sizeof viewerText, "#%llx",
             static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(viewer)));
  RECT r = {};
  GetWindowRect(preview, &r);
  POINT client = {0, 0};
  ClientToScreen(preview, &client);
  Printf("hwnd=%llx above_owner=%d topmost=%d foreground=%d rect=%ld,%ld,%ld,%ld client=%ld,%ld viewer=%s\n",
         static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(preview)), Above(preview, owner) ? 1 : 0,
         (GetWindowLongPtrW(preview, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0, GetForegroundWindow() == preview ? 1 : 0,
         r.left, r.top, r.right, r.bottom, client.x, client.y, viewerText);
  return 0;
}
