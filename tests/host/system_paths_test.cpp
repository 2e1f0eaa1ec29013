// Paths handed to the system: the paint program gets its file name as one
// quoted argument.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/paths.h"
#include "windows/paint_rules.h"

namespace framlet {
namespace {

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
