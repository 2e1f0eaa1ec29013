// Paths between the program's code-page strings and the system: a UTF-16 path
// the code page cannot hold goes by its short form or not at all, and the
// paint program gets its file name as one quoted argument.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "core/code_page_path.h"
#include "core/paths.h"
#include "windows/paint_rules.h"

namespace framlet {
namespace {

// Code page 949 as far as these paths need it: ASCII and two Hangul syllables.
std::optional<std::string> ToCp949(std::wstring_view text) {
  static const std::map<wchar_t, std::string> hangul = {{L'캡', "\xC4\xB8"}, {L'처', "\xC3\xB3"}};
  std::string bytes;
  for (wchar_t c : text) {
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else if (auto it = hangul.find(c); it != hangul.end()) {
      bytes += it->second;
    } else {
      return std::nullopt;
    }
  }
  return bytes;
}

// The disk: drive C: gives short names, drive D: (short names turned off)
// gives every path back unchanged. Only what exists has a short form.
std::optional<std::wstring> ShortForm(std::wstring_view path) {
  static const std::map<std::wstring, std::wstring> existing = {
      {L"C:\\Users\\Thảo", L"C:\\Users\\THO~1"},
      {L"C:\\Users\\Thảo\\", L"C:\\Users\\THO~1\\"},
      {L"C:\\Users\\Thảo\\old.jpg", L"C:\\Users\\THO~1\\old.jpg"},
      {L"C:\\캡처\\", L"C:\\캡처\\"},
      {L"D:\\Ảnh", L"D:\\Ảnh"},
      {L"D:\\Ảnh\\", L"D:\\Ảnh\\"},
  };
  const auto it = existing.find(std::wstring(path));
  if (it == existing.end()) return std::nullopt;
  return it->second;
}

TEST(CodePagePath, AsItIsByItsShortFormOrNotAtAll) {
  const PathServices disk{ToCp949, ShortForm};
  struct Case {
    const char* situation;
    std::wstring path;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"the code page holds it", L"C:\\캡처\\shot.jpg", "C:\\\xC4\xB8\xC3\xB3\\shot.jpg"},
      {"an existing file in a folder it cannot name", L"C:\\Users\\Thảo\\old.jpg", "C:\\Users\\THO~1\\old.jpg"},
      {"a new file there: the folder's short form, the file's own name", L"C:\\Users\\Thảo\\new.jpg",
       "C:\\Users\\THO~1\\new.jpg"},
      {"a new file with a Korean name there", L"C:\\Users\\Thảo\\캡처.png", "C:\\Users\\THO~1\\\xC4\xB8\xC3\xB3.png"},
      {"a picked folder", L"C:\\Users\\Thảo", "C:\\Users\\THO~1"},
      {"a new file whose own name it cannot hold", L"C:\\캡처\\ảnh.jpg", std::nullopt},
      {"a volume without short names", L"D:\\Ảnh\\shot.jpg", std::nullopt},
      {"a folder that does not exist", L"C:\\Users\\Thảo\\gone\\new.jpg", std::nullopt},
      {"no folder at all", L"ảnh.jpg", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(CodePagePath(c.path, disk), c.expected) << c.situation;
}

TEST(PaintStart, TheFileNameQuotedInItsOwnFolder) {
  struct Case {
    const char* path;
    std::optional<PaintStart> expected;
  };
  const Case cases[] = {
      {"C:\\cap\\shot.bmp", PaintStart{"C:\\cap\\", "\"shot.bmp\""}},
      // Blanks in the name stay one argument; the program's temporary capture keeps its doubled separator.
      {"C:\\my shots\\a b.bmp", PaintStart{"C:\\my shots\\", "\"a b.bmp\""}},
      {"C:\\Program Files\\Framlet\\\\temp\\captureimg.bmp",
       PaintStart{"C:\\Program Files\\Framlet\\\\temp\\", "\"captureimg.bmp\""}},
      {"shot.bmp", std::nullopt},
      {"C:\\cap\\", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<PaintStart> got = PaintStartFor(c.path, IsCp949LeadByte);
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.path;
    if (!got) continue;
    EXPECT_EQ(got->folder, c.expected->folder) << c.path;
    EXPECT_EQ(got->parameter, c.expected->parameter) << c.path;
  }
}

}  // namespace
}  // namespace framlet
