#pragma once
// Paths are byte strings in the system code page (949 here). A path the
// platform hands over in UTF-16 (a save dialog's choice, a picked folder, a
// special folder) becomes one by this rule; a name the code page cannot hold
// would otherwise turn into '?' and lead nowhere.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace framlet {

// What the system offers for the conversion.
struct PathServices {
  // The text in the system code page; nothing when a character has no place in it.
  std::function<std::optional<std::string>(std::wstring_view)> toCodePage;
  // The short (8.3) form of an existing file or folder; nothing when it does
  // not exist. A volume without short names gives the path back unchanged.
  std::function<std::optional<std::wstring>(std::wstring_view)> shortForm;
};

// The path itself when the code page holds it. Otherwise its short form, when
// the code page holds that: of the whole path when it exists, else (a file not
// made yet) of its folder, followed by its own name, which the code page must
// hold. Nothing when no form fits (no short names on the volume, a new file
// whose own name the code page cannot hold): the caller fails as a failed
// save fails.
std::optional<std::string> CodePagePath(std::wstring_view path, const PathServices& system);

}  // namespace framlet
