#include <cstring>

#include "capture/capture_engine.h"
#include "ui/gdi.h"

namespace {

// The picture is filled with this colour before the window is asked to draw
// itself; a picture still wholly this colour afterwards was not drawn (a
// window of another program cannot draw into this program's surfaces on
// every platform, and the call still reports success there).
constexpr COLORREF kUndrawn = RGB(1, 2, 3);

bool StillUndrawn(const CCapturedImage& image) {
  int stride = 0;
  const std::vector<uint8_t> rows = image.ReadRows(32, &stride);
  if (rows.empty()) return true;
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* p = rows.data() + static_cast<size_t>(y) * stride;
    for (int x = 0; x < image.Width(); ++x, p += 4) {
      if (p[0] != GetBValue(kUndrawn) || p[1] != GetGValue(kUndrawn) || p[2] != GetRValue(kUndrawn)) return false;
    }
  }
  return true;
}

// The window's picture in `out`; whether a picture was made.
bool PictureOfWindow(CCaptureEngine& engine, HWND window, CCapturedImage& out) {
  RECT r = {};
  if (!GetWindowRect(window, &r)) return false;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  bool printed = false;
  {
    framlet::ui::WindowDC windowDC(window);
    if (!windowDC) return false;
    framlet::ui::MemoryDC memory(windowDC);
    framlet::ui::Bitmap bitmap(CreateCompatibleBitmap(windowDC, width, height));
    if (!memory || !bitmap) return false;
    {
      framlet::ui::SelectGuard select(memory, bitmap);
      framlet::ui::Brush undrawn(CreateSolidBrush(kUndrawn));
      const RECT all = {0, 0, width, height};
      FillRect(memory, &all, undrawn);
      printed = PrintWindow(window, memory, 0) != FALSE;
    }
    out.Attach(bitmap.Release());
  }
  if (printed && !StillUndrawn(out)) return true;
  // Drawn nothing: what the screen shows of it instead of a blank picture.
  out.Reset();
  return engine.Grab(r.left, r.top, width, height, out, IncludeLayered);
}

}  // namespace

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
