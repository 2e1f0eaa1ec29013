#include <fcntl.h>
#include <io.h>

#include <cstdarg>
#include <cstdio>
#include <map>

#include "driver.h"

namespace fldrive {

namespace {
struct Entry {
  std::wstring usage;
  Handler handler;
};
std::map<std::wstring, Entry>& Commands() {
  static std::map<std::wstring, Entry> commands;
  return commands;
}
}  // namespace

Registration::Registration(const wchar_t* name, const wchar_t* usage, Handler handler) {
  Commands()[name] = Entry{usage, handler};
}

std::string WideToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Utf8ToWide(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

void Print(const std::wstring& text) {
  std::string utf8 = WideToUtf8(text);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fputc('\n', stdout);
}

void Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
}

void PrintHandle(HWND hwnd) {
  Printf("%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
}

int ToInt(const std::wstring& text) { return static_cast<int>(wcstol(text.c_str(), nullptr, 0)); }

HWND FindTop(const std::wstring& titleOrHandle) {
  if (!titleOrHandle.empty() && titleOrHandle[0] == L'#') {
    HWND hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(wcstoll(titleOrHandle.c_str() + 1, nullptr, 16)));
    return IsWindow(hwnd) ? hwnd : nullptr;
  }
  // A message box of the program may carry the program's title too: of the
  // windows with the title, the one no other window owns is the program's own.
  struct Search {
    const std::wstring* title;
    HWND first;
    HWND unowned;
  } search = {&titleOrHandle, nullptr, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t text[256] = {};
        GetWindowTextW(hwnd, text, 256);
        if (*s->title != text) return TRUE;
        if (!s->first) s->first = hwnd;
        if (!GetWindow(hwnd, GW_OWNER)) {
          s->unowned = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.unowned ? search.unowned : search.first;
}

HWND WaitTop(const std::wstring& title, int ms, bool mustBeVisible) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND hwnd = FindTop(title);
    if (hwnd && (!mustBeVisible || IsWindowVisible(hwnd))) return hwnd;
    if (static_cast<int>(GetTickCount() - start) >= ms) return nullptr;
    Sleep(10);
  }
}

}  // namespace fldrive

namespace {

int Usage() {
  std::fprintf(stderr, "usage: fldrive <command> [args]\n       fldrive serve\n");
  for (const auto& [name, entry] : fldrive::Commands())
    std::fprintf(stderr, "  %s %s\n", fldrive::WideToUtf8(name).c_str(), fldrive::WideToUtf8(entry.usage).c_str());
  return 2;
}

int Run(const std::wstring& name, const fldrive::Args& args) {
  const auto found = fldrive::Commands().find(name);
  if (found == fldrive::Commands().end()) return 2;
  const int rc = found->second.handler(args);
  std::fflush(stdout);
  return rc;
}

// Serve mode: one command a line on stdin (UTF-8, the name and its arguments
// separated by tabs); after each command's own output a line "\x1e<exit code>"
// closes the answer. Starting a Wine process costs far more than any command,
// so the end-to-end harness keeps one driver for a whole test file.
int Serve() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  std::string line;
  int c;
  for (;;) {
    line.clear();
    while ((c = std::fgetc(stdin)) != EOF && c != '\n') line += static_cast<char>(c);
    if (c == EOF && line.empty()) return 0;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    fldrive::Args parts;
    size_t start = 0;
    for (;;) {
      const size_t tab = line.find('\t', start);
      parts.push_back(fldrive::Utf8ToWide(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    const std::wstring name = parts.front();
    parts.erase(parts.begin());
    const int rc = name.empty() ? 2 : Run(name, parts);
    std::printf("\x1e%d\n", rc);
    std::fflush(stdout);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace fldrive;
  // Physical pixels, like the program under test.
  SetProcessDPIAware();
  if (argc == 2 && std::wstring(argv[1]) == L"serve") return Serve();
  if (argc < 2 || Commands().find(argv[1]) == Commands().end()) return Usage();
  return Run(argv[1], Args(argv + 2, argv + argc));
}
