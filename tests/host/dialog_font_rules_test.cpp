#include "ui/dialog_font_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace framlet::ui;

namespace {

constexpr std::uint32_t kSetFont = 0x40;
constexpr std::uint32_t kShellFont = 0x48;
constexpr std::uint32_t kPopupCaption = 0x80C00000;  // WS_POPUP | WS_CAPTION

// Writes a dialog template the way the resource compiler lays it out.
class TemplateBytes {
 public:
  TemplateBytes& Word(std::uint16_t w) {
    bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    return *this;
  }
  TemplateBytes& DWord(std::uint32_t d) { return Word(static_cast<std::uint16_t>(d & 0xFFFF)).Word(d >> 16); }
  TemplateBytes& Byte(std::uint8_t b) {
    bytes.push_back(b);
    return *this;
  }
  TemplateBytes& Text(const std::u16string& s) {
    for (char16_t c : s) Word(static_cast<std::uint16_t>(c));
    return Word(0);
  }
  TemplateBytes& Ordinal(std::uint16_t id) { return Word(0xFFFF).Word(id); }
  std::vector<std::uint8_t> bytes;
};

// DIALOGEX header up to the title: version 1, signature 0xFFFF, help id, styles, items, place.
TemplateBytes ExtendedHeader(std::uint32_t style) {
  TemplateBytes t;
  t.Word(1).Word(0xFFFF).DWord(0).DWord(0).DWord(style).Word(3);
  t.Word(0).Word(0).Word(223).Word(155);
  return t;
}

std::optional<TemplateFont> Read(const std::vector<std::uint8_t>& bytes) {
  return ReadTemplateFont(bytes.data(), bytes.size());
}

TEST(TemplateFont, ExtendedTemplatesAsTheDialogsAreWritten) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    int points, weight;
    bool italic;
    int charset;
    std::u16string face;
  };
  const Case cases[] = {
      {"options dialog: caption, no menu, no class",
       ExtendedHeader(kPopupCaption | kSetFont)
           .Word(0)
           .Word(0)
           .Text(u"Option")
           .Word(9)
           .Word(0)
           .Byte(0)
           .Byte(1)
           .Text(u"굴림")
           .bytes,
       9, 0, false, 1, u"굴림"},
      {"menu by name, class by number, empty title, bold italic Hangul",
       ExtendedHeader(kSetFont)
           .Text(u"MENU")
           .Ordinal(0x8002)
           .Text(u"")
           .Word(10)
           .Word(700)
           .Byte(1)
           .Byte(129)
           .Text(u"돋움")
           .bytes,
       10, 700, true, 129, u"돋움"},
      {"menu by number, class by name",
       ExtendedHeader(kSetFont)
           .Ordinal(5)
           .Text(u"MyDialogClass")
           .Text(u"연속캡쳐 Option")
           .Word(12)
           .Word(400)
           .Byte(0)
           .Byte(0)
           .Text(u"Tahoma")
           .bytes,
       12, 400, false, 0, u"Tahoma"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<TemplateFont> font = Read(c.bytes);
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->pointSize, c.points);
    EXPECT_EQ(font->weight, c.weight);
    EXPECT_EQ(font->italic, c.italic);
    EXPECT_EQ(font->charset, c.charset);
    EXPECT_EQ(font->face, c.face);
  }
}

TEST(TemplateFont, ClassicTemplateHasOnlyPointsAndFace) {
  TemplateBytes t;
  t.DWord(kPopupCaption | kSetFont).DWord(0).Word(2).Word(0).Word(0).Word(100).Word(50);
  t.Word(0).Word(0).Text(u"About").Word(8).Text(u"MS Shell Dlg");
  const std::optional<TemplateFont> font = Read(t.bytes);
  ASSERT_TRUE(font.has_value());
  EXPECT_EQ(font->pointSize, 8);
  EXPECT_EQ(font->weight, 0);
  EXPECT_EQ(font->face, u"MS Shell Dlg");
}

TEST(TemplateFont, NoPixelSizeWithoutAFontInPoints) {
  // No DS_SETFONT: the dialog uses the system font; the bytes after the title are not a font.
  EXPECT_FALSE(Read(
      ExtendedHeader(kPopupCaption).Word(0).Word(0).Text(u"x").Word(9).Word(0).Byte(0).Byte(1).Text(u"굴림").bytes));
  // DS_SHELLFONT with 0x7FFF points: the message font, not a size in points.
  EXPECT_FALSE(
      Read(ExtendedHeader(kShellFont).Word(0).Word(0).Text(u"x").Word(0x7FFF).Word(0).Byte(0).Byte(1).Text(u"").bytes));
  EXPECT_FALSE(ReadTemplateFont(nullptr, 0));
}

TEST(TemplateFont, EveryCutShortTemplateGivesNothing) {
  const std::vector<std::uint8_t> whole = ExtendedHeader(kSetFont)
                                              .Text(u"MENU")
                                              .Ordinal(7)
                                              .Text(u"Option")
                                              .Word(9)
                                              .Word(0)
                                              .Byte(0)
                                              .Byte(1)
                                              .Text(u"굴림")
                                              .bytes;
  ASSERT_TRUE(Read(whole));
  for (size_t size = 0; size < whole.size(); ++size) {
    // A copy of exactly `size` bytes, so a read past the end is caught by the sanitizer.
    const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
    EXPECT_FALSE(Read(cut)) << "cut at " << size;
  }
}

TEST(TemplateFont, PixelHeightAt96DpiRoundsLikeTheDialogManager) {
  struct Case {
    int points, pixels;
  } cases[] = {{9, 12}, {8, 11}, {10, 13}, {12, 16}, {11, 15}, {0, 0}, {-9, -12}};
  for (const Case& c : cases) EXPECT_EQ(PixelHeightAt96Dpi(c.points), c.pixels) << c.points << " points";
}

}  // namespace
