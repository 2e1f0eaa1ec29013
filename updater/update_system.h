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
struct UpdateHosts {
  std::string update;
  std::string component;
};
UpdateHosts ReadHosts(const std::string& programFolder);

// HKCU\SOFTWARE\Framlet: a string value as an integer, `fallback` when the
// key or value is missing; writes never create the key.
int ReadRegistryInt(const char* name, int fallback);
void WriteRegistryText(const char* name, const std::string& text);

// Today as YYYYMMDD.
int Today();

// (section, key) lookups of an INI file, read through the profile functions.
ProfileLookup IniLookup(const std::string& path);

// Whether a program named in the running-program list holds its mutex.
bool ListedProgramRunning(Fetcher& fetcher, const std::string& url, const std::string& programFolder);
// Whether the history list at url finds its program in the uninstall keys.
bool ProgramInstalled(Fetcher& fetcher, const std::string& url, const std::string& programFolder);
// The user's desktop folder holds a file of that name.
bool FileOnDesktop(const std::string& fileName);
// The folder a "DOWN" component's registry setting names.
bool TargetFolderOf(const Component& row, std::string& folder);

// Starts a program hidden with `commandLine` and waits for it to end;
// false when it could not be started.
bool RunAndWait(const std::string& program, const std::string& commandLine);

// Deletes the files of the working folder, removes its empty subfolders and
// the folder itself, and deletes the list file.
void EmptyWorkFolder(const UpdatePaths& paths);
// Starts P + "framlet5.exe" with "-s".
void StartCaptureProgram(const std::string& programFolder);

}  // namespace framlet::update
