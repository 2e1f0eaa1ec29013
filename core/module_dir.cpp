#include "core/module_dir.h"

#include <windows.h>

#include "core/paths.h"
#include "core/system_path.h"

namespace framlet {

namespace {
bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }
}  // namespace

const std::string& GetModuleDir() {
  static const std::string dir = [] {
    // A folder the code page cannot name goes by its short form (core/system_path.h).
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    PathParts parts = SplitPath(SystemPath(path), IsLeadByte);
    return parts.drive + parts.dir;
  }();
  return dir;
}

std::wstring ProgramTitle() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, length < MAX_PATH ? length : 0);
  const size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

}  // namespace framlet
