// A window's process from outside, for long runs: how fast its thread answers
// a message, and how much memory the process holds.
#include "driver.h"

#include <psapi.h>

using namespace fldrive;

FLDRIVE_COMMAND(answer, L"<title|#hwnd> <ms>   sends WM_NULL; prints the milliseconds the window took to answer, "
                        L"or 'none' (exit 1) when it did not within ms") {
  if (args.size() != 2) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  DWORD_PTR result = 0;
  const bool answered = SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, ToInt(args[1]), &result) != 0;
  QueryPerformanceCounter(&end);
  if (!answered) {
    Printf("none\n");
    return 1;
  }
  Printf("%.1f\n", (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
  return 0;
}

FLDRIVE_COMMAND(memory, L"<title|#hwnd>   the window's process: 'working=<KB> private=<KB> peak=<KB>'") {
  if (args.size() != 1) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return 1;
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  const bool read =
      GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters) != 0;
  CloseHandle(process);
  if (!read) return 1;
  Printf("working=%zu private=%zu peak=%zu\n", counters.WorkingSetSize / 1024, counters.PrivateUsage / 1024,
         counters.PeakWorkingSetSize / 1024);
  return 0;
}
