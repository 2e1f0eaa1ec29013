#pragma once
#include <windows.h>

namespace framlet::web {

// The current user's per-program settings of the browser engine, a DWORD
// value named after the program's file ("framlet5.exe") under this key's
// feature subkeys.
inline constexpr char kFeatureControlKey[] = "Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl";
// Newest engine, honouring each page's own declared document mode; without it
// the hosted control draws every page in its oldest mode.
inline constexpr char kBrowserEmulationFeature[] = "FEATURE_BROWSER_EMULATION";
inline constexpr DWORD kBrowserEmulation = 11000;

// Readies the browser engine for this process. Runs before the process's first
// browser view is made, since the engine reads its settings once, when it
// loads: the emulation mode is written for this program's file name, and
// navigation sounds (the click of every page change) are turned off for the
// process. Failures leave the engine's defaults.
void PrepareBrowserEngine();

}  // namespace framlet::web
