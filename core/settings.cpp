#include "core/settings.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "core/module_dir.h"
#include "core/settings_rules.h"

namespace framlet::settings {

namespace {

std::string& PathOverride() {
  static std::string path;
  return path;
}

// A default that no stored value can equal, so a missing key can be told
// from one that is present (the profile API gives no other way).
constexpr char kMissing[] = "\x01\x02missing\x02\x01";

}  // namespace

std::string FilePath() {
  if (!PathOverride().empty()) return PathOverride();
  return GetModuleDir() + "framlet.ini";
}

std::string ReadText(const char* section, const char* key, const char* defaultText) {
  char buffer[kValueBufferSize] = {};
  GetPrivateProfileStringA(section, key, defaultText, buffer, sizeof buffer, FilePath().c_str());
  return buffer;
}

bool ReadFlag(const char* section, const char* key, const char* defaultText) {
  return FlagIsOn(ReadText(section, key, defaultText));
}

int ReadInt(const char* section, const char* key, int defaultValue) {
  std::string text = ReadText(section, key, kMissing);
  // An empty value (left by the options dialog when it forgets the position)
  // reads like a missing key, as the platform's integer read does.
  if (text == kMissing || text.empty()) return defaultValue;
  return LeadingInt(text);
}

bool WriteText(const char* section, const char* key, const char* value) {
  return WritePrivateProfileStringA(section, key, value, FilePath().c_str()) != FALSE;
}

bool WriteInt(const char* section, const char* key, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return WriteText(section, key, text);
}

bool ToggleFlag(const char* section, const char* key, const char* defaultText) {
  bool on = !ReadFlag(section, key, defaultText);
  WriteText(section, key, FlagText(on));
  return on;
}

std::string DefaultSaveFolder() {
  char documents[MAX_PATH] = {};
  LPITEMIDLIST pidl = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &pidl)) && pidl) {
    SHGetPathFromIDListA(pidl, documents);
    CoTaskMemFree(pidl);
  }
  // Some shells give the folder with a trailing separator (Wine does when the
  // documents folder is a link); drop it so the joined path has one.
  size_t length = std::strlen(documents);
  bool endsWithSeparator = false;
  for (size_t i = 0; i < length; ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(documents[i]))) {
      ++i;
      endsWithSeparator = false;
    } else {
      endsWithSeparator = documents[i] == '\\';
    }
  }
  if (endsWithSeparator) documents[length - 1] = '\0';
  char folder[MAX_PATH + 16];
  std::snprintf(folder, sizeof folder, "%s\\Framlet", documents);
  return folder;
}

void SetFilePathForTesting(const std::string& path) { PathOverride() = path; }

}  // namespace framlet::settings
