#include "web/browser_engine.h"

#include <urlmon.h>

#include <string>

#include "core/paths.h"
#include "ui/gdi.h"

namespace framlet::web {

namespace {

struct RegKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY key) { RegCloseKey(key); }
};
using RegKey = framlet::ui::Owned<HKEY, RegKeyTraits>;

bool IsLeadByte(unsigned char c) {
  return IsDBCSLeadByte(c) != FALSE;
}

// The running program's file name with its extension, as the engine looks it up.
std::string ProgramFileName() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const PathParts parts = SplitPath(path, IsLeadByte);
  return parts.stem + parts.ext;
}

void WriteFeature(const char* feature, const std::string& program, DWORD value) {
  const std::string subkey = std::string(kFeatureControlKey) + "\\" + feature;
  HKEY opened = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) !=
      ERROR_SUCCESS)
    return;
  const RegKey key(opened);
  RegSetValueExA(key, program.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace

void PrepareBrowserEngine() {
  const std::string program = ProgramFileName();
  if (!program.empty()) WriteFeature(kBrowserEmulationFeature, program, kBrowserEmulation);
  CoInternetSetFeatureEnabled(FEATURE_DISABLE_NAVIGATION_SOUNDS, SET_FEATURE_ON_PROCESS, TRUE);
}

}  // namespace framlet::web
