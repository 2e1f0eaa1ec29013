#pragma once
#include <string>

// The separate screen recorder's program file when it is installed, else
// empty. Installed means its uninstall entry exists in either registry view:
// listed in the native view it lives under Program Files, listed only in the
// 32-bit view (a 32-bit install) under Program Files (x86).
std::string InstalledRecorderProgram();
