// A window that scrolls: it shows `view` rows of a taller content whose rows
// all differ, and moves down by a fixed number of rows on each line-down
// scroll message until the content's end. It lives on its own thread at the
// bottom of the z-order until scroll_rows_close. The colour of content pixel
// (x, row) is R = row & 255, G = (row >> 8 & 3) << 6 | (x & 63), B = x >> 6 & 255.
//
// scroll_rows_hold n makes it hold its answer to the n-th scroll message (it
// scrolls and paints, then answers only at scroll_rows_release), so a test
// can act while the program that scrolls it waits for that answer.
#include <thread>

#include "driver.h"

using namespace fldrive;

namespace {

struct Scroller {
  int width = 0;
  int view = 0;
  int rows = 0;
  int step = 0;
  volatile LONG top = 0;
  volatile LONG scrolls = 0;
  volatile LONG holdAt = 0;
  volatile LONG held = 0;
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HWND hwnd = nullptr;
  std::thread thread;
};
Scroller g_scroller;

uint32_t ContentAt(int x, int row) {
  const uint32_t r = static_cast<uint32_t>(row) & 0xFF;
  const uint32_t g = ((static_cast<uint32_t>(row) >> 8 & 3) << 6) | (static_cast<uint32_t>(x) & 63);
  const uint32_t b = static_cast<uint32_t>(x) >> 6 & 0xFF;
  return (r << 16) | (g << 8) | b;
}

// Keeps the sender waiting until scroll_rows_release (or the window closes).
// Messages are still handled meanwhile: Wine shows a window's drawing once its
// thread waits for messages, and the rows just scrolled must be on the screen.
void HoldAnswer() {
  g_scroller.held = 1;
  bool quit = false;
  while (!quit && MsgWaitForMultipleObjects(1, &g_scroller.release, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG msg;
    while (!quit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        quit = true;
      } else {
        DispatchMessageW(&msg);
      }
    }
  }
  g_scroller.held = 0;
}

LRESULT CALLBACK ScrollerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      const int w = g_scroller.width, h = g_scroller.view;
      std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * w + x] = ContentAt(x, g_scroller.top + y);
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
    case WM_VSCROLL:
      if (LOWORD(wParam) == SB_LINEDOWN) {
        InterlockedIncrement(&g_scroller.scrolls);
        const LONG last = g_scroller.rows - g_scroller.view;
        const LONG next = g_scroller.top + g_scroller.step;
        g_scroller.top = next > last ? last : next;
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        if (g_scroller.scrolls == g_scroller.holdAt) HoldAnswer();
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void CloseScroller() {
  SetEvent(g_scroller.release);
  if (g_scroller.hwnd) PostMessageW(g_scroller.hwnd, WM_CLOSE, 0, 0);
  if (g_scroller.thread.joinable()) g_scroller.thread.join();
  g_scroller.hwnd = nullptr;
}

}  // namespace

FLDRIVE_COMMAND(scroll_rows,
                L"<x> <y> <w> <view rows> <content rows> <rows per line>   a window of all-distinct "
                L"rows that scrolls on line-down messages, at the bottom of the z-order") {
  if (args.size() != 6) return 2;
  CloseScroller();
  const int x = ToInt(args[0]), y = ToInt(args[1]);
  g_scroller.width = ToInt(args[2]);
  g_scroller.view = ToInt(args[3]);
  g_scroller.rows = ToInt(args[4]);
  g_scroller.step = ToInt(args[5]);
  g_scroller.top = 0;
  g_scroller.scrolls = 0;
  g_scroller.holdAt = 0;
  ResetEvent(g_scroller.release);
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  g_scroller.thread = std::thread([=] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ScrollerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FldriveScrollRows";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"fldrive scroll rows", WS_POPUP,
                                x, y, g_scroller.width, g_scroller.view, nullptr, nullptr, wc.hInstance, nullptr);
    g_scroller.hwnd = hwnd;
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
  if (!g_scroller.hwnd) {
    CloseScroller();
    return 1;
  }
  Printf("%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(g_scroller.hwnd)));
  return 0;
}

FLDRIVE_COMMAND(scroll_rows_state, L"   the scrolling window's first shown row and the line-down messages it got") {
  if (!g_scroller.hwnd) return 1;
  Printf("top=%ld scrolls=%ld held=%ld\n", static_cast<long>(g_scroller.top), static_cast<long>(g_scroller.scrolls),
         static_cast<long>(g_scroller.held));
  return 0;
}

FLDRIVE_COMMAND(scroll_rows_hold, L"<n>   the n-th scroll message is answered only at scroll_rows_release") {
  if (args.size() != 1 || !g_scroller.hwnd) return 2;
  ResetEvent(g_scroller.release);
  g_scroller.holdAt = ToInt(args[0]);
  return 0;
}

FLDRIVE_COMMAND(scroll_rows_release, L"   answers a held scroll message") {
  SetEvent(g_scroller.release);
  return 0;
}

FLDRIVE_COMMAND(scroll_rows_close, L"   closes the scrolling window") {
  CloseScroller();
  return 0;
}
