#include "windows/paint_program.h"

#include <shellapi.h>

#include "windows/paint_rules.h"

namespace {

bool IsLeadByte(unsigned char c) {
  return IsDBCSLeadByte(c) != FALSE;
}

}  // namespace

bool OpenInPaint(HWND owner, const std::string& path) {
  const std::optional<framlet::PaintStart> start = framlet::PaintStartFor(path, IsLeadByte);
  if (!start) return false;
  // The result is not checked: a missing paint program shows the shell's own message.
  ShellExecuteA(owner, "open", "mspaint.exe", start->parameter.c_str(), start->folder.c_str(), SW_SHOWNORMAL);
  return true;
}
