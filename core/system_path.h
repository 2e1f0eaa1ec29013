#pragma once
#include <string>
#include <string_view>

namespace framlet {

// A UTF-16 path from the platform as the program's code-page path, by the
// rule of core/code_page_path.h with the system's code page and short names;
// empty when no form of it fits.
std::string SystemPath(std::wstring_view path);

// Code-page text (a path, a filter list with its inner zeros) in UTF-16.
std::wstring FromCodePage(std::string_view text);

}  // namespace framlet
