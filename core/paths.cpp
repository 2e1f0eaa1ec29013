#include "core/paths.h"

namespace framlet {

bool IsCp949LeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

PathParts SplitPath(std::string_view path, bool (*isLeadByte)(unsigned char)) {
  PathParts parts;
  size_t pos = 0;
  if (path.size() >= 2 && path[1] == ':') {
    parts.drive = std::string(path.substr(0, 2));
    pos = 2;
  }
  // Find the last separator and the last dot after it, skipping trail bytes
  // of double-byte characters.
  size_t lastSep = std::string_view::npos;
  size_t lastDot = std::string_view::npos;
  for (size_t i = pos; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (isLeadByte && isLeadByte(c) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (c == '\\' || c == '/') {
      lastSep = i;
      lastDot = std::string_view::npos;
    } else if (c == '.') {
      lastDot = i;
    }
  }
  size_t nameStart = pos;
  if (lastSep != std::string_view::npos) {
    parts.dir = std::string(path.substr(pos, lastSep + 1 - pos));
    nameStart = lastSep + 1;
  }
  if (lastDot != std::string_view::npos) {
    parts.stem = std::string(path.substr(nameStart, lastDot - nameStart));
    parts.ext = std::string(path.substr(lastDot));
  } else {
    parts.stem = std::string(path.substr(nameStart));
  }
  return parts;
}

std::string FolderOf(std::string_view fullPath, bool (*isLeadByte)(unsigned char)) {
  PathParts p = SplitPath(fullPath, isLeadByte);
  return p.drive + p.dir;
}

}  // namespace framlet
