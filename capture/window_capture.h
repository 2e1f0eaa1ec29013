#pragma once
#include <windows.h>

#include "capture/capture_engine.h"

// The picture of `window` as the user sees it, into `out`: the window asked
// to draw itself whole (composed content included, so browser, WPF and store
// windows draw too), cut to its visible rectangle (no invisible border); a
// window that drew nothing at all is grabbed from the screen instead, layered
// windows included. The picture has the pixel format of `surfaceLike` (the
// window's own device when null); a window that drew nothing is told apart
// from one that drew the fill colour at any such format. False when no
// picture could be made.
bool PictureOfWindow(CCaptureEngine& engine, HWND window, CCapturedImage& out, HDC surfaceLike = nullptr);
