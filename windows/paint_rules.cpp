#include "windows/paint_rules.h"

#include "core/paths.h"

namespace framlet {

std::optional<PaintStart> PaintStartFor(std::string_view path, bool (*isLeadByte)(unsigned char)) {
  const PathParts parts = SplitPath(path, isLeadByte);
  PaintStart start{parts.drive + parts.dir, parts.stem + parts.ext};
  if (start.folder.empty() || start.parameter.empty()) return std::nullopt;
  start.parameter = "\"" + start.parameter + "\"";
  return start;
}

}  // namespace framlet
