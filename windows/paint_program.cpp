#include "windows/paint_program.h"

#include <shellapi.h>

#include "core/paths.h"

namespace {

bool IsLeadByte(unsigned char c) {
  return IsDBCSLeadByte(c) != FALSE;
}

}  // namespace

bool OpenInPaint(HWND owner, const std::string& path) {
  const framlet::PathParts parts = framlet::SplitPath(path, IsLeadByte);
  const std::string folder = parts.drive + parts.dir;
  const std::string file = parts.stem + parts.ext;
  if (folder.empty() || file.empty()) return false;
  // The result is not checked: a missing paint program shows the shell's own message.
  ShellExecuteA(owner, "open", "mspaint.exe", file.c_str(), folder.c_str(), SW_SHOWNORMAL);
  return true;
}
