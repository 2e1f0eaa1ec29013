#pragma once
// How the system paint program is started for a picture file.
#include <optional>
#include <string>
#include <string_view>

namespace framlet {

struct PaintStart {
  std::string folder;     // the working folder: the file's folder, with its trailing backslash
  std::string parameter;  // the file name in double quotes: a name with blanks stays one argument
};

// Nothing when the path has no folder or no file name. The split honours
// double-byte names whose second byte is a backslash (pass isLeadByte).
std::optional<PaintStart> PaintStartFor(std::string_view path, bool (*isLeadByte)(unsigned char));

}  // namespace framlet
