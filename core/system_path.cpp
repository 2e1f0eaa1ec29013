#include "core/system_path.h"

#include <windows.h>

#include "core/code_page_path.h"

namespace framlet {

namespace {

// Converted there and back: a character the code page lacks (or only
// approximates) does not come back the same.
std::optional<std::string> ToCodePage(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int wideLength = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, bytes.data(), size, nullptr, nullptr);
  std::wstring back(static_cast<size_t>(wideLength) + 1, L'\0');
  const int backLength = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, back.data(), wideLength + 1);
  if (backLength != wideLength || text.compare(0, text.size(), back.data(), static_cast<size_t>(backLength)) != 0)
    return std::nullopt;
  return bytes;
}

std::optional<std::wstring> ShortForm(std::wstring_view path) {
  const std::wstring full(path);
  const DWORD size = GetShortPathNameW(full.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring shortPath(size, L'\0');
  const DWORD length = GetShortPathNameW(full.c_str(), shortPath.data(), size);
  if (length == 0 || length >= size) return std::nullopt;
  shortPath.resize(length);
  return shortPath;
}

}  // namespace

std::string SystemPath(std::wstring_view path) {
  return CodePagePath(path, {ToCodePage, ShortForm}).value_or(std::string());
}

std::wstring FromCodePage(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), size);
  return wide;
}

}  // namespace framlet
