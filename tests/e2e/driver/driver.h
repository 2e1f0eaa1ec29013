#pragma once
// fldrive: a small Windows-side driver for the end-to-end tests. Each call runs
// one command, prints its answer on stdout and exits 0 on success, 1 when the
// thing asked for is not there, 2 on a usage error.
//
//   fldrive <command> [arguments...]
//
// Commands register themselves from their own source files (one file per area),
// so a new area adds a file rather than editing a shared one.
#include <windows.h>

#include <string>
#include <vector>

namespace fldrive {

using Args = std::vector<std::wstring>;
using Handler = int (*)(const Args& args);

struct Registration {
  Registration(const wchar_t* name, const wchar_t* usage, Handler handler);
};

// UTF-8 output of wide text.
void Print(const std::wstring& text);
void Printf(const char* format, ...);
// A window's handle as the commands print it (hex, one line).
void PrintHandle(HWND hwnd);

// A top-level window by exact title (or "#hex" handle); nullptr when there is none.
HWND FindTop(const std::wstring& titleOrHandle);
// Waits up to ms for FindTop to succeed (and, if mustBeVisible, for the window to be visible).
HWND WaitTop(const std::wstring& title, int ms, bool mustBeVisible);

int ToInt(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

}  // namespace fldrive

#define FLDRIVE_COMMAND(name, usage) \
  static int Cmd_##name(const fldrive::Args& args); \
  static fldrive::Registration reg_##name(L## #name, usage, Cmd_##name); \
  static int Cmd_##name(const fldrive::Args& args)
