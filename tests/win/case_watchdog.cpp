// A case that stops making progress ends the program at once, with every
// thread's call stack printed, rather than holding its desktop until the run's
// time limit. A hang seen once in many runs can only be mended from where each
// thread stood, so the stacks are what this file is for.
//
// The limit is FRAMLET_CASE_LIMIT_S seconds (120 by default; 0 turns the watch
// off). Under Wine the stacks come from the system's debugger attached to this
// process; elsewhere only the case's name is printed. The system's frames carry
// their function names; this program's frames are addresses, which the link map
// build/win/tests/framlet_win_tests.map places in their functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "win_test_util.h"

namespace {

class CaseWatchdog : public ::testing::EmptyTestEventListener {
 public:
  CaseWatchdog() {
    char text[16] = {};
    if (GetEnvironmentVariableA("FRAMLET_CASE_LIMIT_S", text, sizeof text)) limitMs_ = std::atoi(text) * 1000;
    if (limitMs_ <= 0) return;
    InitializeCriticalSection(&lock_);
    caseStarted_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(CreateThread(nullptr, 0, Watch, this, 0, nullptr));
  }

  void OnTestStart(const ::testing::TestInfo& info) override {
    if (limitMs_ <= 0) return;
    EnterCriticalSection(&lock_);
    name_ = std::string(info.test_suite_name()) + "." + info.name();
    running_ = true;
    ++serial_;
    LeaveCriticalSection(&lock_);
    SetEvent(caseStarted_);
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    if (limitMs_ <= 0) return;
    EnterCriticalSection(&lock_);
    running_ = false;
    LeaveCriticalSection(&lock_);
  }

 private:
  static DWORD WINAPI Watch(void* self) {
    static_cast<CaseWatchdog*>(self)->Run();
    return 0;
  }

  void Run() {
    for (;;) {
      WaitForSingleObject(caseStarted_, INFINITE);
      EnterCriticalSection(&lock_);
      const unsigned watched = serial_;
      LeaveCriticalSection(&lock_);
      // Wakes when the next case starts; a timeout with the same case still
      // running is a hang.
      if (WaitForSingleObject(caseStarted_, static_cast<DWORD>(limitMs_)) == WAIT_OBJECT_0) {
        SetEvent(caseStarted_);  // the next case's own watch begins at once
        continue;
      }
      EnterCriticalSection(&lock_);
      const bool hung = running_ && serial_ == watched;
      const std::string name = name_;
      LeaveCriticalSection(&lock_);
      if (hung) Report(name, watched);
    }
  }

  void Report(const std::string& name, unsigned watched) {
    std::printf("\n[  HUNG    ] %s made no progress for %d s; the stacks of this process's threads:\n", name.c_str(),
                limitMs_ / 1000);
    std::fflush(stdout);
    if (wintest::UnderWine()) PrintStacks();
    EnterCriticalSection(&lock_);
    const bool stillHung = running_ && serial_ == watched;
    LeaveCriticalSection(&lock_);
    if (!stillHung) {
      // Slow, not hung: the stacks above may be of a later case.
      std::printf("[  HUNG    ] %s ended while the stacks were read; the run goes on\n", name.c_str());
      std::fflush(stdout);
      return;
    }
    std::printf("[  FAILED  ] %s (hung)\n", name.c_str());
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
  }

  // Runs the debugger on this process and prints what it says of this process's
  // threads (its "bt all" walks every process of the prefix). It writes to a
  // file, not a pipe: while it walks this process every thread here is held,
  // the one that would read a pipe too.
  static void PrintStacks() {
    char temp[MAX_PATH] = {}, file[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    if (!GetTempFileNameA(temp, "stk", 0, file)) return;
    SECURITY_ATTRIBUTES inherit = {};
    inherit.nLength = sizeof inherit;
    inherit.bInheritHandle = TRUE;
    HANDLE out = CreateFileA(file, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    std::string command = "winedbg --command \"bt all\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    const BOOL started =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(out);
    if (started) {
      WaitForSingleObject(process.hProcess, 60000);
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    } else {
      std::printf("(the debugger could not be started)\n");
    }
    std::ifstream in(file, std::ios::binary);
    const std::string output((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    DeleteFileA(file);
    // Sections begin "Backtracing for thread <tid> in process <pid> (...)".
    char mine[32];
    std::snprintf(mine, sizeof mine, "in process %04lx", static_cast<unsigned long>(GetCurrentProcessId()));
    bool keep = false;
    size_t at = 0;
    while (at < output.size()) {
      size_t end = output.find('\n', at);
      if (end == std::string::npos) end = output.size();
      const std::string line = output.substr(at, end - at);
      if (line.rfind("Backtracing for thread", 0) == 0) {
        keep = line.find(mine) != std::string::npos;
        if (keep) std::printf("\n%s\n", line.c_str());
      } else if (keep && (line.rfind("=>", 0) == 0 || (line.size() > 2 && line[0] == ' ' && isdigit(line[2])))) {
        std::printf("%s\n", line.c_str());  // a frame; the debugger's other remarks are left out
      }
      at = end + 1;
    }
  }

  int limitMs_ = 120000;
  CRITICAL_SECTION lock_{};
  HANDLE caseStarted_ = nullptr;
  std::string name_;
  bool running_ = false;
  unsigned serial_ = 0;
};

// Registered before the runner starts: gtest_main only initialises and runs.
const bool kWatching = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new CaseWatchdog);
  return true;
}();

}  // namespace
