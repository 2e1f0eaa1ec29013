#pragma once
#include <windows.h>

#include <functional>

// Windows as the user sees them on the screen: their visible rectangle, and
// whether they show at all. The compositor's answers come from dwmapi.dll,
// looked up when first needed; without it (or without composition) a window
// is its window rectangle and is never cloaked.
namespace framlet::screen {

// DwmGetWindowAttribute's shape.
using AttributeReader = HRESULT(WINAPI*)(HWND window, DWORD attribute, void* value, DWORD size);
// Replaces the compositor's reader (tests give windows bounds and cloaking
// the platform they run on does not); nullptr brings back the system's.
void SetAttributeReaderForTesting(AttributeReader reader);

// The window's rectangle on the screen without the invisible resize border:
// the extended frame bounds of a top-level window where the compositor gives
// them, else (and for child windows) its window rectangle. False when the
// window has no rectangle.
bool VisibleRect(HWND window, RECT* out);

// Whether the user sees the window: visible, not cloaked (on another virtual
// desktop, a suspended store app) and not a layered window at zero opacity.
bool ShownToUser(HWND window);

// The work area of the monitor that holds most of `r` (the nearest one when
// none does); an empty rectangle when the system names none.
RECT MonitorWorkArea(const RECT& r);

// Walking the top-level windows from `first` down the z-order: the first one
// the user sees, that `skip` does not rule out, whose visible rectangle holds
// `at`; nullptr when none does.
HWND TopLevelWindowAt(HWND first, POINT at, const std::function<bool(HWND)>& skip);

}  // namespace framlet::screen
