#include "capture/clipboard_picture.h"

#include <cstdint>

#include "ui/gdi.h"

namespace framlet::capture {

namespace {

constexpr wchar_t kHolderClass[] = L"FramletClipboardPicture";

// The hidden window that answers for the pictures it offered; one per
// program, on the thread that offered first.
class PictureHolder {
 public:
  PictureHolder() : thread_(GetCurrentThreadId()) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &PictureHolder::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHolderClass;
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, kHolderClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  // Destroying the owner has it make the formats still outstanding.
  ~PictureHolder() {
    if (window_ && GetCurrentThreadId() == thread_) DestroyWindow(window_);
  }
  PictureHolder(const PictureHolder&) = delete;
  PictureHolder& operator=(const PictureHolder&) = delete;

  bool Usable() const { return window_ && GetCurrentThreadId() == thread_; }

  bool Offer(const CCapturedImage& image) {
    CCapturedImage share = image.Share();
    if (share.Empty()) return false;
    const framlet::ui::ClipboardSession clipboard(window_);
    if (!clipboard) return false;
    // Emptying tells the previous owner, this window included, to let go.
    EmptyClipboard();
    picture_ = std::move(share);
    SetClipboardData(CF_BITMAP, nullptr);
    SetClipboardData(CF_DIB, nullptr);
    return true;
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PictureHolder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
      case WM_RENDERFORMAT:
        self->Render(static_cast<UINT>(wParam));
        return 0;
      case WM_RENDERALLFORMATS: {
        const framlet::ui::ClipboardSession clipboard(hwnd);
        if (clipboard && GetClipboardOwner() == hwnd) {
          self->Render(CF_BITMAP);
          self->Render(CF_DIB);
        }
        return 0;
      }
      case WM_DESTROYCLIPBOARD:
        self->picture_.Reset();
        return 0;
      default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
  }

  // Called with the clipboard open for this window.
  void Render(UINT format) {
    if (picture_.Empty()) return;
    if (format == CF_BITMAP) {
      if (HBITMAP bitmap = MakeClipboardBitmap(picture_)) {
        if (!SetClipboardData(CF_BITMAP, bitmap)) DeleteObject(bitmap);
      }
    } else if (format == CF_DIB) {
      if (HGLOBAL dib = MakeClipboardDib(picture_)) {
        if (!SetClipboardData(CF_DIB, dib)) GlobalFree(dib);
      }
    }
  }

  DWORD thread_;
  HWND window_ = nullptr;
  CCapturedImage picture_;
};

}  // namespace

HBITMAP MakeClipboardBitmap(const CCapturedImage& image) {
  // A display-compatible copy made surface to surface: the clipboard's
  // picture keeps the screen's format, so whoever reads it copies it fast.
  CCapturedImage copy;
  if (!copy.CreateScreenCompatible(image.Width(), image.Height()) ||
      !copy.CopyFromImage(image, 0, 0, image.Width(), image.Height(), 0, 0))
    return nullptr;
  return copy.Detach();
}

HGLOBAL MakeClipboardDib(const CCapturedImage& image) {
  if (image.Empty()) return nullptr;
  const uint64_t stride = (3 * static_cast<uint64_t>(image.Width()) + 3) & ~uint64_t{3};
  const uint64_t bytes = sizeof(BITMAPINFOHEADER) + stride * static_cast<uint64_t>(image.Height());
  if (bytes != static_cast<SIZE_T>(bytes)) return nullptr;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(bytes));
  if (!memory) return nullptr;
  bool ok = false;
  {
    const framlet::ui::GlobalLockGuard lock(memory);
    if (lock) {
      auto* header = static_cast<BITMAPINFOHEADER*>(lock.Get());
      *header = {};
      header->biSize = sizeof(BITMAPINFOHEADER);
      header->biWidth = image.Width();
      header->biHeight = image.Height();  // bottom row first, as readers of the format expect
      header->biPlanes = 1;
      header->biBitCount = 24;
      header->biCompression = BI_RGB;
      header->biSizeImage = static_cast<DWORD>(stride * static_cast<uint64_t>(image.Height()));
      BITMAPINFO info = {};
      info.bmiHeader = *header;
      const framlet::ui::WindowDC screen(nullptr);
      ok = GetDIBits(screen, image.Bitmap(), 0, static_cast<UINT>(image.Height()), header + 1, &info,
                     DIB_RGB_COLORS) == image.Height();
    }
  }
  if (!ok) {
    GlobalFree(memory);
    return nullptr;
  }
  return memory;
}

bool OfferPicture(HWND window, const CCapturedImage& image) {
  if (image.Empty()) return false;
  static PictureHolder holder;
  if (holder.Usable()) return holder.Offer(image);
  framlet::ui::Bitmap bitmap(MakeClipboardBitmap(image));
  if (!bitmap) return false;
  HGLOBAL dib = MakeClipboardDib(image);
  const framlet::ui::ClipboardSession clipboard(window);
  if (!clipboard) {
    if (dib) GlobalFree(dib);
    return false;
  }
  EmptyClipboard();
  if (!SetClipboardData(CF_BITMAP, bitmap.Get())) {
    if (dib) GlobalFree(dib);
    return false;
  }
  bitmap.Release();  // the clipboard owns it now
  if (dib && !SetClipboardData(CF_DIB, dib)) GlobalFree(dib);
  return true;
}

}  // namespace framlet::capture
