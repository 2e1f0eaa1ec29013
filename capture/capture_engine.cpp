#include "capture/capture_engine.h"

#include <objidl.h>  // GDI+ needs it and WIN32_LEAN_AND_MEAN leaves it out
#include <gdiplus.h>

#include "ui/gdi.h"

namespace {
constexpr DWORD kCaptureBlt = 0x40000000;
IPreviewOpener* g_previewOpener = nullptr;
// The picture on the clipboard while the preview opens, and the clipboard's
// sequence number right after it was put there.
CCapturedImage g_handedPicture;
DWORD g_handedSequence = 0;
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
  // preview, files) then costs a round trip of the whole picture.
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up: its rows read the same on every platform
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  framlet::ui::Bitmap bitmap(CreateDIBSection(display, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !bitmap) return false;
  bool ok = false;
  {
    framlet::ui::SelectGuard select(memory, bitmap);
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
  out.Attach(bitmap.Release());
  return ok;
}

bool CCaptureEngine::PutOnClipboard(HWND window, const CCapturedImage& image) {
  if (image.Empty()) return false;
  // A display-compatible copy made surface to surface: the clipboard's
  // picture keeps the screen's format, so whoever reads it copies it fast
  // (a copy through the bitmap-copying call took over a second for a tall
  // capture under Wine, and left a format that is slow to read back).
  CCapturedImage copy;
  if (!copy.CreateScreenCompatible(image.Width(), image.Height()) ||
      !copy.CopyFromImage(image, 0, 0, image.Width(), image.Height(), 0, 0))
    return false;
  const framlet::ui::ClipboardSession clipboard(window);
  if (!clipboard) return false;
  EmptyClipboard();
  if (!SetClipboardData(CF_BITMAP, copy.Bitmap())) return false;
  copy.Detach();  // the clipboard owns it now
  return true;
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
    if (PutOnClipboard(owner, workingImage)) {
      g_handedPicture = std::move(workingImage);
      g_handedSequence = GetClipboardSequenceNumber();
    }
    workingImage.Reset();
    OpenPreview();
    g_handedPicture.Reset();
    return 0;
  }
  const int index = ChooseSaveFile(currentPath);
  int written = 0;
  if (index != 0) written = WriteByFormat(workingImage, currentPath, index, quality);
  workingImage.Reset();
  return written;
}

void CCaptureEngine::OpenPreview() {
  if (g_previewOpener) g_previewOpener->OpenPreview(owner);
}

void CCaptureEngine::SetPreviewOpener(IPreviewOpener* opener) { g_previewOpener = opener; }

CCapturedImage CCaptureEngine::TakeHandedPicture() {
  CCapturedImage picture = std::move(g_handedPicture);
  if (picture.Empty() || GetClipboardSequenceNumber() != g_handedSequence) return {};
  return picture;
}

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
