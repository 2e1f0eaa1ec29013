#include "ui/dialog_font_rules.h"

namespace framlet::ui {

namespace {

constexpr std::uint32_t kSetFontStyle = 0x40;  // DS_SETFONT
constexpr std::uint16_t kMessageFontPoints = 0x7FFF;

// Little-endian reads that fail, instead of reading past the end, on a short
// template (at_ never passes size_).
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Word(std::uint16_t& out) {
    if (!data_ || size_ - at_ < 2) return Fail();
    out = static_cast<std::uint16_t>(data_[at_] | (data_[at_ + 1] << 8));
    at_ += 2;
    return true;
  }
  bool DWord(std::uint32_t& out) {
    std::uint16_t low = 0, high = 0;
    if (!Word(low) || !Word(high)) return false;
    out = low | (static_cast<std::uint32_t>(high) << 16);
    return true;
  }
  bool Byte(std::uint8_t& out) {
    if (!data_ || at_ >= size_) return Fail();
    out = data_[at_++];
    return true;
  }
  bool Skip(std::size_t count) {
    if (count > size_ - at_) return Fail();
    at_ += count;
    return true;
  }
  // A zero-terminated UTF-16 string.
  bool String(std::u16string* out) {
    for (;;) {
      std::uint16_t c = 0;
      if (!Word(c)) return false;
      if (c == 0) return true;
      if (out) out->push_back(static_cast<char16_t>(c));
    }
  }
  // Menu and class fields: nothing (0), an ordinal (0xFFFF and a number) or a string.
  bool NameOrOrdinal() {
    std::uint16_t first = 0;
    if (!Word(first)) return false;
    if (first == 0) return true;
    if (first == 0xFFFF) {
      std::uint16_t ordinal = 0;
      return Word(ordinal);
    }
    for (;;) {
      std::uint16_t c = 0;
      if (!Word(c)) return false;
      if (c == 0) return true;
    }
  }

 private:
  bool Fail() {
    at_ = size_;
    return false;
  }
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace

std::optional<TemplateFont> ReadTemplateFont(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  std::uint16_t version = 0, signature = 0;
  if (!in.Word(version) || !in.Word(signature)) return std::nullopt;
  const bool extended = version == 1 && signature == 0xFFFF;

  std::uint32_t style = 0;
  if (extended) {
    std::uint32_t helpId = 0, exStyle = 0;
    if (!in.DWord(helpId) || !in.DWord(exStyle) || !in.DWord(style)) return std::nullopt;
  } else {
    // The two words just read are the style; the extended style follows.
    style = version | (static_cast<std::uint32_t>(signature) << 16);
    if (!in.Skip(4)) return std::nullopt;
  }
  // Item count and x, y, cx, cy.
  if (!in.Skip(2 + 4 * 2)) return std::nullopt;
  if (!in.NameOrOrdinal() || !in.NameOrOrdinal() || !in.String(nullptr)) return std::nullopt;
  if (!(style & kSetFontStyle)) return std::nullopt;

  TemplateFont font;
  std::uint16_t points = 0;
  if (!in.Word(points)) return std::nullopt;
  if (extended) {
    std::uint16_t weight = 0;
    std::uint8_t italic = 0, charset = 0;
    if (!in.Word(weight) || !in.Byte(italic) || !in.Byte(charset)) return std::nullopt;
    font.weight = weight;
    font.italic = italic != 0;
    font.charset = charset;
  }
  if (!in.String(&font.face)) return std::nullopt;
  if (points == kMessageFontPoints) return std::nullopt;
  font.pointSize = static_cast<std::int16_t>(points);
  return font;
}

int PixelHeightAt96Dpi(int points) {
  // MulDiv(points, 96, 72), rounded half away from zero.
  const long long scaled = static_cast<long long>(points) * 96;
  const long long rounded = scaled >= 0 ? (scaled + 36) / 72 : (scaled - 36) / 72;
  return static_cast<int>(rounded);
}

}  // namespace framlet::ui
