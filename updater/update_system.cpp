#include "updater/update_system.h"

#include <windows.h>
#include <shellapi.h>

#include <ctime>
#include <optional>
#include <vector>

#include "ui/gdi.h"
#include "updater/signature.h"
#include "updater/handles.h"
#include "web/site_config.h"

namespace framlet::update {
namespace {

constexpr char kFramletKey[] = "SOFTWARE\\Framlet";
constexpr char kUninstallKey[] = "SOFTWARE\\MicroSoft\\Windows\\CurrentVersion\\Uninstall\\";

// A registry string, at most 259 bytes, cut at a character boundary.
bool ReadRegistryString(HKEY root, const std::string& subkey, const std::string& name, REGSAM view,
                        std::string& value) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return false;
  RegKey key(opened);
  char buffer[1024] = {};
  DWORD size = sizeof(buffer) - 1;
  DWORD type = 0;
  LONG result = RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  buffer[std::min<DWORD>(size, sizeof(buffer) - 1)] = 0;
  value = CutToBytes(buffer);
  return true;
}

// A value in either registry view: a 32-bit program's entries live in the other one.
bool ReadRegistryStringAnyView(HKEY root, const std::string& subkey, const std::string& name,
                               std::string& value) {
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    if (ReadRegistryString(root, subkey, name, view, value)) return true;
  }
  return false;
}

std::optional<int> RegistryInt(HKEY root, const char* name) {
  std::string value;
  if (!ReadRegistryString(root, kFramletKey, name, KEY_WOW64_64KEY, value)) return std::nullopt;
  return ListInt(value);
}

std::string ProfileString(const std::string& path, const char* section, const char* key) {
  char buffer[1024] = {};
  GetPrivateProfileStringA(section, key, "", buffer, sizeof(buffer), path.c_str());
  return CutToBytes(buffer);
}

}  // namespace

UpdatePaths PathsOfThisProgram() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string full(path, length);
  // Walk by characters: a double-byte character's trail byte may be 0x5C.
  size_t lastSeparator = std::string::npos;
  for (size_t i = 0; i < full.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(full[i])) && i + 1 < full.size()) {
      ++i;
      continue;
    }
    if (full[i] == '\\' || full[i] == '/') lastSeparator = i;
  }
  UpdatePaths paths;
  paths.program = lastSeparator == std::string::npos ? std::string() : full.substr(0, lastSeparator + 1);
  paths.work = paths.program + "temp\\";
  paths.list = paths.program + "updatelist.ini";
  return paths;
}

UpdateHosts ReadHosts(const std::string& programFolder) {
  UpdateHosts hosts;
  hosts.update = site::Url(site::kUpdateCheckHost, "");
  hosts.component = site::Url(site::kComponentHost, "");
  const std::string file = programFolder + "update_hosts.ini";
  if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return hosts;
  std::string update = ProfileString(file, "HOSTS", "UPDATE");
  std::string component = ProfileString(file, "HOSTS", "COMPONENT");
  const int stallMs = ListInt(ProfileString(file, "HOSTS", "STALLMS"));
  if (stallMs > 0) hosts.stallMs = static_cast<unsigned>(stallMs);
  if (!update.empty()) hosts.update = update;
  if (!component.empty()) hosts.component = component;
  return hosts;
}

int ReadRegistryInt(const char* name, int fallback) {
  return RegistryInt(HKEY_CURRENT_USER, name).value_or(fallback);
}

int ReadInstalledLevel(const char* name) {
  return InstalledLevel(RegistryInt(HKEY_CURRENT_USER, name), RegistryInt(HKEY_LOCAL_MACHINE, name), 1);
}

void WriteRegistryText(const char* name, const std::string& text) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kFramletKey, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) {
    // Another account than the installing one has no key of its own yet: it
    // gets one where the program is installed for the whole machine.
    HKEY machine = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kFramletKey, 0, KEY_READ | KEY_WOW64_64KEY, &machine) != ERROR_SUCCESS) {
      return;
    }
    RegCloseKey(machine);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kFramletKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) !=
        ERROR_SUCCESS) {
      return;
    }
  }
  RegKey key(opened);
  RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
}

int Today() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_s(&local, &now);
  return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

ProfileLookup IniLookup(const std::string& path) {
  return [path](const char* section, const char* key) { return ProfileString(path, section, key); };
}

bool ListedProgramRunning(Fetcher& fetcher, const std::string& url, const std::string& programFolder) {
  const std::string file = programFolder + "mutex.ini";
  if (!fetcher.Fetch(url, file, false, nullptr)) return false;
  const int count = ProbeCount(ProfileString(file, "COUNTER", "NUM"));
  for (int i = 1; i <= count; ++i) {
    const std::string section = "CHECK" + std::to_string(i);
    const std::string name = ProfileString(file, section.c_str(), "MUTEX");
    if (name.empty()) continue;
    SetLastError(0);
    framlet::ui::KernelHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, name.c_str()));
    const DWORD error = GetLastError();
    if (MutexSaysRunning(static_cast<bool>(mutex), error)) return true;
  }
  return false;
}

bool ProgramInstalled(Fetcher& fetcher, const std::string& url, const std::string& programFolder) {
  const std::string file = programFolder + "History.ini";
  if (!fetcher.Fetch(url, file, false, nullptr)) return false;
  bool installed = false;
  const int count = ProbeCount(ProfileString(file, "COUNTER", "NUM"));
  for (int i = 1; i <= count && !installed; ++i) {
    const std::string section = "CHECK" + std::to_string(i);
    HKEY root = ProfileString(file, section.c_str(), "HKEY") == "HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    const std::string subkey = kUninstallKey + ProfileString(file, section.c_str(), "REGPATH");
    const std::string name = ProfileString(file, section.c_str(), "REGNAME");
    const std::string wanted = ProfileString(file, section.c_str(), "REGVALUE");
    std::string data;
    ReadRegistryStringAnyView(root, subkey, name, data);
    installed = data == wanted;
  }
  DeleteFileA(file.c_str());
  return installed;
}

bool DesktopFolder(std::string& folder) {
  return ReadRegistryString(HKEY_CURRENT_USER, "SoftWare\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                            "Desktop", 0, folder) &&
         !folder.empty();
}

bool FileReadable(const std::string& path) {
  return static_cast<bool>(framlet::ui::FileHandle(CreateFileA(
      path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr)));
}

bool TargetFolderOf(const Component& row, std::string& folder) {
  HKEY root = row.regRoot == "HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  return ReadRegistryStringAnyView(root, row.regPath, row.regValue, folder);
}

bool RunAndWait(const std::string& program, const std::string& commandLine) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back(0);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  framlet::ui::KernelHandle thread(process.hThread);
  framlet::ui::KernelHandle running(process.hProcess);
  WaitForSingleObject(running.Get(), INFINITE);
  DWORD code = 0;
  return GetExitCodeProcess(running.Get(), &code) && code == 0;
}

bool RunInstaller(const std::string& program, const std::string& commandLine, const Signature& updater) {
  // Others may read (and so start) the file, never write, rename or delete it.
  framlet::ui::FileHandle pinned(
      CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!pinned) return false;
  if (!InstallerMayRun(updater, updater.valid ? SignatureOf(program) : Signature{})) return false;
  return RunAndWait(program, commandLine);
}

void EmptyWorkFolder(const UpdatePaths& paths) {
  if (paths.program.empty()) return;
  WIN32_FIND_DATAA found{};
  framlet::ui::FindHandle search(FindFirstFileA((paths.work + "*").c_str(), &found));
  if (search) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = paths.work + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryA(full.c_str());
      } else {
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(search.Get(), &found));
  }
  RemoveDirectoryA(paths.work.c_str());
  DeleteFileA(paths.list.c_str());
}

void StartCaptureProgram(const std::string& programFolder) {
  const std::string program = programFolder + "framlet5.exe";
  ShellExecuteA(nullptr, "open", program.c_str(), "-s", nullptr, SW_SHOWNORMAL);
}

}  // namespace framlet::update
