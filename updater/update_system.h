#pragma once
// What the updater asks of the machine: its folders, the per-user registry
// values, the running-program and installed-program probes, the desktop
// probe, starting installers and the capture program, and emptying the
// working folder.
#include <string>

#include "updater/fetch.h"
#include "updater/update_rules.h"

namespace framlet::update {

// Program folder P (trailing backslash), working folder W = P + "temp\",
// list file L = P + "updatelist.ini".
struct UpdatePaths {
  std::string program;
  std::string work;
  std::string list;
};
UpdatePaths PathsOfThisProgram();

// Base addresses ("http://host[:port]") of the update check and the
// component downloads: the built-in hosts, unless "update_hosts.ini" beside
// the updater names others in section HOSTS (keys UPDATE, COMPONENT).
// STALLMS in the same section sets how long a download may go without
// receiving anything (30 s unless given).
struct UpdateHosts {
  std::string update;
  std::string component;
  unsigned stallMs = 30000;
};
UpdateHosts ReadHosts(const std::string& programFolder);

// SOFTWARE\Framlet of the current user: a string value as an integer,
// `fallback` when the key or value is missing.
int ReadRegistryInt(const char* name, int fallback);
// "ver" or "module": the current user's value or the installer's
// machine-wide one (HKLM, 64-bit view), whichever is greater; 1 when neither.
int ReadInstalledLevel(const char* name);
// Writes a value of the current user's key. The key is made only where the
// program is installed for the machine (an account that did not install it);
// elsewhere a missing key loses the write.
void WriteRegistryText(const char* name, const std::string& text);

// Today as YYYYMMDD.
int Today();

// (section, key) lookups of an INI file, read through the profile functions.
ProfileLookup IniLookup(const std::string& path);

// Whether a program named in the running-program list holds its mutex.
bool ListedProgramRunning(Fetcher& fetcher, const std::string& url, const std::string& programFolder);
// Whether the history list at url finds its program in the uninstall keys.
bool ProgramInstalled(Fetcher& fetcher, const std::string& url, const std::string& programFolder);
// The current user's desktop folder, as the shell records it.
bool DesktopFolder(std::string& folder);
bool FileReadable(const std::string& path);
// The folder a "DOWN" component's registry setting names, in either registry view.
bool TargetFolderOf(const Component& row, std::string& folder);

// Starts a program hidden with `commandLine` and waits for it to end; true
// when it started and ended with exit code 0.
bool RunAndWait(const std::string& program, const std::string& commandLine);
// Runs a downloaded installer as RunAndWait does, if InstallerMayRun allows
// it for the updater's own signature. The file is kept from being changed
// between the check and the start.
bool RunInstaller(const std::string& program, const std::string& commandLine, const Signature& updater);

// Deletes the files of the working folder, removes its empty subfolders and
// the folder itself, and deletes the list file.
void EmptyWorkFolder(const UpdatePaths& paths);
// Starts P + "framlet5.exe" with "-s".
void StartCaptureProgram(const std::string& programFolder);

}  // namespace framlet::update
