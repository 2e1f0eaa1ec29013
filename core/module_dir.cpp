#include "core/module_dir.h"

#include <windows.h>

#include "core/paths.h"

namespace framlet {

namespace {
bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }
}  // namespace

const std::string& GetModuleDir() {
  static const std::string dir = [] {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    PathParts parts = SplitPath(path, IsLeadByte);
    return parts.drive + parts.dir;
  }();
  return dir;
}

}  // namespace framlet
