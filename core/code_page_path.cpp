#include "core/code_page_path.h"

namespace framlet {

std::optional<std::string> CodePagePath(std::wstring_view path, const PathServices& system) {
  if (std::optional<std::string> bytes = system.toCodePage(path)) return bytes;
  if (const std::optional<std::wstring> whole = system.shortForm(path))
    if (std::optional<std::string> bytes = system.toCodePage(*whole)) return bytes;

  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring_view::npos || slash + 1 == path.size()) return std::nullopt;
  const std::optional<std::string> name = system.toCodePage(path.substr(slash + 1));
  if (!name) return std::nullopt;
  const std::optional<std::wstring> folder = system.shortForm(path.substr(0, slash + 1));
  if (!folder) return std::nullopt;
  std::optional<std::string> bytes = system.toCodePage(*folder);
  if (!bytes) return std::nullopt;
  if (bytes->empty() || (bytes->back() != '\\' && bytes->back() != '/')) *bytes += '\\';
  return *bytes + *name;
}

}  // namespace framlet
