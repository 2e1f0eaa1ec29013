// Region selection and the magnifier on the real display: the magnifier's view
// of a known pattern pixel for pixel, its view at the screen's right edge, its
// idleness; a drag on the veil capturing exactly the pattern beneath it.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "capture/capture_engine.h"
#include "capture/window_bounds.h"
#include "capture/window_capture.h"
#include "core/settings.h"
#include "windows/magnifier.h"
#include "windows/magnifier_rules.h"
#include "test_windows.h"
#include "windows/region_select_dlg.h"
#include "win_test_util.h"

namespace mag = framlet::magnifier;

namespace {

constexpr int kW = 64;
constexpr int kH = 48;

// No two neighbours alike, so a view shifted by one pixel is caught.
uint32_t PatternAt(int x, int y) {
  return (static_cast<uint32_t>(x * 4 + 3) << 16) | (static_cast<uint32_t>(y * 5 + 7) << 8) |
         static_cast<uint32_t>((x * 7 + y * 11) & 0xFF);
}

// A bitmap's pixels as 0xRRGGBB, top row first.
std::vector<uint32_t> PixelsOf(HDC compatible, HBITMAP bitmap, int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  BITMAPINFO info = testwin::TopDown32(width, height);
  GetDIBits(compatible, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  for (uint32_t& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

// What a window shows in its client area.
std::vector<uint32_t> ClientPixels(HWND window, int width, int height) {
  HDC dc = GetDC(window);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  std::vector<uint32_t> pixels = PixelsOf(dc, bitmap, width, height);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, dc);
  return pixels;
}

class Magnifier : public wintest::WinTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(magnifier_.Create(holder_.Hwnd(), 10, 10, mag::kClientWidth, mag::kClientHeight));
  }
  void TearDown() override { magnifier_.Destroy(); }
  // The pattern with its top-left corner at (x, y); the cursor on (x + dx, y + dy).
  void PatternWithCursor(int x, int y, int dx, int dy) {
    ASSERT_TRUE(pattern_.Open(testwin::At(x, y, kW, kH, testwin::Pattern(PatternAt))));
    SetCursorPos(x + dx, y + dy);
    wintest::PumpUntil([&] {
      POINT at = {};
      return GetCursorPos(&at) && at.x == x + dx && at.y == y + dy;
    });
  }
  // The pattern pixel shown at client (cx, cy), allowing one pixel either way
  // where a source column or row meets the next (the zoom is not a whole number).
  static bool ShowsPatternPixel(const std::vector<uint32_t>& view, int cx, int cy, int sx, int sy) {
    const uint32_t shown = view[static_cast<size_t>(cy) * mag::kClientWidth + cx];
    for (int ox = -1; ox <= 1; ++ox)
      for (int oy = -1; oy <= 1; ++oy)
        if (shown == PatternAt(sx + ox, sy + oy)) return true;
    return false;
  }
  // Holds the magnifier, a child window of this thread.
  testwin::Window holder_{testwin::At(700, 500, 200, 200)};
  testwin::ThreadWindow pattern_;
  CMYMagnify magnifier_;
};

TEST_F(Magnifier, ZoomShowsEachClientPixelsSourcePixel) {
  // Cursor on pattern pixel (32, 24): the 38 x 40 source starts at (13, 4) of the pattern.
  PatternWithCursor(200, 150, 32, 24);
  ASSERT_TRUE(magnifier_.Draw(true));
  const std::vector<uint32_t> view = ClientPixels(magnifier_.Hwnd(), mag::kClientWidth, mag::kClientHeight);
  const mag::Area source = mag::SourceArea(232, 174, mag::kClientWidth, mag::kClientHeight, mag::kZoom, 100000);
  ASSERT_EQ(source.x, 213);
  int checked = 0, wrong = 0;
  for (int cy = 1; cy < mag::kClientHeight; cy += 3) {
    for (int cx = 1; cx < mag::kClientWidth; cx += 3) {
      // The fixed cross-hair lies over rows 62..64 and columns 60..62.
      if ((cy >= 61 && cy <= 65) || (cx >= 59 && cx <= 63)) continue;
      const mag::Pixel p = mag::ClientToSource(cx, cy, mag::kClientWidth, mag::kClientHeight, source);
      ++checked;
      if (!ShowsPatternPixel(view, cx, cy, source.x - 200 + p.x, source.y - 150 + p.y)) ++wrong;
    }
  }
  EXPECT_GT(checked, 1000);
  EXPECT_EQ(wrong, 0);
  // The cross-hair in its colour at its fixed place.
  EXPECT_EQ(view[63 * mag::kClientWidth + 20], 0x00E4FFu);
  EXPECT_EQ(view[20 * mag::kClientWidth + 61], 0x00E4FFu);
}

TEST_F(Magnifier, AtTheRightEdgeShowsWhatIsOnTheScreen) {
  // The source runs 18 columns past the edge: those are black, the rest is
  // the pattern (not a wholly black view).
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  PatternWithCursor(screenWidth - kW, 150, kW - 1, 24);
  ASSERT_TRUE(magnifier_.Draw(true));
  const std::vector<uint32_t> view = ClientPixels(magnifier_.Hwnd(), mag::kClientWidth, mag::kClientHeight);
  const mag::Area source =
      mag::SourceArea(screenWidth - 1, 174, mag::kClientWidth, mag::kClientHeight, mag::kZoom, 100000);
  const int patternLeft = screenWidth - kW;
  // Client column 16 shows source column 5, on the screen.
  const mag::Pixel on = mag::ClientToSource(16, 30, mag::kClientWidth, mag::kClientHeight, source);
  EXPECT_TRUE(ShowsPatternPixel(view, 16, 30, source.x + on.x - patternLeft, source.y + on.y - 150));
  // The last client column shows a pixel past the edge: black.
  EXPECT_EQ(view[30 * mag::kClientWidth + mag::kClientWidth - 1], 0u);
}

TEST_F(Magnifier, DrawsOnlyWhenShownAndTheCursorMoved) {
  PatternWithCursor(200, 150, 10, 10);
  magnifier_.Draw(true);
  EXPECT_FALSE(magnifier_.Draw()) << "cursor has not moved";
  // No messages are dispatched from here on: the magnifier's own timer draws nothing in between.
  SetCursorPos(215, 165);
  EXPECT_TRUE(magnifier_.Draw());
  ShowWindow(holder_.Hwnd(), SW_HIDE);
  SetCursorPos(220, 170);
  EXPECT_FALSE(magnifier_.Draw()) << "hidden: nothing read";
  EXPECT_FALSE(magnifier_.Draw(true)) << "hidden: nothing read";
  ShowWindow(holder_.Hwnd(), SW_SHOWNOACTIVATE);
  EXPECT_TRUE(magnifier_.Draw());
}

// ---- The selection veil ----

class FakeFrame : public IRegionSelectHost {
 public:
  // Asked once the veil is gone, just before the grab: the window under the
  // veil has then repainted what the veil covered, however loaded the machine.
  bool FrameSeeThrough() const override {
    if (beneath) beneath->CatchUp();
    return seeThrough;
  }
  void RestoreFrame() override { ++restored; }
  bool seeThrough = true;
  int restored = 0;
  const testwin::ThreadWindow* beneath = nullptr;
};

class RegionSelect : public wintest::WinTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pattern_.Open(testwin::At(300, 200, kW, kH, testwin::Pattern(PatternAt))));
    frame_.beneath = &pattern_;
    ASSERT_TRUE(dialog_.Create(nullptr));
  }
  void TearDown() override {
    if (dialog_.IsOpen()) DestroyWindow(dialog_.Hwnd());
  }
  // Shows the veil and its panel and dispatches messages until both are painted.
  void ShowVeil() {
    dialog_.Show();
    wintest::PumpUntil([&] { return wintest::Painted(dialog_.Hwnd()) && wintest::Painted(dialog_.Panel().Hwnd()); });
  }
  void Drag(int x1, int y1, int x2, int y2) {
    HWND veil = dialog_.Hwnd();
    SendMessageW(veil, WM_MOUSEMOVE, 0, MAKELPARAM(x1, y1));
    SendMessageW(veil, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x1, y1));
    SendMessageW(veil, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((x1 + x2) / 2, (y1 + y2) / 2));
    SendMessageW(veil, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x2, y2));
    SendMessageW(veil, WM_LBUTTONUP, 0, MAKELPARAM(x2, y2));
  }
  static void EmptyTheClipboard() {
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
  }
  // The clipboard's bitmap pixels, with its size.
  static std::vector<uint32_t> ClipboardPixels(int* width, int* height) {
    *width = *height = 0;
    std::vector<uint32_t> pixels;
    if (!OpenClipboard(nullptr)) return pixels;
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP info = {};
    if (bitmap && GetObject(bitmap, sizeof info, &info)) {
      *width = info.bmWidth;
      *height = info.bmHeight;
      HDC screen = GetDC(nullptr);
      pixels = PixelsOf(screen, bitmap, info.bmWidth, info.bmHeight);
      ReleaseDC(nullptr, screen);
    }
    CloseClipboard();
    return pixels;
  }
  FakeFrame frame_;
  CRegionSelectDlg dialog_{frame_};
  testwin::ThreadWindow pattern_;
};

TEST_F(RegionSelect, DragCapturesThePatternWithoutVeilOrBandInEitherDirection) {
  framlet::settings::WriteFlag(framlet::keys::kCaptureReview, true);
  const struct {
    const char* what;
    int x1, y1, x2, y2;
  } drags[] = {{"down and right", 300, 200, 300 + kW, 200 + kH}, {"up and left", 300 + kW, 200 + kH, 300, 200}};
  int round = 0;
  for (const auto& d : drags) {
    EmptyTheClipboard();
    ShowVeil();
    ASSERT_TRUE(IsWindowVisible(dialog_.Hwnd()));
    ASSERT_TRUE(IsWindowVisible(dialog_.Panel().Hwnd()));
    Drag(d.x1, d.y1, d.x2, d.y2);
    ++round;
    EXPECT_FALSE(IsWindowVisible(dialog_.Hwnd())) << d.what;
    EXPECT_FALSE(IsWindowVisible(dialog_.Panel().Hwnd())) << d.what;
    EXPECT_EQ(frame_.restored, round) << d.what;
    int width = 0, height = 0;
    const std::vector<uint32_t> pixels = ClipboardPixels(&width, &height);
    ASSERT_EQ(width, kW) << d.what;
    ASSERT_EQ(height, kH) << d.what;
    int wrong = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        if (pixels[static_cast<size_t>(y) * kW + x] != PatternAt(x, y)) ++wrong;
    EXPECT_EQ(wrong, 0) << d.what << ": veil, band or cross-hair pixels in the capture";
  }
}

TEST_F(RegionSelect, ClickWithoutADragCapturesNothingAndPutsTheFrameBack) {
  framlet::settings::WriteFlag(framlet::keys::kCaptureReview, true);
  EmptyTheClipboard();
  ShowVeil();
  Drag(320, 220, 320, 220);
  EXPECT_EQ(frame_.restored, 1);
  EXPECT_FALSE(IsWindowVisible(dialog_.Hwnd()));
  int width = 0, height = 0;
  ClipboardPixels(&width, &height);
  EXPECT_EQ(width, 0);
}

TEST_F(RegionSelect, WithoutReviewAndNoAutoSaveKeyTheRegionIsSavedAutomatically) {
  framlet::settings::WriteFlag(framlet::keys::kCaptureReview, false);
  // A known last path, so the automatic name needs no dialog.
  CCaptureEngine* engine = dialog_.Engine();
  ASSERT_NE(engine, nullptr);
  engine->currentPath = folder_.File("region_1.bmp");
  engine->formatIndex = 2;
  ShowVeil();
  Drag(300, 200, 300 + kW, 200 + kH);
  EXPECT_EQ(frame_.restored, 1);
  EXPECT_NE(engine->currentPath, folder_.File("region_1.bmp"));
  EXPECT_NE(GetFileAttributesA(engine->currentPath.c_str()), INVALID_FILE_ATTRIBUTES) << engine->currentPath;
}

}  // namespace

// ---- Window capture ----

namespace {

constexpr COLORREF kGreen = RGB(0, 200, 0);
constexpr COLORREF kRed = RGB(220, 0, 0);

// Paints green (or `paint`) on the screen and when asked to print itself.
testwin::Look PrintsItself(int x, int y, int w, int h, testwin::Paint paint = testwin::Solid(kGreen)) {
  testwin::Look look = testwin::At(x, y, w, h, std::move(paint));
  look.handler = [paint = look.paint](HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
    if (message != WM_PRINTCLIENT) return false;
    RECT client = {};
    GetClientRect(hwnd, &client);
    paint(hwnd, reinterpret_cast<HDC>(wParam), client);
    *result = 0;
    return true;
  };
  return look;
}

// Paints red on the screen but draws nothing when asked to print itself.
testwin::Look PrintsNothing(int x, int y, int w, int h) {
  testwin::Look look = testwin::At(x, y, w, h, testwin::Solid(kRed));
  look.handler = [](HWND, UINT message, WPARAM, LPARAM, LRESULT* result) {
    if (message != WM_PRINT && message != WM_PRINTCLIENT) return false;
    *result = 0;
    return true;
  };
  return look;
}

// The compositor as a test gives it: one window cloaked, one with an
// invisible border, every other window's bounds its window rectangle.
struct FakeCompositor {
  static inline HWND cloaked = nullptr;
  static inline HWND bordered = nullptr;
  static inline RECT borderedBounds = {};
  static HRESULT WINAPI Read(HWND window, DWORD attribute, void* value, DWORD size) {
    constexpr DWORD kExtendedFrameBounds = 9, kCloaked = 14;
    if (attribute == kCloaked && size == sizeof(DWORD)) {
      *static_cast<DWORD*>(value) = window == cloaked ? 2 : 0;  // 2: cloaked by the shell
      return S_OK;
    }
    if (attribute == kExtendedFrameBounds && size == sizeof(RECT)) {
      if (window == bordered) {
        *static_cast<RECT*>(value) = borderedBounds;
        return S_OK;
      }
      return GetWindowRect(window, static_cast<RECT*>(value)) ? S_OK : E_HANDLE;
    }
    return E_INVALIDARG;
  }
};

class WindowCapture : public wintest::WinTest {
 protected:
  void SetUp() override { framlet::screen::SetAttributeReaderForTesting(&FakeCompositor::Read); }
  void TearDown() override {
    framlet::screen::SetAttributeReaderForTesting(nullptr);
    FakeCompositor::cloaked = FakeCompositor::bordered = nullptr;
    wintest::WinTest::TearDown();
  }
  HWND Open(const testwin::Look& look) {
    windows_.push_back(std::make_unique<testwin::ThreadWindow>());
    EXPECT_TRUE(windows_.back()->Open(look));
    return windows_.back()->Hwnd();
  }
  // The clipboard's pixel at (x, y) and the bitmap's size.
  static uint32_t ClipboardPixel(int x, int y, SIZE* size) {
    OpenClipboard(nullptr);
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP info = {};
    uint32_t pixel = 0xFFFFFFFF;
    if (bitmap && GetObject(bitmap, sizeof info, &info)) {
      *size = {info.bmWidth, info.bmHeight};
      HDC screen = GetDC(nullptr);
      pixel = PixelsOf(screen, bitmap, info.bmWidth, info.bmHeight)[static_cast<size_t>(y) * info.bmWidth + x];
      ReleaseDC(nullptr, screen);
    }
    CloseClipboard();
    return pixel;
  }
  std::vector<std::unique_ptr<testwin::ThreadWindow>> windows_;
  CCaptureEngine engine_{nullptr};
};

TEST_F(WindowCapture, CoveredWindowPrintsItselfWhole) {
  HWND target = Open(PrintsItself(200, 200, 80, 60));
  // A grey window over its left half.
  Open(testwin::At(190, 190, 50, 80));
  SetWindowPos(target, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(engine_.PrintWindowAndDeliver(target, 100, 1), 1);
  SIZE size = {};
  EXPECT_EQ(ClipboardPixel(10, 30, &size), 0x00C800u) << "the covered part is the window's own";
  EXPECT_EQ(size.cx, 80);
  EXPECT_EQ(size.cy, 60);
}

TEST_F(WindowCapture, WindowThatPrintsNothingIsTakenFromTheScreen) {
  HWND target = Open(PrintsNothing(300, 220, 70, 50));
  EXPECT_EQ(engine_.PrintWindowAndDeliver(target, 100, 1), 1);
  SIZE size = {};
  EXPECT_EQ(ClipboardPixel(35, 25, &size), 0xDC0000u) << "not a blank picture";
  EXPECT_EQ(size.cx, 70);
  EXPECT_EQ(engine_.PrintWindowAndDeliver(nullptr, 100, 1), 0);
  EXPECT_EQ(engine_.PrintWindowAndAutoSave(nullptr, 100), "");
}

// Windows 10's invisible resize border: 7 pixels left, right and bottom.
TEST_F(WindowCapture, PrintedWindowIsCutToWhatItShowsOnTheScreen) {
  const auto colourAt = [](int x, int y) { return static_cast<uint32_t>(x * 0x030000 + y * 0x000300 + 0x40); };
  HWND target = Open(PrintsItself(200, 200, 80, 60, testwin::Pattern(colourAt)));
  FakeCompositor::bordered = target;
  FakeCompositor::borderedBounds = {207, 200, 273, 253};
  EXPECT_EQ(engine_.PrintWindowAndDeliver(target, 100, 1), 1);
  SIZE size = {};
  EXPECT_EQ(ClipboardPixel(0, 0, &size), colourAt(7, 0));
  EXPECT_EQ(ClipboardPixel(65, 52, &size), colourAt(72, 52));
  EXPECT_EQ(size.cx, 66);
  EXPECT_EQ(size.cy, 53);
}

// A 15-bit surface keeps no colour whose low bits are set: the fill must be
// compared as the surface holds it.
TEST_F(WindowCapture, WindowThatPrintsNothingIsToldApartOnASurfaceOf15Bits) {
  HWND target = Open(PrintsNothing(300, 220, 70, 50));
  BITMAPINFO format = testwin::TopDown32(1, 1);
  format.bmiHeader.biBitCount = 16;
  void* bits = nullptr;
  framlet::ui::Bitmap sample(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  framlet::ui::MemoryDC like(nullptr);
  framlet::ui::SelectGuard select(like, sample);
  CCapturedImage picture;
  ASSERT_TRUE(PictureOfWindow(engine_, target, picture, like));
  HDC screen = GetDC(nullptr);
  const std::vector<uint32_t> pixels = PixelsOf(screen, picture.Bitmap(), picture.Width(), picture.Height());
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(pixels.size(), 70u * 50u);
  EXPECT_EQ(pixels[25 * 70 + 35], 0xDC0000u) << "the screen's picture, not a blank one";
}

// The walk the picker, snap and the scroll target share: from the top, the
// first window the user sees whose visible rectangle holds the point.
TEST_F(WindowCapture, WindowUnderAPointIsOneTheUserSeesByWhatItShows) {
  const POINT at = {402, 300};
  testwin::Window target(testwin::At(300, 250, 200, 100));
  // Over it, each at the point: a window whose invisible border alone is
  // there, a cloaked one and a layered one at zero opacity.
  testwin::Window bordered(testwin::At(395, 250, 100, 100));
  FakeCompositor::bordered = bordered.Hwnd();
  FakeCompositor::borderedBounds = {403, 250, 488, 343};
  testwin::Window cloaked(testwin::At(350, 250, 100, 100));
  FakeCompositor::cloaked = cloaked.Hwnd();
  testwin::Look clear = testwin::At(350, 250, 100, 100);
  clear.layeredFlags = LWA_ALPHA;
  clear.alpha = 0;
  testwin::Window invisible(clear);
  EXPECT_EQ(framlet::screen::TopLevelWindowAt(GetTopWindow(nullptr), at, nullptr), target.Hwnd());
  EXPECT_EQ(framlet::screen::TopLevelWindowAt(GetTopWindow(nullptr), {404, 300}, nullptr), bordered.Hwnd());

  // Barely opaque is seen; a window the caller rules out is passed over.
  clear.alpha = 1;
  testwin::Window faint(clear);
  EXPECT_EQ(framlet::screen::TopLevelWindowAt(GetTopWindow(nullptr), at, nullptr), faint.Hwnd());
  EXPECT_EQ(framlet::screen::TopLevelWindowAt(GetTopWindow(nullptr), at, [&](HWND w) { return w == faint.Hwnd(); }),
            target.Hwnd());
  RECT shown = {};
  ASSERT_TRUE(framlet::screen::VisibleRect(bordered.Hwnd(), &shown));
  EXPECT_EQ(shown.left, 403);
  EXPECT_EQ(shown.bottom, 343);
}

}  // namespace
