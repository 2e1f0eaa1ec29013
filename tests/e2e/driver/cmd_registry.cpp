// Registry edits for the tests, made by the driver that is already running
// rather than by a registry-editor process per edit.
//
// A key is written "HKCU\path", "HKLM\path" (or the long root names); a
// trailing ":32" or ":64" picks that registry view, as the programs under test
// read both. Values are strings unless written "dword:<number>".
#include "driver.h"

using namespace fldrive;

namespace {

struct Key {
  HKEY root = nullptr;
  std::wstring path;
  REGSAM view = 0;
};

bool ParseKey(std::wstring text, Key* key) {
  if (text.size() > 3 && text.compare(text.size() - 3, 3, L":32") == 0) {
    key->view = KEY_WOW64_32KEY;
    text.resize(text.size() - 3);
  } else if (text.size() > 3 && text.compare(text.size() - 3, 3, L":64") == 0) {
    key->view = KEY_WOW64_64KEY;
    text.resize(text.size() - 3);
  }
  const size_t slash = text.find(L'\\');
  const std::wstring root = text.substr(0, slash);
  key->path = slash == std::wstring::npos ? L"" : text.substr(slash + 1);
  if (root == L"HKCU" || root == L"HKEY_CURRENT_USER") {
    key->root = HKEY_CURRENT_USER;
  } else if (root == L"HKLM" || root == L"HKEY_LOCAL_MACHINE") {
    key->root = HKEY_LOCAL_MACHINE;
  } else {
    return false;
  }
  return !key->path.empty();
}

class OpenKey {
 public:
  OpenKey(const Key& key, REGSAM access, bool create) {
    const LONG rc = create ? RegCreateKeyExW(key.root, key.path.c_str(), 0, nullptr, 0, access | key.view, nullptr,
                                             &hkey_, nullptr)
                           : RegOpenKeyExW(key.root, key.path.c_str(), 0, access | key.view, &hkey_);
    if (rc != ERROR_SUCCESS) hkey_ = nullptr;
  }
  ~OpenKey() {
    if (hkey_) RegCloseKey(hkey_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY get() const { return hkey_; }

 private:
  HKEY hkey_ = nullptr;
};

}  // namespace

FLDRIVE_COMMAND(reg_set, L"<key> <name> <value|dword:N> [<name> <value>...]   creates the key and sets the values") {
  Key key;
  if (args.size() < 3 || args.size() % 2 != 1 || !ParseKey(args[0], &key)) return 2;
  OpenKey open(key, KEY_SET_VALUE, true);
  if (!open.get()) return 1;
  for (size_t i = 1; i + 1 < args.size(); i += 2) {
    const std::wstring& name = args[i];
    const std::wstring& value = args[i + 1];
    LONG rc;
    if (value.rfind(L"dword:", 0) == 0) {
      const DWORD number = static_cast<DWORD>(wcstoul(value.c_str() + 6, nullptr, 0));
      rc = RegSetValueExW(open.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    } else {
      rc = RegSetValueExW(open.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    if (rc != ERROR_SUCCESS) return 1;
  }
  return 0;
}

FLDRIVE_COMMAND(reg_get, L"<key> <name>   prints a string or dword value; 1 when there is none") {
  Key key;
  if (args.size() != 2 || !ParseKey(args[0], &key)) return 2;
  OpenKey open(key, KEY_QUERY_VALUE, false);
  if (!open.get()) return 1;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(open.get(), args[1].c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return 1;
  std::wstring data(size / sizeof(wchar_t) + 2, L'\0');
  size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  if (RegQueryValueExW(open.get(), args[1].c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS)
    return 1;
  if (type == REG_DWORD) {
    Printf("%lu\n", static_cast<unsigned long>(*reinterpret_cast<const DWORD*>(data.data())));
  } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
    Print(data.c_str());
  } else {
    return 1;
  }
  return 0;
}

FLDRIVE_COMMAND(reg_delete, L"<key> [<name>...]   deletes the values, or the key with all below it; 0 also when absent") {
  Key key;
  if (args.empty() || !ParseKey(args[0], &key)) return 2;
  if (args.size() == 1) {
    OpenKey open(key, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE, false);
    if (!open.get()) return 0;
    const LONG tree = RegDeleteTreeW(open.get(), nullptr);
    const LONG self = RegDeleteKeyExW(key.root, key.path.c_str(), key.view, 0);
    return tree == ERROR_SUCCESS && (self == ERROR_SUCCESS || self == ERROR_FILE_NOT_FOUND) ? 0 : 1;
  }
  OpenKey open(key, KEY_SET_VALUE, false);
  if (!open.get()) return 0;
  for (size_t i = 1; i < args.size(); ++i) {
    const LONG rc = RegDeleteValueW(open.get(), args[i].c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) return 1;
  }
  return 0;
}
