// A test installer: appends "<its file name>|<its command line>" to the file
// named by FRAMLET_INSTALL_LOG, optionally waits until the file named by
// FRAMLET_INSTALL_HOLD is gone (so a test can close the updater while an
// installer runs), and ends.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char log[MAX_PATH] = {};
  if (GetEnvironmentVariableA("FRAMLET_INSTALL_LOG", log, MAX_PATH) == 0) return 1;
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const char* name = std::strrchr(self, '\\');
  name = name ? name + 1 : self;
  HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, name, static_cast<DWORD>(std::strlen(name)), &written, nullptr);
    WriteFile(file, "|", 1, &written, nullptr);
    const char* line = GetCommandLineA();
    WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
  }
  char hold[MAX_PATH] = {};
  if (GetEnvironmentVariableA("FRAMLET_INSTALL_HOLD", hold, MAX_PATH) != 0) {
    while (GetFileAttributesA(hold) != INVALID_FILE_ATTRIBUTES) Sleep(50);
  }
  return 0;
}
