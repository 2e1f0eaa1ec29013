// Named mutexes held by the driver, standing in for another running program.
#include "driver.h"

#include <map>

namespace {
std::map<std::wstring, HANDLE>& Held() {
  static std::map<std::wstring, HANDLE> held;
  return held;
}
}  // namespace

FLDRIVE_COMMAND(hold_mutex, L"<name>   creates and keeps a named mutex until release_mutex (serve mode)") {
  if (args.size() != 1) return 2;
  if (Held().count(args[0])) return 0;
  HANDLE mutex = CreateMutexW(nullptr, TRUE, args[0].c_str());
  if (!mutex) return 1;
  Held()[args[0]] = mutex;
  return 0;
}

FLDRIVE_COMMAND(release_mutex, L"<name>   closes a mutex hold_mutex made") {
  if (args.size() != 1) return 2;
  auto found = Held().find(args[0]);
  if (found == Held().end()) return 1;
  ReleaseMutex(found->second);
  CloseHandle(found->second);
  Held().erase(found);
  return 0;
}
