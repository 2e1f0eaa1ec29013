#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The font a dialog template names, read from the template's bytes, and its
// size in pixels at 96 DPI. The dialog manager sizes a template font in points,
// so it grows with the display's DPI; windows laid out in fixed pixels give
// their text a font of the 96-DPI pixel size instead.
namespace framlet::ui {

struct TemplateFont {
  int pointSize = 0;
  int weight = 0;
  bool italic = false;
  int charset = 0;
  std::u16string face;
};

// The font of a DLGTEMPLATE or DLGTEMPLATEEX (as stored in a dialog resource).
// Nothing when the template names no font (no DS_SETFONT), names the message
// font (DS_SHELLFONT's point size 0x7FFF), or is cut short.
std::optional<TemplateFont> ReadTemplateFont(const std::uint8_t* data, std::size_t size);

// The character height in pixels of a font of `points` at 96 DPI, as the
// dialog manager computes it there (MulDiv rounding): 9 points give 12.
int PixelHeightAt96Dpi(int points);

}  // namespace framlet::ui
