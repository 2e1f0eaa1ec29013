#pragma once
// Windows that tests put on the screen: known content (a fill, a pattern, rows
// that scroll) at a known place, for the Windows-tier tests and the end-to-end
// driver. A window runs either on the caller's thread (an owner, a host, a
// stand-in whose messages the test's own loop must handle) or on a thread of
// its own that keeps painting it, in which case opening it returns only once
// its picture is on the screen.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace testwin {

// Draws the client area.
using Paint = std::function<void(HWND window, HDC dc, const RECT& client)>;
// Answers a message before the window's own handling: true when it did, with
// the answer in *result.
using Handler = std::function<bool(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)>;
// A colour as 0xRRGGBB for a pixel.
using ColourAt = std::function<uint32_t(int x, int y)>;

// The header of a 32-bit top-down picture of w x h pixels (0xRRGGBB rows, top
// row first), for reading and drawing pixels.
BITMAPINFO TopDown32(int w, int h);

Paint Solid(COLORREF colour);
// A fill with a `markSize` square of `mark` in the top-left corner.
Paint SolidWithCorner(COLORREF fill, COLORREF mark, int markSize);
// An `edge` band `width` pixels wide around `inside`.
Paint Framed(COLORREF edge, COLORREF inside, int width);
// Each pixel by its client position.
Paint Pattern(ColourAt colourAt);
// Each pixel by its screen position: any rectangle grabbed from the window can
// be checked against colourAt without knowing where the window stood.
Paint ScreenPattern(ColourAt colourAt);

// Topmost, plain, or put at the bottom of the z-order once shown.
enum class Layer { Top, Normal, Bottom };

struct Look {
  int x = 0, y = 0, width = 0, height = 0;  // on the screen
  Paint paint = Solid(RGB(128, 128, 128));
  Handler handler;
  Layer layer = Layer::Top;
  DWORD style = WS_POPUP;
  DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;  // WS_EX_TOPMOST comes from the layer
  const wchar_t* title = L"";
  HWND owner = nullptr;
  bool visible = true;
  bool activate = false;  // shown activated rather than with SW_SHOWNOACTIVATE
  // Given, the window is layered with these attributes before it shows.
  DWORD layeredFlags = 0;  // LWA_COLORKEY and/or LWA_ALPHA
  COLORREF colourKey = 0;
  BYTE alpha = 255;
};

// A topmost window of `paint` at x, y, w x h, the rest as Look gives it.
Look At(int x, int y, int width, int height, Paint paint = Solid(RGB(128, 128, 128)));
// An ordinary captioned window at x, y, w x h, as a program's own window that
// owns what a test opens.
Look Ordinary(int x, int y, int width, int height, const wchar_t* title);

// A window of the calling thread, destroyed with the object. Its messages are
// handled by whatever dispatches this thread's messages.
class Window {
 public:
  explicit Window(const Look& look);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Hwnd() const;
  // WM_PAINT messages it has handled.
  int Paints() const;
  void Destroy();

  struct State;

 private:
  std::unique_ptr<State> state_;
};

// A window on a thread of its own, which answers its messages (paints, sent
// scroll and print messages) until Close or the object's end.
class ThreadWindow {
 public:
  ThreadWindow() = default;
  ~ThreadWindow() { Close(); }
  ThreadWindow(const ThreadWindow&) = delete;
  ThreadWindow& operator=(const ThreadWindow&) = delete;

  // Opens the window (closing one this object had) and returns once it shows
  // and what it painted is on the screen; false when it could not be made or
  // never showed within timeoutMs.
  bool Open(const Look& look, int timeoutMs = 10000);
  void Close();
  HWND Hwnd() const;
  // Paints the window again and returns once the new picture is on the screen.
  bool Repaint(int timeoutMs = 10000);
  // Returns once the window's thread has come back to its message loop three
  // times: there it takes in the window system's notices (an exposure after a
  // window above it went) before it waits, so what they ask is drawn by then.
  // For a program that gives others a moment to repaint, the moment this
  // machine's load may stretch.
  void CatchUp() const;

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

// A window on its own thread showing `height` rows of content `contentRows`
// tall whose pixel (x, row) is colourAt(x, row). Each line-down scroll message
// moves it down by `step` rows, up to the content's end.
struct RowsLook {
  int x = 0, y = 0, width = 0, height = 0;
  int contentRows = 0;
  int step = 1;
  ColourAt colourAt;
  Layer layer = Layer::Top;
  const wchar_t* title = L"";
  // Run on the window's thread after each scroll has been painted.
  std::function<void(HWND)> onScroll;
};

class ScrollingRows {
 public:
  bool Open(const RowsLook& look, int timeoutMs = 10000);
  void Close() { window_.Close(); }
  HWND Hwnd() const { return window_.Hwnd(); }
  // The first content row shown, and the line-down messages taken.
  int Top() const { return top_; }
  int Scrolls() const { return scrolls_; }
  // Shows content from `row` on and returns once that is on the screen.
  bool ScrollTo(int row);

 private:
  RowsLook look_;
  std::atomic<int> top_{0};
  std::atomic<int> scrolls_{0};
  ThreadWindow window_;
};

}  // namespace testwin
