// A window that scrolls: it shows `view` rows of a taller content whose rows
// all differ, and moves down by a fixed number of rows on each line-down
// scroll message until the content's end. It lives on its own thread at the
// bottom of the z-order until scroll_rows_close. The colour of content pixel
// (x, row) is R = row & 255, G = (row >> 8 & 3) << 6 | (x & 63), B = x >> 6 & 255.
#include "driver.h"
#include "test_windows.h"

using namespace fldrive;

namespace {

testwin::ScrollingRows g_scroller;

uint32_t ContentAt(int x, int row) {
  const uint32_t r = static_cast<uint32_t>(row) & 0xFF;
  const uint32_t g = ((static_cast<uint32_t>(row) >> 8 & 3) << 6) | (static_cast<uint32_t>(x) & 63);
  const uint32_t b = static_cast<uint32_t>(x) >> 6 & 0xFF;
  return (r << 16) | (g << 8) | b;
}

}  // namespace

FLDRIVE_COMMAND(scroll_rows,
                L"<x> <y> <w> <view rows> <content rows> <rows per line>   a window of all-distinct "
                L"rows that scrolls on line-down messages, at the bottom of the z-order") {
  if (args.size() != 6) return 2;
  testwin::RowsSpec spec;
  spec.x = ToInt(args[0]);
  spec.y = ToInt(args[1]);
  spec.width = ToInt(args[2]);
  spec.height = ToInt(args[3]);
  spec.contentRows = ToInt(args[4]);
  spec.step = ToInt(args[5]);
  spec.colourAt = ContentAt;
  spec.layer = testwin::Layer::Bottom;
  spec.title = L"fldrive scroll rows";
  if (!g_scroller.Open(spec)) return 1;
  PrintHandle(g_scroller.Hwnd());
  return 0;
}

FLDRIVE_COMMAND(scroll_rows_state, L"   the scrolling window's first shown row and the line-down messages it got") {
  if (!g_scroller.Hwnd()) return 1;
  Printf("top=%d scrolls=%d\n", g_scroller.Top(), g_scroller.Scrolls());
  return 0;
}

FLDRIVE_COMMAND(scroll_rows_close, L"   closes the scrolling window") {
  g_scroller.Close();
  return 0;
}
