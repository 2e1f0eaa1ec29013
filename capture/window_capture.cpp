#include "capture/window_capture.h"

#include <cstdint>
#include <vector>

#include "capture/window_bounds.h"
#include "capture/window_bounds_rules.h"
#include "ui/gdi.h"

namespace wb = framlet::window_bounds;

namespace {

// The picture is filled with this colour before the window is asked to draw
// itself; a picture that still holds nothing but the fill afterwards was not
// drawn (a window of another program cannot draw into this program's surfaces
// on every platform, and the call still reports success there). The fill is
// compared as the surface keeps it: a 15- or 16-bit surface rounds it.
constexpr COLORREF kUndrawn = RGB(8, 16, 24);
// PrintWindow's flag for content the compositor draws (windows 8.1 and later;
// older systems ignore it).
constexpr UINT kRenderFullContent = 0x00000002;

// Pixels of the bitmap, `width` wide, as 0xRRGGBB: `rows` of its rows (all of them or one).
std::vector<uint32_t> Pixels(HBITMAP bitmap, int width, int rows) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * rows);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -rows, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  framlet::ui::WindowDC screen(nullptr);
  if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(rows), pixels.data(), &info, DIB_RGB_COLORS) != rows) return {};
  for (uint32_t& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

wb::Rect ToRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

bool PictureOfWindow(CCaptureEngine& engine, HWND window, CCapturedImage& out, HDC surfaceLike) {
  RECT r = {};
  RECT shown = {};
  if (!GetWindowRect(window, &r) || !framlet::screen::VisibleRect(window, &shown)) return false;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  CCapturedImage printed;
  bool drawn = false;
  {
    framlet::ui::WindowDC windowDC(window);
    if (!windowDC) return false;
    const HDC like = surfaceLike ? surfaceLike : static_cast<HDC>(windowDC);
    framlet::ui::MemoryDC memory(like);
    framlet::ui::Bitmap bitmap(CreateCompatibleBitmap(like, width, height));
    if (!memory || !bitmap) return false;
    {
      framlet::ui::SelectGuard select(memory, bitmap);
      framlet::ui::Brush undrawn(CreateSolidBrush(kUndrawn));
      const RECT all = {0, 0, width, height};
      FillRect(memory, &all, undrawn);
    }
    const std::vector<uint32_t> fill = Pixels(bitmap, width, 1);
    bool printedOk = false;
    {
      framlet::ui::SelectGuard select(memory, bitmap);
      printedOk = PrintWindow(window, memory, kRenderFullContent) != FALSE;
    }
    if (printedOk && !fill.empty()) {
      for (uint32_t p : Pixels(bitmap, width, height)) {
        if (p != fill[0]) {
          drawn = true;
          break;
        }
      }
    }
    printed.Attach(bitmap.Release());
  }
  if (drawn) {
    const wb::Rect crop = wb::CropInPrint(ToRect(r), ToRect(shown));
    if (crop.Width() == width && crop.Height() == height) {
      out = std::move(printed);
      return true;
    }
    // What the window draws in its invisible border is not on the screen.
    out.Reset();
    return out.CreateScreenCompatible(crop.Width(), crop.Height()) &&
           out.CopyFromImage(printed, crop.left, crop.top, crop.Width(), crop.Height(), 0, 0);
  }
  // Drawn nothing: what the screen shows of it instead of a blank picture.
  out.Reset();
  return engine.Grab(shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, out, IncludeLayered);
}

int CCaptureEngine::PrintWindowAndDeliver(HWND window, int quality, int review) {
  if (!window) return 0;
  const bool made = PictureOfWindow(*this, window, workingImage);
  if (!made) {
    workingImage.Reset();
    return 0;
  }
  int result = 1;
  if (review != 0) {
    PutOnClipboard(owner, workingImage);
    OpenPreview(std::move(workingImage));
    workingImage.Reset();
  } else {
    const int index = ChooseSaveFile(currentPath);
    if (index != 0) result = WriteByFormat(workingImage, currentPath, index, quality);
    workingImage.Reset();
  }
  return result;
}

std::string CCaptureEngine::PrintWindowAndAutoSave(HWND window, int quality) {
  if (!window) return {};
  CCapturedImage image;
  if (!PictureOfWindow(*this, window, image)) return {};
  return NextFreeName(quality, image);
}
