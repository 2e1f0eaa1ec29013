#pragma once
#include <string>

namespace framlet {

// The running executable's folder with a trailing backslash, computed on the
// first call and kept for the life of the process. Every path into the
// program's own folder starts with it.
const std::string& GetModuleDir();

}  // namespace framlet
