#include "ui/compositor.h"

namespace framlet::ui {

namespace {

// DWMWA_TRANSITIONS_FORCEDISABLED, named here since older headers lack it.
constexpr DWORD kTransitionsForceDisabled = 3;

using IsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
using FlushFn = HRESULT(WINAPI*)();
using SetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

// The window manager's library, loaded once and kept for the program's life.
HMODULE WindowManager() {
  static const HMODULE library = LoadLibraryW(L"dwmapi.dll");
  return library;
}

template <typename Fn>
Fn Entry(const char* name) {
  HMODULE library = WindowManager();
  return library ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

}  // namespace

CompositorWait WaitForCompositor() {
  // A wait of no time: a system that keeps windows' pixels in surfaces of
  // its own and hands them to the screen when the program next waits (Wine
  // does, and otherwise only every 50 ms of busy drawing) hands them now.
  MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0);
  const auto isEnabled = Entry<IsCompositionEnabledFn>("DwmIsCompositionEnabled");
  const auto flush = Entry<FlushFn>("DwmFlush");
  if (!isEnabled || !flush) return CompositorWait::NoCompositor;
  BOOL enabled = FALSE;
  if (FAILED(isEnabled(&enabled)) || !enabled) return CompositorWait::CompositionOff;
  return SUCCEEDED(flush()) ? CompositorWait::Flushed : CompositorWait::FlushFailed;
}

bool DisableTransitions(HWND window) {
  const auto setAttribute = Entry<SetWindowAttributeFn>("DwmSetWindowAttribute");
  if (!setAttribute || !window) return false;
  const BOOL disabled = TRUE;
  return SUCCEEDED(setAttribute(window, kTransitionsForceDisabled, &disabled, sizeof disabled));
}

}  // namespace framlet::ui
