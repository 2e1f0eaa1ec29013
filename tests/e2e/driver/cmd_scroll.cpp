// A window that scrolls: it shows `view` rows of a taller content whose rows
// all differ, and moves down by a fixed number of rows on each line-down
// scroll message until the content's end. It lives on its own thread at the
// bottom of the z-order until scroll_rows_close. The colour of content pixel
// (x, row) is R = row & 255, G = (row >> 8 & 3) << 6 | (x & 63), B = x >> 6 & 255.
//
// scroll_rows_hold n makes it hold its answer to the n-th scroll message (it
// scrolls and paints, then answers only at scroll_rows_release), so a test
// can act while the program that scrolls it waits for that answer.
#include <atomic>

#include "driver.h"
#include "test_windows.h"

using namespace fldrive;

namespace {

testwin::ScrollingRows g_scroller;
std::atomic<int> g_holdAt{0};
std::atomic<bool> g_held{false};
HANDLE g_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);

uint32_t ContentAt(int x, int row) {
  const uint32_t r = static_cast<uint32_t>(row) & 0xFF;
  const uint32_t g = ((static_cast<uint32_t>(row) >> 8 & 3) << 6) | (static_cast<uint32_t>(x) & 63);
  const uint32_t b = static_cast<uint32_t>(x) >> 6 & 0xFF;
  return (r << 16) | (g << 8) | b;
}

// Keeps the sender of the scroll message waiting until scroll_rows_release
// (or the window closes). Messages are still handled meanwhile: Wine shows a
// window's drawing once its thread waits for messages, and the rows just
// scrolled must be on the screen.
void HoldAnswer() {
  g_held = true;
  bool quit = false;
  while (!quit && MsgWaitForMultipleObjects(1, &g_release, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
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
  g_held = false;
}

}  // namespace

FLDRIVE_COMMAND(scroll_rows,
                L"<x> <y> <w> <view rows> <content rows> <rows per line>   a window of all-distinct "
                L"rows that scrolls on line-down messages, at the bottom of the z-order") {
  if (args.size() != 6) return 2;
  SetEvent(g_release);
  g_scroller.Close();
  g_holdAt = 0;
  ResetEvent(g_release);
  testwin::RowsLook look;
  look.x = ToInt(args[0]);
  look.y = ToInt(args[1]);
  look.width = ToInt(args[2]);
  look.height = ToInt(args[3]);
  look.contentRows = ToInt(args[4]);
  look.step = ToInt(args[5]);
  look.colourAt = ContentAt;
  look.layer = testwin::Layer::Bottom;
  look.title = L"fldrive scroll rows";
  look.onScroll = [](HWND) {
    if (g_scroller.Scrolls() == g_holdAt) HoldAnswer();
  };
  if (!g_scroller.Open(look)) return 1;
  PrintHandle(g_scroller.Hwnd());
  return 0;
}

FLDRIVE_COMMAND(scroll_rows_state, L"   the scrolling window's first shown row and the line-down messages it got") {
  if (!g_scroller.Hwnd()) return 1;
  Printf("top=%d scrolls=%d held=%d\n", g_scroller.Top(), g_scroller.Scrolls(), g_held ? 1 : 0);
  return 0;
}

FLDRIVE_COMMAND(scroll_rows_hold, L"<n>   the n-th scroll message is answered only at scroll_rows_release") {
  if (args.size() != 1 || !g_scroller.Hwnd()) return 2;
  ResetEvent(g_release);
  g_holdAt = ToInt(args[0]);
  return 0;
}

FLDRIVE_COMMAND(scroll_rows_release, L"   answers a held scroll message") {
  SetEvent(g_release);
  return 0;
}

FLDRIVE_COMMAND(scroll_rows_close, L"   closes the scrolling window") {
  SetEvent(g_release);
  g_scroller.Close();
  return 0;
}
