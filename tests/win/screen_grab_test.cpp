// Screen grabs: a window painted with a known pattern comes back pixel for
// pixel, also when the rectangle runs off the screen; layered windows; the
// clipboard and preview hand-off.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "capture/capture_engine.h"
#include "capture/preview_opener.h"
#include "test_windows.h"
#include "win_test_util.h"

namespace {

constexpr int kW = 64;
constexpr int kH = 48;

// The colour of the pattern at (x, y): no two neighbours alike, so an offset
// of one pixel in either direction is caught.
uint32_t PatternAt(int x, int y) {
  return (static_cast<uint32_t>(x * 4 + 3) << 16) | (static_cast<uint32_t>(y * 5 + 7) << 8) |
         static_cast<uint32_t>((x * 7 + y * 11) & 0xFF);
}

// The grabbed pixel at (x, y) as 0xRRGGBB.
uint32_t PixelOf(const std::vector<uint8_t>& rows, int stride, int x, int y) {
  const uint8_t* p = &rows[static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4];
  return (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
}

class ScreenGrab : public wintest::WinTest {
 protected:
  // A window on the screen, shown with its picture, until the case ends.
  HWND Open(const testwin::Look& look) {
    windows_.push_back(std::make_unique<testwin::ThreadWindow>());
    EXPECT_TRUE(windows_.back()->Open(look));
    return windows_.back()->Hwnd();
  }
  HWND Pattern(int x, int y) { return Open(testwin::At(x, y, kW, kH, testwin::Pattern(PatternAt))); }
  std::vector<std::unique_ptr<testwin::ThreadWindow>> windows_;
  CCaptureEngine engine_{nullptr};
};

TEST_F(ScreenGrab, GivesThePaintedPixelsAtTheRightOffset) {
  Pattern(200, 150);
  CCapturedImage image;
  // A rectangle 10 px larger on each side: the pattern must sit at (10, 10).
  ASSERT_TRUE(engine_.Grab(190, 140, kW + 20, kH + 20, image, ExcludeLayered));
  ASSERT_EQ(image.Width(), kW + 20);
  ASSERT_EQ(image.Height(), kH + 20);
  int stride = 0;
  std::vector<uint8_t> rows = image.ReadRows(32, &stride);
  ASSERT_FALSE(rows.empty());
  int mismatches = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (PixelOf(rows, stride, x + 10, y + 10) != PatternAt(x, y)) ++mismatches;
  EXPECT_EQ(mismatches, 0);
}

TEST_F(ScreenGrab, RectanglePartlyOffTheScreenKeepsItsSize) {
  Pattern(0, 100);  // flush with the screen's left edge
  CCapturedImage image;
  ASSERT_TRUE(engine_.Grab(-16, 100, kW + 16, kH, image, ExcludeLayered));
  EXPECT_EQ(image.Width(), kW + 16);
  EXPECT_EQ(image.Height(), kH);
  int stride = 0;
  std::vector<uint8_t> rows = image.ReadRows(32, &stride);
  ASSERT_FALSE(rows.empty());
  // The on-screen part is the pattern, shifted by the 16 off-screen columns.
  for (int y = 0; y < kH; y += 7)
    for (int x = 0; x < kW; x += 5) ASSERT_EQ(PixelOf(rows, stride, x + 16, y), PatternAt(x, y)) << x << "," << y;
  // Off the screen the display copy gives black.
  EXPECT_EQ(PixelOf(rows, stride, 0, 0), 0u);
  EXPECT_EQ(PixelOf(rows, stride, 15, kH - 1), 0u);
}

TEST_F(ScreenGrab, EmptyRectangleIsAFailedGrab) {
  CCapturedImage image;
  EXPECT_FALSE(engine_.Grab(10, 10, 0, 20, image, ExcludeLayered));
  EXPECT_FALSE(engine_.Grab(10, 10, 20, -1, image, IncludeLayered));
  EXPECT_TRUE(image.Empty());
  EXPECT_FALSE(engine_.GrabToClipboard(50, 50, 50, 80));
}

TEST_F(ScreenGrab, LayeredWindowOverTheRectangle) {
  Pattern(300, 300);
  testwin::Look red = testwin::At(300, 300, kW, kH, testwin::Solid(RGB(255, 0, 0)));
  red.layeredFlags = LWA_ALPHA;
  red.alpha = 255;
  Open(red);

  CCapturedImage with, without;
  ASSERT_TRUE(engine_.Grab(300, 300, kW, kH, with, IncludeLayered));
  ASSERT_TRUE(engine_.Grab(300, 300, kW, kH, without, ExcludeLayered));
  int s1 = 0, s2 = 0;
  auto rowsWith = with.ReadRows(32, &s1);
  auto rowsWithout = without.ReadRows(32, &s2);
  ASSERT_FALSE(rowsWith.empty());
  ASSERT_FALSE(rowsWithout.empty());
  // With layered windows included, the red window covers the pattern.
  EXPECT_EQ(PixelOf(rowsWith, s1, kW / 2, kH / 2), 0xFF0000u);
  if (wintest::UnderWine()) {
    // Wine draws layered windows straight onto the X display and reads the
    // screen back from it, so the raster operation makes no difference there:
    // the layered window is in both grabs.
    EXPECT_EQ(PixelOf(rowsWithout, s2, kW / 2, kH / 2), 0xFF0000u);
  } else {
    EXPECT_EQ(PixelOf(rowsWithout, s2, kW / 2, kH / 2), PatternAt(kW / 2, kH / 2));
  }
}

// The capture frame's hole: a magenta-keyed layered window shows (and a grab
// of the hole gets) what lies beneath, while its opaque edge stays.
TEST_F(ScreenGrab, ColourKeyedHoleShowsWhatLiesBeneath) {
  Pattern(500, 300);
  testwin::Look frame =
      testwin::At(500 - 8, 300 - 8, kW + 16, kH + 16, testwin::Framed(RGB(0, 0, 255), RGB(255, 0, 255), 8));
  frame.layeredFlags = LWA_COLORKEY;
  frame.colourKey = RGB(255, 0, 255);
  frame.alpha = 128;
  Open(frame);

  CCapturedImage image;
  ASSERT_TRUE(engine_.Grab(500 - 8, 300 - 8, kW + 16, kH + 16, image, ExcludeLayered));
  int stride = 0;
  auto rows = image.ReadRows(32, &stride);
  ASSERT_FALSE(rows.empty());
  int mismatches = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (PixelOf(rows, stride, x + 8, y + 8) != PatternAt(x, y)) ++mismatches;
  EXPECT_EQ(mismatches, 0);
  if (wintest::UnderWine()) {
    EXPECT_EQ(PixelOf(rows, stride, 2, 2), 0x0000FFu);  // the frame's edge
  }
}

TEST_F(ScreenGrab, ClipboardHoldsABitmapOfTheGrabbedSize) {
  Pattern(120, 120);
  ASSERT_TRUE(engine_.GrabToClipboard(120, 120, 120 + 50, 120 + 30));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP info = {};
  ASSERT_NE(bitmap, nullptr);
  GetObject(bitmap, sizeof info, &info);
  CloseClipboard();
  EXPECT_EQ(info.bmWidth, 50);
  EXPECT_EQ(info.bmHeight, 30);
}

TEST_F(ScreenGrab, DeliveryWithReviewLeavesTheCaptureOnTheClipboard) {
  Pattern(400, 120);
  OpenClipboard(nullptr);
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(engine_.GrabAndDeliver(400, 120, 400 + kW, 120 + kH, 100, 1, ExcludeLayered), 0);
  EXPECT_TRUE(engine_.workingImage.Empty());
  ASSERT_TRUE(OpenClipboard(nullptr));
  HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP info = {};
  if (bitmap) GetObject(bitmap, sizeof info, &info);
  CloseClipboard();
  EXPECT_EQ(info.bmWidth, kW);
  EXPECT_EQ(info.bmHeight, kH);
}

TEST_F(ScreenGrab, FailedDeliveryTouchesNothing) {
  OpenClipboard(nullptr);
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(engine_.GrabAndDeliver(10, 10, 10, 10, 100, 1, ExcludeLayered), 0);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
  CloseClipboard();
}

// The grab on the clipboard, 32 bits a pixel, top row first; empty when absent.
std::vector<uint32_t> ClipboardBitmapPixels(int w, int h) {
  std::vector<uint32_t> pixels;
  if (!OpenClipboard(nullptr)) return pixels;
  if (HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
    pixels.resize(static_cast<size_t>(w) * h);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, bitmap, 0, h, pixels.data(), &info, DIB_RGB_COLORS) != h) pixels.clear();
    ReleaseDC(nullptr, screen);
  }
  CloseClipboard();
  return pixels;
}

TEST_F(ScreenGrab, TheClipboardKeepsTheGrabAsADeviceBitmapAndA24BitDibAfterTheEngineLetsGo) {
  Pattern(120, 200);
  // The engine's own picture is gone once the call returns.
  ASSERT_TRUE(engine_.GrabToClipboard(120, 200, 120 + kW, 200 + kH));
  const std::vector<uint32_t> bitmap = ClipboardBitmapPixels(kW, kH);
  ASSERT_EQ(bitmap.size(), static_cast<size_t>(kW) * kH) << "no device bitmap";
  ASSERT_TRUE(OpenClipboard(nullptr));
  std::vector<uint8_t> dib;
  if (HGLOBAL memory = GetClipboardData(CF_DIB)) {
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(memory));
    if (bytes) dib.assign(bytes, bytes + GlobalSize(memory));
    GlobalUnlock(memory);
  }
  CloseClipboard();
  ASSERT_GE(dib.size(), sizeof(BITMAPINFOHEADER)) << "no device-independent bitmap";
  BITMAPINFOHEADER header;
  std::memcpy(&header, dib.data(), sizeof header);
  EXPECT_EQ(header.biBitCount, 24) << "no fourth byte to be read as alpha";
  EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
  ASSERT_EQ(header.biWidth, kW);
  ASSERT_EQ(header.biHeight, kH) << "bottom row first";
  const size_t stride = (3 * static_cast<size_t>(kW) + 3) & ~size_t{3};
  ASSERT_GE(dib.size(), sizeof header + stride * kH);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const uint8_t* p = &dib[sizeof header + stride * static_cast<size_t>(kH - 1 - y) + 3 * static_cast<size_t>(x)];
      const uint32_t fromDib = (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
      ASSERT_EQ(fromDib, PatternAt(x, y)) << x << ", " << y;
      ASSERT_EQ(bitmap[static_cast<size_t>(y) * kW + x] & 0xFFFFFF, PatternAt(x, y)) << x << ", " << y;
    }
  }
}

TEST_F(ScreenGrab, AClipboardHeldElsewhereLeavesThePreviewWithTheGrab) {
  Pattern(260, 200);
  // The clipboard, emptied, then held by another thread for the whole capture.
  OpenClipboard(nullptr);
  EmptyClipboard();
  CloseClipboard();
  HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    const bool open = OpenClipboard(nullptr) != FALSE;
    SetEvent(held);
    WaitForSingleObject(release, INFINITE);
    if (open) CloseClipboard();
  });
  WaitForSingleObject(held, INFINITE);
  struct Opener : IPreviewOpener {
    std::vector<uint8_t> rows;
    int stride = 0, width = 0, height = 0;
    void OpenPreview(HWND, CCapturedImage picture) override {
      width = picture.Width();
      height = picture.Height();
      rows = picture.ReadRows(32, &stride);
    }
  } opener;
  IPreviewOpener* const installed = CCaptureEngine::PreviewOpener();
  CCaptureEngine::SetPreviewOpener(&opener);
  EXPECT_EQ(engine_.GrabAndDeliver(260, 200, 260 + kW, 200 + kH, 100, 1, ExcludeLayered), 0);
  CCaptureEngine::SetPreviewOpener(installed);
  SetEvent(release);
  holder.join();
  CloseHandle(held);
  CloseHandle(release);
  ASSERT_EQ(opener.width, kW) << "the preview was handed no picture";
  ASSERT_EQ(opener.height, kH);
  ASSERT_FALSE(opener.rows.empty());
  EXPECT_EQ(PixelOf(opener.rows, opener.stride, 0, 0), PatternAt(0, 0));
  EXPECT_EQ(PixelOf(opener.rows, opener.stride, kW - 1, kH - 1), PatternAt(kW - 1, kH - 1));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP)) << "the clipboard was held all along";
  CloseClipboard();
}

}  // namespace
