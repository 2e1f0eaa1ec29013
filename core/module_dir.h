#pragma once
#include <string>

namespace framlet {

// The running executable's folder with a trailing backslash, computed on the
// first call and kept for the life of the process. Every path into the
// program's own folder starts with it.
const std::string& GetModuleDir();

// The running executable's file name without its extension ("framlet5"): the
// caption of the program's message boxes, which carry no title of their own.
std::wstring ProgramTitle();

}  // namespace framlet
