#include "capture/window_bounds.h"

#include "capture/window_bounds_rules.h"

namespace framlet::screen {

namespace {

// Values of the compositor's window attributes (dwmapi.h).
constexpr DWORD kExtendedFrameBounds = 9;
constexpr DWORD kCloaked = 14;

AttributeReader g_testReader = nullptr;

// dwmapi.dll is missing or has no such call on some systems; the lookup is made once.
AttributeReader SystemReader() {
  static const AttributeReader reader = [] {
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    return dwm ? reinterpret_cast<AttributeReader>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute"))) : nullptr;
  }();
  return reader;
}

HRESULT ReadAttribute(HWND window, DWORD attribute, void* value, DWORD size) {
  const AttributeReader reader = g_testReader ? g_testReader : SystemReader();
  return reader ? reader(window, attribute, value, size) : E_NOTIMPL;
}

window_bounds::Rect ToRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

bool IsTopLevel(HWND window) {
  return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0;
}

}  // namespace

void SetAttributeReaderForTesting(AttributeReader reader) {
  g_testReader = reader;
}

bool VisibleRect(HWND window, RECT* out) {
  RECT r = {};
  if (!GetWindowRect(window, &r)) return false;
  RECT frame = {};
  const bool haveFrame =
      IsTopLevel(window) && SUCCEEDED(ReadAttribute(window, kExtendedFrameBounds, &frame, sizeof frame));
  const window_bounds::Rect shown = window_bounds::VisibleBounds(ToRect(r), haveFrame, ToRect(frame));
  *out = {shown.left, shown.top, shown.right, shown.bottom};
  return true;
}

bool ShownToUser(HWND window) {
  if (!IsWindowVisible(window)) return false;
  DWORD cloaked = 0;
  if (SUCCEEDED(ReadAttribute(window, kCloaked, &cloaked, sizeof cloaked)) && cloaked != 0) return false;
  if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) {
    BYTE alpha = 255;
    DWORD flags = 0;
    // A window drawn by UpdateLayeredWindow has no attributes to read and counts as shown.
    if (GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) && alpha == 0)
      return false;
  }
  return true;
}

RECT MonitorWorkArea(const RECT& r) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  HMONITOR monitor = MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
  if (!monitor || !GetMonitorInfoW(monitor, &info)) return {};
  return info.rcWork;
}

HWND TopLevelWindowAt(HWND first, POINT at, const std::function<bool(HWND)>& skip) {
  for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (!ShownToUser(w) || (skip && skip(w))) continue;
    RECT r = {};
    if (VisibleRect(w, &r) && PtInRect(&r, at)) return w;
  }
  return nullptr;
}

}  // namespace framlet::screen
