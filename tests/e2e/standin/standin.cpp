// Stand-in for a program the capture program starts (the updater, the paint
// program, the recorder): appends its command line to "<its file name>.log"
// beside itself and the folder it was started in to "<its file name>.dir.log",
// then ends, so a test can see that and how it was started.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  char log[MAX_PATH + 8];
  lstrcpynA(log, path, MAX_PATH);
  lstrcatA(log, ".log");
  HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    const char* line = GetCommandLineA();
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
  }
  // The folder it was started in, a line a start, in "<its file name>.dir.log".
  lstrcpynA(log, path, MAX_PATH);
  lstrcatA(log, ".dir.log");
  file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    char folder[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    DWORD written = 0;
    WriteFile(file, folder, length < MAX_PATH ? length : 0, &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
  }
  return 0;
}
