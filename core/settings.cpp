#include "core/settings.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/module_dir.h"
#include "core/settings_rules.h"
#include "core/system_path.h"

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

namespace {

// Reads the raw value with a default no stored value can equal: the profile
// reader strips trailing blanks from a default it is given on Windows (not
// under Wine), so a default such as one blank must be put in by our code.
bool ReadRaw(const Setting& setting, std::string& value) {
  char buffer[kValueBufferSize] = {};
  GetPrivateProfileStringA(setting.section, setting.key, kMissing, buffer, sizeof buffer, FilePath().c_str());
  if (std::strcmp(buffer, kMissing) == 0) return false;
  value = buffer;
  return true;
}

}  // namespace

std::string ReadText(const Setting& setting) {
  std::string value;
  if (ReadRaw(setting, value)) return value;
  if (setting.defaultText) return setting.defaultText;
  if (setting.kind == keys::Kind::Integer) return std::to_string(setting.defaultNumber);
  return DefaultSaveFolder();
}

bool ReadFlag(const Setting& setting) {
  const std::string text = ReadText(setting);
  return setting.kind == keys::Kind::ExactFlag ? ExactTrue(text) : FlagIsOn(text);
}

bool ReadFlag(const Setting& setting, bool defaultOn) {
  std::string text;
  if (!ReadRaw(setting, text)) return defaultOn;
  return setting.kind == keys::Kind::ExactFlag ? ExactTrue(text) : FlagIsOn(text);
}

int ReadInt(const Setting& setting) {
  std::string text;
  if (setting.kind == keys::Kind::Integer) {
    // An empty value (left by the options dialog when it forgets the
    // position) reads like a missing key.
    if (!ReadRaw(setting, text) || text.empty()) return setting.defaultNumber;
    return LeadingInt(text);
  }
  return LeadingInt(ReadText(setting));
}

bool WriteText(const Setting& setting, const std::string& value) {
  return WritePrivateProfileStringA(setting.section, setting.key, value.c_str(), FilePath().c_str()) != FALSE;
}

bool WriteInt(const Setting& setting, int value) { return WriteText(setting, std::to_string(value)); }

bool WriteFlag(const Setting& setting, bool on) { return WriteText(setting, FlagText(on)); }

bool ToggleFlag(const Setting& setting) {
  const bool on = !FlagIsOn(ReadText(setting));
  WriteFlag(setting, on);
  return on;
}

FrameRect ReadFrameRect() {
  return {StoredPlaceNumber(ReadInt(keys::kLeft)), StoredPlaceNumber(ReadInt(keys::kTop)),
          StoredPlaceNumber(ReadInt(keys::kWidth)), StoredPlaceNumber(ReadInt(keys::kHeight))};
}

void WriteFrameRect(const FrameRect& rect) {
  WriteInt(keys::kLeft, rect.left);
  WriteInt(keys::kTop, rect.top);
  WriteInt(keys::kWidth, rect.width);
  WriteInt(keys::kHeight, rect.height);
}

std::string DefaultSaveFolder() {
  char documents[MAX_PATH] = {};
  LPITEMIDLIST pidl = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &pidl)) && pidl) {
    wchar_t wide[MAX_PATH] = {};
    // In the code page, or its short form; a folder with neither stays empty.
    if (SHGetPathFromIDListW(pidl, wide)) lstrcpynA(documents, SystemPath(wide).c_str(), MAX_PATH);
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
