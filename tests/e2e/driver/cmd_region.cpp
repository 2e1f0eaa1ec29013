// Region selection and window capture: a window painted with a pattern whose
// colour follows the screen position (so any captured rectangle can be checked
// pixel for pixel against it), a plain helper window to point at, and the
// comparison of the clipboard's bitmap with the pattern.
#include <cstdint>
#include <vector>

#include "driver.h"
#include "test_windows.h"

using namespace fldrive;

namespace {

// The pattern's colour at screen position (x, y) as 0xRRGGBB: no two
// neighbours alike, so a picture shifted by one pixel, darkened by a veil or
// crossed by a line does not match.
uint32_t PatternAt(int x, int y) {
  return ((static_cast<uint32_t>(x * 4 + 3) & 0xFF) << 16) | ((static_cast<uint32_t>(y * 5 + 7) & 0xFF) << 8) |
         (static_cast<uint32_t>(x * 7 + y * 11) & 0xFF);
}

testwin::ThreadWindow g_pattern;
testwin::ThreadWindow g_helper;

// Opens a window on its own thread, which keeps painting it; prints its handle.
int Open(testwin::ThreadWindow& window, const wchar_t* title, const testwin::Paint& paint, const fldrive::Args& args,
         testwin::Layer layer) {
  testwin::Look look;
  look.x = ToInt(args[0]);
  look.y = ToInt(args[1]);
  look.width = ToInt(args[2]);
  look.height = ToInt(args[3]);
  look.paint = paint;
  look.layer = layer;
  look.title = title;
  if (!window.Open(look)) return 1;
  PrintHandle(window.Hwnd());
  return 0;
}

}  // namespace

FLDRIVE_COMMAND(pattern, L"<x> <y> <w> <h>   a window at the bottom of the z-order painted with the position pattern") {
  if (args.size() != 4) return 2;
  return Open(g_pattern, L"fldrive pattern", testwin::ScreenPattern(PatternAt), args, testwin::Layer::Bottom);
}

FLDRIVE_COMMAND(pattern_close, L"   closes the pattern window") {
  g_pattern.Close();
  return 0;
}

FLDRIVE_COMMAND(helper, L"<x> <y> <w> <h> <RRGGBB>   a top-most window of one colour to point at, until helper_close") {
  if (args.size() != 5) return 2;
  const unsigned long v = wcstoul(args[4].c_str(), nullptr, 16);
  return Open(g_helper, L"fldrive helper", testwin::Solid(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF)), args,
              testwin::Layer::Top);
}

FLDRIVE_COMMAND(helper_close, L"   closes the helper window") {
  g_helper.Close();
  return 0;
}

FLDRIVE_COMMAND(
    clipboard_vs_pattern,
    L"<x> <y>   compares the clipboard's bitmap with the pattern at that screen place: '<w> <h> <wrong pixels>'") {
  if (args.size() != 2) return 2;
  const int left = ToInt(args[0]), top = ToInt(args[1]);
  if (!OpenClipboard(nullptr)) return 1;
  HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP info = {};
  if (!bitmap || !GetObject(bitmap, sizeof info, &info)) {
    CloseClipboard();
    return 1;
  }
  const int w = info.bmWidth, h = info.bmHeight;
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  BITMAPINFO bi = testwin::TopDown32(w, h);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, h, pixels.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  CloseClipboard();
  if (rows != h) return 1;
  long wrong = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((pixels[static_cast<size_t>(y) * w + x] & 0xFFFFFF) != PatternAt(left + x, top + y)) ++wrong;
  Printf("%d %d %ld\n", w, h, wrong);
  return 0;
}
