#pragma once
#include <windows.h>

#include <string>

// Opens the picture file `path` in the system paint program: "mspaint.exe"
// with the file name as its parameter and the file's folder as its working
// folder. False, with nothing started, when the path has no folder. The split
// honours double-byte file names whose second byte is a backslash.
bool OpenInPaint(HWND owner, const std::string& path);
