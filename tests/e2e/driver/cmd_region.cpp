// Region selection and window capture: a window painted with a pattern whose
// colour follows the screen position (so any captured rectangle can be checked
// pixel for pixel against it), a plain helper window to point at, and the
// comparison of the clipboard's bitmap with the pattern.
#include "driver.h"

#include <cstdint>
#include <thread>
#include <vector>

using namespace fldrive;

namespace {

// The pattern's colour at screen position (x, y) as 0xRRGGBB: no two
// neighbours alike, so a picture shifted by one pixel, darkened by a veil or
// crossed by a line does not match.
uint32_t PatternAt(int x, int y) {
  return ((static_cast<uint32_t>(x * 4 + 3) & 0xFF) << 16) | ((static_cast<uint32_t>(y * 5 + 7) & 0xFF) << 8) |
         (static_cast<uint32_t>(x * 7 + y * 11) & 0xFF);
}

struct Window {
  ~Window() { Close(); }
  void Close() {
    if (hwnd) PostMessageW(hwnd, WM_CLOSE, 0, 0);
    if (thread.joinable()) thread.join();
    hwnd = nullptr;
  }
  HWND hwnd = nullptr;
  std::thread thread;
  COLORREF fill = 0;
};
Window g_pattern;
Window g_helper;

LRESULT CALLBACK PatternProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client = {};
      GetClientRect(hwnd, &client);
      POINT origin = {0, 0};
      ClientToScreen(hwnd, &origin);
      const int w = client.right, h = client.bottom;
      std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * w + x] = PatternAt(origin.x + x, origin.y + y);
      BITMAPINFO info = {};
      info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      info.bmiHeader.biWidth = w;
      info.bmiHeader.biHeight = -h;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK HelperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client = {};
      GetClientRect(hwnd, &client);
      HBRUSH fill = CreateSolidBrush(g_helper.fill);
      FillRect(dc, &client, fill);
      DeleteObject(fill);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Opens a window on its own thread, which keeps painting it; prints its handle.
int Open(Window& window, const wchar_t* className, const wchar_t* title, WNDPROC proc, int x, int y, int w, int h,
         bool bottom) {
  window.Close();
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  window.thread = std::thread([=, &window] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | (bottom ? 0 : WS_EX_TOPMOST);
    HWND hwnd =
        CreateWindowExW(exStyle, className, title, WS_POPUP, x, y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
    window.hwnd = hwnd;
    if (hwnd) {
      ShowWindow(hwnd, SW_SHOWNOACTIVATE);
      if (bottom) SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      UpdateWindow(hwnd);
    }
    SetEvent(ready);
    if (!hwnd) return;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  });
  WaitForSingleObject(ready, 10000);
  CloseHandle(ready);
  if (!window.hwnd) {
    window.Close();
    return 1;
  }
  Printf("%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window.hwnd)));
  return 0;
}

}  // namespace

FLDRIVE_COMMAND(pattern, L"<x> <y> <w> <h>   a window at the bottom of the z-order painted with the position pattern") {
  if (args.size() != 4) return 2;
  return Open(g_pattern, L"FldrivePattern", L"fldrive pattern", PatternProc, ToInt(args[0]), ToInt(args[1]),
              ToInt(args[2]), ToInt(args[3]), true);
}

FLDRIVE_COMMAND(pattern_close, L"   closes the pattern window") {
  g_pattern.Close();
  return 0;
}

FLDRIVE_COMMAND(helper, L"<x> <y> <w> <h> <RRGGBB>   a top-most window of one colour to point at, until helper_close") {
  if (args.size() != 5) return 2;
  const unsigned long v = wcstoul(args[4].c_str(), nullptr, 16);
  g_helper.Close();
  g_helper.fill = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  return Open(g_helper, L"FldriveHelper", L"fldrive helper", HelperProc, ToInt(args[0]), ToInt(args[1]), ToInt(args[2]),
              ToInt(args[3]), false);
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
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
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
