// The font a dialog template names, read from the template's bytes: a cut or
// malformed template gives nothing and never a read past its end (the
// template is copied to a buffer of exactly its size).
#include <cstring>
#include <memory>

#include "fuzz_check.h"
#include "ui/dialog_font_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<uint8_t[]> bytes(new uint8_t[size]);
  if (size) std::memcpy(bytes.get(), data, size);
  const auto font = framlet::ui::ReadTemplateFont(bytes.get(), size);
  if (!font) return 0;
  FUZZ_CHECK(font->face.size() * 2 < size, "a face of %zu characters from %zu bytes", font->face.size(), size);
  FUZZ_CHECK(font->pointSize != 0x7FFF, "the message font read as a named font");
  const int pixels = framlet::ui::PixelHeightAt96Dpi(font->pointSize);
  FUZZ_CHECK(pixels * 72 >= font->pointSize * 96 - 36 && pixels * 72 <= font->pointSize * 96 + 36,
             "%d points give %d pixels", font->pointSize, pixels);
  return 0;
}
