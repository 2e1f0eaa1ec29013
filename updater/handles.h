#pragma once
// Owners for the handle kinds only the updater uses: registry keys, internet
// handles and image lists, on the toolkit's move-only owner.
#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include "ui/gdi.h"

namespace framlet::update {

struct RegKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY h) { RegCloseKey(h); }
};
using RegKey = framlet::ui::Owned<HKEY, RegKeyTraits>;

struct InternetTraits {
  static HINTERNET Invalid() { return nullptr; }
  static void Close(HINTERNET h) { InternetCloseHandle(h); }
};
using InternetHandle = framlet::ui::Owned<HINTERNET, InternetTraits>;

struct ImageListTraits {
  static HIMAGELIST Invalid() { return nullptr; }
  static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};
using ImageList = framlet::ui::Owned<HIMAGELIST, ImageListTraits>;

}  // namespace framlet::update
