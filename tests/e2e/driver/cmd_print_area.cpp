// A backdrop: a plain window of known colours placed at the bottom of the
// z-order, so that a see-through capture area shows known content. It lives
// on its own thread, which keeps painting it, until backdrop_close or the
// driver's end (serve mode keeps it across commands).
#include "driver.h"

#include <thread>

using namespace fldrive;

namespace {

struct Backdrop {
  ~Backdrop() {
    if (hwnd) PostMessageW(hwnd, WM_CLOSE, 0, 0);
    if (thread.joinable()) thread.join();
  }
  COLORREF fill = 0;
  COLORREF mark = 0;
  int markSize = 0;
  HWND hwnd = nullptr;
  std::thread thread;
};
Backdrop g_backdrop;

COLORREF ParseColour(const std::wstring& text) {
  const unsigned long v = wcstoul(text.c_str(), nullptr, 16);
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

LRESULT CALLBACK BackdropProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client = {};
      GetClientRect(hwnd, &client);
      HBRUSH fill = CreateSolidBrush(g_backdrop.fill);
      HBRUSH mark = CreateSolidBrush(g_backdrop.mark);
      FillRect(dc, &client, fill);
      RECT corner = {0, 0, g_backdrop.markSize, g_backdrop.markSize};
      FillRect(dc, &corner, mark);
      DeleteObject(fill);
      DeleteObject(mark);
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

void CloseBackdrop() {
  if (g_backdrop.hwnd) PostMessageW(g_backdrop.hwnd, WM_CLOSE, 0, 0);
  if (g_backdrop.thread.joinable()) g_backdrop.thread.join();
  g_backdrop.hwnd = nullptr;
}

}  // namespace

FLDRIVE_COMMAND(backdrop,
                L"<x> <y> <w> <h> <fill RRGGBB> <mark RRGGBB> <mark size>   a window of that colour with a "
                L"square in its top-left corner, at the bottom of the z-order, until backdrop_close") {
  if (args.size() != 7) return 2;
  CloseBackdrop();
  g_backdrop.fill = ParseColour(args[4]);
  g_backdrop.mark = ParseColour(args[5]);
  g_backdrop.markSize = ToInt(args[6]);
  const int x = ToInt(args[0]), y = ToInt(args[1]), w = ToInt(args[2]), h = ToInt(args[3]);
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  g_backdrop.thread = std::thread([=] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BackdropProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FldriveBackdrop";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"fldrive backdrop", WS_POPUP, x,
                                y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
    g_backdrop.hwnd = hwnd;
    if (hwnd) {
      ShowWindow(hwnd, SW_SHOWNOACTIVATE);
      SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      UpdateWindow(hwnd);
    }
    SetEvent(ready);
    if (!hwnd) return;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  });
  WaitForSingleObject(ready, 10000);
  CloseHandle(ready);
  if (!g_backdrop.hwnd) {
    CloseBackdrop();
    return 1;
  }
  Printf("%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(g_backdrop.hwnd)));
  return 0;
}

FLDRIVE_COMMAND(backdrop_close, L"   closes the backdrop window") {
  CloseBackdrop();
  return 0;
}
