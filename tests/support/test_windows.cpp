#include "test_windows.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

namespace testwin {

namespace {

constexpr wchar_t kClassName[] = L"FramletTestWindow";
// Sent to a window to paint it at once; answers its paint count after.
constexpr UINT kRepaintNow = WM_APP + 0x3A1;

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// Draws w x h pixels of colourAt(originX + x, originY + y) at the client's corner.
void DrawPixels(HDC dc, int w, int h, int originX, int originY, const ColourAt& colourAt) {
  if (w <= 0 || h <= 0) return;
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * w + x] = colourAt(originX + x, originY + y);
  BITMAPINFO info = TopDown32(w, h);
  SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
}

}  // namespace

BITMAPINFO TopDown32(int w, int h) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  return info;
}

Paint Solid(COLORREF colour) {
  return [colour](HWND, HDC dc, const RECT& client) { FillSolid(dc, client, colour); };
}

Paint SolidWithCorner(COLORREF fill, COLORREF mark, int markSize) {
  return [=](HWND, HDC dc, const RECT& client) {
    FillSolid(dc, client, fill);
    FillSolid(dc, RECT{0, 0, markSize, markSize}, mark);
  };
}

Paint Framed(COLORREF edge, COLORREF inside, int width) {
  return [=](HWND, HDC dc, const RECT& client) {
    FillSolid(dc, client, edge);
    RECT inner = client;
    InflateRect(&inner, -width, -width);
    FillSolid(dc, inner, inside);
  };
}

Paint Pattern(ColourAt colourAt) {
  return [colourAt](HWND, HDC dc, const RECT& client) { DrawPixels(dc, client.right, client.bottom, 0, 0, colourAt); };
}

Paint ScreenPattern(ColourAt colourAt) {
  return [colourAt](HWND hwnd, HDC dc, const RECT& client) {
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    DrawPixels(dc, client.right, client.bottom, origin.x, origin.y, colourAt);
  };
}

Look At(int x, int y, int width, int height, Paint paint) {
  Look look;
  look.x = x;
  look.y = y;
  look.width = width;
  look.height = height;
  look.paint = std::move(paint);
  return look;
}

Look Ordinary(int x, int y, int width, int height, const wchar_t* title) {
  Look look = At(x, y, width, height);
  look.style = WS_OVERLAPPEDWINDOW;
  look.exStyle = 0;
  look.layer = Layer::Normal;
  look.title = title;
  return look;
}

// ---- Window ----------------------------------------------------------------

struct Window::State {
  Look look;
  HWND hwnd = nullptr;
  std::atomic<int> paints{0};
  bool quitOnDestroy = false;
};

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* state = reinterpret_cast<Window::State*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!state) return DefWindowProcW(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  if (state->look.handler && state->look.handler(hwnd, message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client = {};
      GetClientRect(hwnd, &client);
      if (state->look.paint) state->look.paint(hwnd, dc, client);
      EndPaint(hwnd, &ps);
      ++state->paints;
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      if (state->look.exStyle & WS_EX_NOACTIVATE) return MA_NOACTIVATE;
      break;
    case WM_SETCURSOR:
      // The pointer keeps its shape over these windows. Under Wine, a window on
      // a thread of its own setting its cursor as the test's thread moved the
      // pointer and read the screen has left both threads waiting on each other
      // inside the system, for good.
      return TRUE;
    case kRepaintNow:
      RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      return state->paints;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      state->hwnd = nullptr;
      if (state->quitOnDestroy) PostQuitMessage(0);
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterOnce() {
  static const bool registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
}

HWND Create(Window::State* state) {
  RegisterOnce();
  const Look& s = state->look;
  DWORD exStyle = s.exStyle | (s.layer == Layer::Top ? WS_EX_TOPMOST : 0);
  if (s.layeredFlags) exStyle |= WS_EX_LAYERED;
  HWND hwnd = CreateWindowExW(exStyle, kClassName, s.title, s.style & ~WS_VISIBLE, s.x, s.y, s.width, s.height, s.owner,
                              nullptr, GetModuleHandleW(nullptr), state);
  if (!hwnd) return nullptr;
  state->hwnd = hwnd;
  if (s.layeredFlags) SetLayeredWindowAttributes(hwnd, s.colourKey, s.alpha, s.layeredFlags);
  if (s.visible) {
    ShowWindow(hwnd, s.activate ? SW_SHOW : SW_SHOWNOACTIVATE);
    if (s.layer == Layer::Bottom) SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateWindow(hwnd);
  }
  return hwnd;
}

}  // namespace

Window::Window(const Look& look) : state_(std::make_unique<State>()) {
  state_->look = look;
  Create(state_.get());
}

Window::~Window() {
  Destroy();
}

HWND Window::Hwnd() const {
  return state_->hwnd;
}

int Window::Paints() const {
  return state_->paints;
}

void Window::Destroy() {
  if (state_->hwnd && IsWindow(state_->hwnd)) DestroyWindow(state_->hwnd);
  state_->hwnd = nullptr;
}

// ---- ThreadWindow ----------------------------------------------------------

struct ThreadWindow::Shared {
  std::mutex mutex;
  std::condition_variable changed;
  HWND hwnd = nullptr;
  bool ended = false;   // the thread has stopped (or could not make its window)
  bool closing = false; // Close was called: a window made after it closes at once
  int shownPaints = 0;  // paints whose picture is known to be on the screen

  // Waits until `done` holds (under the lock) or timeoutMs pass.
  template <class Done>
  bool WaitFor(Done done, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return done() || ended; }) && done();
  }
};

namespace {

// A 32-bit top-down bitmap selected into a memory DC.
struct Canvas {
  Canvas(int w, int h) : width(w) {
    BITMAPINFO info = TopDown32(w, h);
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    old = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  uint32_t At(int x, int y) const { return bits[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
  int width;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  uint32_t* bits = nullptr;
};

// Whether the screen shows what the window painted, on the part of its client
// area that is on the screen (a keyed window's key colour excepted). Wine keeps
// a window's drawing in the process and hands it to the X server when a thread
// of the process finds its message queue empty, and maps and exposes windows
// asynchronously, so the picture is looked for rather than assumed. A
// translucent window or one at the bottom of the z-order shows something else;
// for those one read of the screen makes sure the drawing reached the display.
bool PictureOnScreen(HWND hwnd, const Look& look) {
  RECT client = {};
  GetClientRect(hwnd, &client);
  POINT origin = {0, 0};
  ClientToScreen(hwnd, &origin);
  const RECT screenRect = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                           GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                           GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT onScreen = client;
  OffsetRect(&onScreen, origin.x, origin.y);
  if (!IntersectRect(&onScreen, &onScreen, &screenRect)) return true;
  const int w = onScreen.right - onScreen.left, h = onScreen.bottom - onScreen.top;
  HDC screen = GetDC(nullptr);
  const bool comparable =
      look.paint && look.layer != Layer::Bottom && !((look.layeredFlags & LWA_ALPHA) && look.alpha != 255);
  if (!comparable) {
    GetPixel(screen, onScreen.left, onScreen.top);
    ReleaseDC(nullptr, screen);
    return true;
  }
  Canvas shown(w, h);
  BitBlt(shown.dc, 0, 0, w, h, screen, onScreen.left, onScreen.top, SRCCOPY | CAPTUREBLT);
  ReleaseDC(nullptr, screen);
  Canvas painted(client.right, client.bottom);
  look.paint(hwnd, painted.dc, client);
  GdiFlush();
  const int dx = onScreen.left - origin.x, dy = onScreen.top - origin.y;
  const uint32_t key = (GetRValue(look.colourKey) << 16) | (GetGValue(look.colourKey) << 8) | GetBValue(look.colourKey);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t want = painted.At(x + dx, y + dy);
      if ((look.layeredFlags & LWA_COLORKEY) && want == key) continue;
      if (shown.At(x, y) != want) return false;
    }
  return true;
}

void RunWindow(const std::shared_ptr<ThreadWindow::Shared>& shared, const Look& look) {
  Window window(look);
  HWND hwnd = window.Hwnd();
  bool closing = false;
  {
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->hwnd = hwnd;
    if (!hwnd) shared->ended = true;
    closing = shared->closing;
  }
  shared->changed.notify_all();
  if (!hwnd) return;
  // Closing the window ends the thread; an Open that gave up before the
  // window was made has its Close waiting for that.
  reinterpret_cast<Window::State*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))->quitOnDestroy = true;
  if (closing) PostMessageW(hwnd, WM_CLOSE, 0, 0);
  int shown = 0;
  for (;;) {
    MSG msg;
    bool quit = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (quit || !IsWindow(hwnd)) break;
    // The queue is empty here, so the drawing has been handed over.
    bool checking = false;
    const int painted = window.Paints();
    if (painted > shown && IsWindowVisible(hwnd)) {
      GdiFlush();
      if (PictureOnScreen(hwnd, look)) {
        shown = painted;
        {
          std::lock_guard<std::mutex> lock(shared->mutex);
          shared->shownPaints = shown;
        }
        shared->changed.notify_all();
      } else {
        checking = true;  // looked at again shortly, messages or not
      }
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, checking ? 10 : INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  window.Destroy();
  {
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->hwnd = nullptr;
    shared->ended = true;
  }
  shared->changed.notify_all();
}

}  // namespace

bool ThreadWindow::Open(const Look& look, int timeoutMs) {
  Close();
  shared_ = std::make_shared<Shared>();
  std::shared_ptr<Shared> shared = shared_;
  thread_ = std::thread([shared, look] { RunWindow(shared, look); });
  if (!look.visible) {
    if (shared->WaitFor([&] { return shared->hwnd != nullptr; }, timeoutMs)) return true;
  } else if (shared->WaitFor([&] { return shared->shownPaints > 0; }, timeoutMs)) {
    return true;
  }
  Close();
  return false;
}

void ThreadWindow::Close() {
  if (shared_) {
    HWND hwnd = nullptr;
    {
      std::lock_guard<std::mutex> lock(shared_->mutex);
      shared_->closing = true;
      hwnd = shared_->hwnd;
    }
    if (hwnd) PostMessageW(hwnd, WM_CLOSE, 0, 0);
  }
  if (thread_.joinable()) thread_.join();
  shared_.reset();
}

HWND ThreadWindow::Hwnd() const {
  if (!shared_) return nullptr;
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->hwnd;
}

void ThreadWindow::CatchUp() const {
  HWND window = Hwnd();
  for (int i = 0; window && i < 3; ++i) SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
}

bool ThreadWindow::Repaint(int timeoutMs) {
  HWND hwnd = Hwnd();
  if (!hwnd) return false;
  DWORD_PTR painted = 0;
  if (!SendMessageTimeoutW(hwnd, kRepaintNow, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeoutMs), &painted)) return false;
  const int target = static_cast<int>(painted);
  return shared_->WaitFor([&] { return shared_->shownPaints >= target; }, timeoutMs);
}

// ---- ScrollingRows ---------------------------------------------------------

bool ScrollingRows::Open(const RowsLook& look, int timeoutMs) {
  Close();
  look_ = look;
  top_ = 0;
  scrolls_ = 0;
  Look window;
  window.x = look.x;
  window.y = look.y;
  window.width = look.width;
  window.height = look.height;
  window.layer = look.layer;
  window.title = look.title;
  window.paint = [this](HWND, HDC dc, const RECT& client) {
    const int top = top_;
    const ColourAt& colourAt = look_.colourAt;
    DrawPixels(dc, client.right, client.bottom, 0, top, colourAt);
  };
  window.handler = [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
    if (message != WM_VSCROLL) return false;
    if (LOWORD(wParam) == SB_LINEDOWN) {
      ++scrolls_;
      const int last = look_.contentRows - look_.height;
      const int next = top_ + look_.step;
      top_ = next > last ? last : next;
      InvalidateRect(hwnd, nullptr, FALSE);
      UpdateWindow(hwnd);
      if (look_.onScroll) look_.onScroll(hwnd);
    }
    *result = 0;
    return true;
  };
  return window_.Open(window, timeoutMs);
}

bool ScrollingRows::ScrollTo(int row) {
  top_ = row;
  return window_.Repaint();
}

}  // namespace testwin
