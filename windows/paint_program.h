#pragma once
#include <windows.h>

#include <string>

// Opens the picture file `path` in the system paint program: "mspaint.exe"
// with the quoted file name as its parameter and the file's folder as its
// working folder (windows/paint_rules.h). False, with nothing started, when
// the path has no folder.
bool OpenInPaint(HWND owner, const std::string& path);
