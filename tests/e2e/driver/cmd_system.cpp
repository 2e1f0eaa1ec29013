// Clipboard and screen pixels.
#include "driver.h"

using namespace fldrive;

FLDRIVE_COMMAND(clipboard, L"   prints 'bitmap <w> <h>' when the clipboard holds a bitmap, else 'none'") {
  if (!args.empty()) return 2;
  if (!OpenClipboard(nullptr)) return 1;
  HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP info = {};
  if (bitmap && GetObject(bitmap, sizeof info, &info))
    Printf("bitmap %ld %ld\n", info.bmWidth, info.bmHeight);
  else
    Printf("none\n");
  CloseClipboard();
  return 0;
}

FLDRIVE_COMMAND(clear_clipboard, L"   empties the clipboard") {
  if (!args.empty()) return 2;
  if (!OpenClipboard(nullptr)) return 1;
  EmptyClipboard();
  CloseClipboard();
  return 0;
}

FLDRIVE_COMMAND(pixel, L"<x> <y>   prints the screen pixel as RRGGBB") {
  if (args.size() != 2) return 2;
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, ToInt(args[0]), ToInt(args[1]));
  ReleaseDC(nullptr, screen);
  Printf("%02X%02X%02X\n", GetRValue(c), GetGValue(c), GetBValue(c));
  return 0;
}

FLDRIVE_COMMAND(screen, L"   prints the primary screen size and the work area") {
  if (!args.empty()) return 2;
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  Printf("screen=%d,%d work=%ld,%ld,%ld,%ld monitors=%d\n", GetSystemMetrics(SM_CXSCREEN),
         GetSystemMetrics(SM_CYSCREEN), work.left, work.top, work.right, work.bottom, GetSystemMetrics(SM_CMONITORS));
  return 0;
}
