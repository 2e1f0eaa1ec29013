#pragma once
#include <string_view>

namespace framlet {

// The text after the program's own name (quoted or not), with the blanks and
// control characters that follow the name skipped.
std::string_view ArgumentsOf(std::string_view commandLine);

// True only when the whole argument text is "-s" in any case: the start that
// opens the capture frame. Anything more, a trailing blank included, is a plain
// start that hands over to the updater.
bool IsFrameStart(std::string_view commandLine);

}  // namespace framlet
