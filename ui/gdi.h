#pragma once
#include <windows.h>

#include <utility>

// Owners for GDI objects and handles: one move-only type per kind, so a double
// delete cannot compile, and guards for the three ways a DC is borrowed.
namespace framlet::ui {

template <typename H, typename Traits>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H handle) : handle_(handle) {}
  ~Owned() { Reset(); }
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Traits::Invalid()));
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  void Reset(H handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = handle;
  }
  H Release() { return std::exchange(handle_, Traits::Invalid()); }
  H Get() const { return handle_; }
  operator H() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }

 private:
  H handle_ = Traits::Invalid();
};

template <typename H>
struct GdiObjectTraits {
  static H Invalid() { return nullptr; }
  static void Close(H h) { DeleteObject(h); }
};
struct IconTraits {
  static HICON Invalid() { return nullptr; }
  static void Close(HICON h) { DestroyIcon(h); }
};
struct MenuTraits {
  static HMENU Invalid() { return nullptr; }
  static void Close(HMENU h) { DestroyMenu(h); }
};
struct KernelHandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct FileHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct AcceleratorTraits {
  static HACCEL Invalid() { return nullptr; }
  static void Close(HACCEL h) { DestroyAcceleratorTable(h); }
};

using Bitmap = Owned<HBITMAP, GdiObjectTraits<HBITMAP>>;
using Font = Owned<HFONT, GdiObjectTraits<HFONT>>;
using Brush = Owned<HBRUSH, GdiObjectTraits<HBRUSH>>;
using Pen = Owned<HPEN, GdiObjectTraits<HPEN>>;
using Region = Owned<HRGN, GdiObjectTraits<HRGN>>;
using Icon = Owned<HICON, IconTraits>;
using Menu = Owned<HMENU, MenuTraits>;
using KernelHandle = Owned<HANDLE, KernelHandleTraits>;
using FileHandle = Owned<HANDLE, FileHandleTraits>;
using Accelerator = Owned<HACCEL, AcceleratorTraits>;

// A memory DC compatible with another DC (or the screen), deleted on scope exit.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  operator HDC() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// A window's DC from GetDC (nullptr window: the whole screen), released on scope exit.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  operator HDC() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
  ~PaintDC() { EndPaint(window_, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  operator HDC() const { return dc_; }
  const PAINTSTRUCT& Info() const { return ps_; }

 private:
  HWND window_;
  HDC dc_;
  PAINTSTRUCT ps_ = {};
};

// Selects an object into a DC and selects the previous one back on scope exit.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectGuard() {
    if (dc_ && previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  HGDIOBJ Previous() const { return previous_; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A DC made by CreateDC or CreateCompatibleDC (a display DC, for one), deleted once.
struct CreatedDCTraits {
  static HDC Invalid() { return nullptr; }
  static void Close(HDC h) { DeleteDC(h); }
};
using CreatedDC = Owned<HDC, CreatedDCTraits>;

// A directory search from FindFirstFile, closed once.
struct FindHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
using FindHandle = Owned<HANDLE, FindHandleTraits>;

// Locks a movable memory block for as long as it lives.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL memory) : memory_(memory), bytes_(memory ? GlobalLock(memory) : nullptr) {}
  ~GlobalLockGuard() {
    if (bytes_) GlobalUnlock(memory_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  void* Get() const { return bytes_; }
  explicit operator bool() const { return bytes_ != nullptr; }

 private:
  HGLOBAL memory_;
  void* bytes_;
};

// The clipboard opened for a window (or none), closed again on scope exit.
class ClipboardSession {
 public:
  // Another program (a clipboard viewer, one reading it) may hold the
  // clipboard open for a moment: tried again for up to half a second.
  explicit ClipboardSession(HWND window) : open_(OpenClipboard(window) != FALSE) {
    for (int tries = 0; !open_ && tries < 50; ++tries) {
      Sleep(10);
      open_ = OpenClipboard(window) != FALSE;
    }
  }
  ~ClipboardSession() {
    if (open_) CloseClipboard();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

}  // namespace framlet::ui
