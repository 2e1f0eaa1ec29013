#include "capture/capture_engine.h"

#include <objidl.h>  // GDI+ needs it and WIN32_LEAN_AND_MEAN leaves it out
#include <gdiplus.h>

#include "capture/clipboard_picture.h"
#include "ui/gdi.h"

namespace {
constexpr DWORD kCaptureBlt = 0x40000000;
IPreviewOpener* g_previewOpener = nullptr;
}  // namespace

CCaptureEngine::CCaptureEngine(HWND ownerWindow) : owner(ownerWindow) {
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread on
  Gdiplus::GdiplusStartup(&gdiplusSession, &input, nullptr);
}

CCaptureEngine::~CCaptureEngine() {
  workingImage.Reset();
  if (gdiplusSession) Gdiplus::GdiplusShutdown(gdiplusSession);
}

bool CCaptureEngine::Grab(int x, int y, int width, int height, CCapturedImage& out, GrabMode mode) {
  // A rectangle of no area gives a failed grab: nothing to deliver.
  if (width <= 0 || height <= 0) return false;
  const framlet::ui::CreatedDC display(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
  if (!display) return false;
  framlet::ui::MemoryDC memory(display);
  // A 32-bit section in the program's memory, not a bitmap of the display
  // driver: Wine keeps a display bitmap on the X server once the screen is
  // copied into it, and every later read of a tall capture (clipboard,
  // preview, files) then costs a round trip of the whole picture. A section
  // of its own, so the clipboard shares its pixels instead of copying them.
  CCapturedImage image;
  if (!memory || !image.CreateSection(width, height, 32)) return false;
  bool ok = false;
  {
    framlet::ui::SelectGuard select(memory, image.Bitmap());
    const DWORD rop = mode == ExcludeLayered ? SRCCOPY : (SRCCOPY | kCaptureBlt);
    // Parts outside every monitor are black. Only the part on the virtual
    // screen is copied: Wine's display driver turns a copy whose source runs
    // off the screen into an all-black picture.
    PatBlt(memory, 0, 0, width, height, BLACKNESS);
    const RECT screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                         GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                         GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const RECT wanted = {x, y, x + width, y + height};
    RECT part;
    if (IntersectRect(&part, &wanted, &screen)) {
      const int w = part.right - part.left;
      const int h = part.bottom - part.top;
      ok = StretchBlt(memory, part.left - x, part.top - y, w, h, display, part.left, part.top, w, h, rop) != FALSE;
    } else {
      ok = true;
    }
  }
  // The bitmap stays with the output even when the copy failed.
  out = std::move(image);
  return ok;
}

bool CCaptureEngine::PutOnClipboard(HWND window, const CCapturedImage& image) {
  return framlet::capture::OfferPicture(window, image);
}

bool CCaptureEngine::GrabToClipboard(int left, int top, int right, int bottom) {
  CCapturedImage image;
  if (!Grab(left, top, right - left, bottom - top, image, ExcludeLayered)) return false;
  return PutOnClipboard(owner, image);
}

int CCaptureEngine::GrabAndDeliver(int left, int top, int right, int bottom, int quality, int review, GrabMode mode) {
  if (!Grab(left, top, right - left, bottom - top, workingImage, mode)) {
    workingImage.Reset();
    return 0;
  }
  if (review != 0) {
    // The preview shows the grab whatever became of the clipboard's copy.
    PutOnClipboard(owner, workingImage);
    OpenPreview(std::move(workingImage));
    workingImage.Reset();
    return 0;
  }
  const int index = ChooseSaveFile(currentPath);
  int written = 0;
  if (index != 0) written = WriteByFormat(workingImage, currentPath, index, quality);
  workingImage.Reset();
  return written;
}

void CCaptureEngine::OpenPreview(CCapturedImage picture) {
  if (g_previewOpener) g_previewOpener->OpenPreview(owner, std::move(picture));
}

void CCaptureEngine::SetPreviewOpener(IPreviewOpener* opener) { g_previewOpener = opener; }

IPreviewOpener* CCaptureEngine::PreviewOpener() { return g_previewOpener; }

int CCaptureEngine::WriteByFormat(const CCapturedImage& image, const std::string& path, int index, int quality) {
  switch (index) {
    case 1: return WriteJpegFile(image, path, quality);
    case 2: return WriteBmpFile(image, path);
    case 3: return WritePngFile(image, path);
    case 4: return WriteGifFile(image, path);
    default: return 0;
  }
}
