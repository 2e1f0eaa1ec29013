// The test build's hook: page scripts and browser events sent into the
// running capture program (web/test_hook_message.h describes the message).
#include "driver.h"

#include "../../../web/test_hook_message.h"

using namespace fldrive;
namespace web = framlet::web;

namespace {

// The hook window of the process that shows the capture frame ("Framlet5");
// any hook window when no frame is up yet.
HWND FindHookWindow() {
  DWORD framePid = 0;
  if (HWND frame = FindWindowW(nullptr, L"Framlet5")) GetWindowThreadProcessId(frame, &framePid);
  HWND any = nullptr;
  for (HWND hook = nullptr; (hook = FindWindowExW(HWND_MESSAGE, hook, web::kHookWindowClass, nullptr));) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hook, &pid);
    if (framePid && pid == framePid) return hook;
    if (!any) any = hook;
  }
  return framePid ? nullptr : any;
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
