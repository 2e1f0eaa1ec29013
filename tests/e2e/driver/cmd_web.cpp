// The test build's hook: page scripts and browser events sent into the
// running capture program (web/test_hook_message.h describes the message).
#include "driver.h"

#include <vector>

#include "../../../web/test_hook_message.h"

using namespace fldrive;
namespace web = framlet::web;

namespace {

// The hook window of the newest process that shows a capture frame
// ("Framlet5"); any hook window when no frame is up yet. A program of the test
// before may still be ending, its frame up and its hook already gone.
ULONGLONG StartedAt(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return 0;
  FILETIME created{}, exited{}, kernel{}, user{};
  ULONGLONG at = 0;
  if (GetProcessTimes(process, &created, &exited, &kernel, &user))
    at = (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
  CloseHandle(process);
  return at;
}

BOOL CALLBACK CollectFramePid(HWND hwnd, LPARAM lParam) {
  wchar_t title[16] = {};
  if (GetWindowTextW(hwnd, title, 16) && lstrcmpiW(title, L"Framlet5") == 0) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    reinterpret_cast<std::vector<DWORD>*>(lParam)->push_back(pid);
  }
  return TRUE;
}

HWND FindHookWindow() {
  std::vector<DWORD> framePids;
  EnumWindows(CollectFramePid, reinterpret_cast<LPARAM>(&framePids));
  HWND any = nullptr, newest = nullptr;
  ULONGLONG newestStart = 0;
  for (HWND hook = nullptr; (hook = FindWindowExW(HWND_MESSAGE, hook, web::kHookWindowClass, nullptr));) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hook, &pid);
    if (!any) any = hook;
    bool showsFrame = false;
    for (DWORD framePid : framePids) showsFrame = showsFrame || framePid == pid;
    const ULONGLONG started = StartedAt(pid);
    if (showsFrame && (!newest || started > newestStart)) {
      newest = hook;
      newestStart = started;
    }
  }
  return framePids.empty() ? any : newest;
}

const char* AnswerName(LRESULT answer) {
  switch (answer) {
    case web::kHookDone:
      return "done";
    case web::kHookScriptError:
      return "script-error";
    case web::kHookBadMessage:
      return "bad-message";
    case web::kHookNoView:
      return "no-view";
    case web::kHookNoExternal:
      return "no-external";
  }
  return "not-handled";
}

int Send(std::uintptr_t kind, std::wstring text) {
  HWND hook = FindHookWindow();
  if (!hook) {
    Printf("no-hook\n");
    return 1;
  }
  COPYDATASTRUCT data = {kind, static_cast<DWORD>(text.size() * sizeof(wchar_t)), text.data()};
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(hook, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 30000, &answer)) {
    Printf("timeout\n");
    return 1;
  }
  Printf("%s\n", AnswerName(static_cast<LRESULT>(answer)));
  return answer == web::kHookDone ? 0 : 1;
}

std::u16string U16(const std::wstring& text) {
  return std::u16string(text.begin(), text.end());
}

}  // namespace

FLDRIVE_COMMAND(hook_script, L"<jscript>   runs a page script in the test build (external = the page object)") {
  if (args.size() != 1) return 2;
  return Send(web::kHookScript, args[0]);
}

FLDRIVE_COMMAND(
    hook_event,
    L"<frame|popup>:<view id> <event> <address|title>   hands a browser event to a view of the test build") {
  if (args.size() != 3) return 2;
  const std::u16string text = web::FormatHookEvent(U16(args[0]), U16(args[1]), U16(args[2]));
  return Send(web::kHookEvent, std::wstring(text.begin(), text.end()));
}
