// A backdrop: a plain window of known colours placed at the bottom of the
// z-order, so that a see-through capture area shows known content. It lives
// on its own thread, which keeps painting it, until backdrop_close or the
// driver's end (serve mode keeps it across commands).
#include "driver.h"
#include "test_windows.h"

using namespace fldrive;

namespace {

testwin::ThreadWindow g_backdrop;

COLORREF ParseColour(const std::wstring& text) {
  const unsigned long v = wcstoul(text.c_str(), nullptr, 16);
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

}  // namespace

FLDRIVE_COMMAND(backdrop,
                L"<x> <y> <w> <h> <fill RRGGBB> <mark RRGGBB> <mark size>   a window of that colour with a "
                L"square in its top-left corner, at the bottom of the z-order, until backdrop_close") {
  if (args.size() != 7) return 2;
  testwin::Look look;
  look.x = ToInt(args[0]);
  look.y = ToInt(args[1]);
  look.width = ToInt(args[2]);
  look.height = ToInt(args[3]);
  look.paint = testwin::SolidWithCorner(ParseColour(args[4]), ParseColour(args[5]), ToInt(args[6]));
  look.layer = testwin::Layer::Bottom;
  look.title = L"fldrive backdrop";
  if (!g_backdrop.Open(look)) return 1;
  PrintHandle(g_backdrop.Hwnd());
  return 0;
}

FLDRIVE_COMMAND(backdrop_close, L"   closes the backdrop window") {
  g_backdrop.Close();
  return 0;
}
