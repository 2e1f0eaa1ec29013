#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>

namespace framlet::web {

struct ScriptOutcome {
  bool engineReady = false;  // the JScript engine could be started
  bool ok = false;           // the text ran to its end without a script error
  std::wstring error;        // the engine's description of the first error
};

// Runs JScript text with the Windows Script engine, `external` visible to it
// under that name, the way a hosted page's script reaches the page-callable
// object. Runs on the calling thread (a single-threaded apartment).
ScriptOutcome RunJScript(const std::wstring& code, IDispatch* external);

}  // namespace framlet::web
