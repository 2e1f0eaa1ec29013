#pragma once
#include <windows.h>

#include "capture/captured_image.h"

namespace framlet::capture {

// Empties the clipboard and offers `image` there in two formats: the
// platform's device bitmap (CF_BITMAP, the display's format) and a 24-bit
// device-independent bitmap (CF_DIB, so that a program reading the clipboard
// as pixels with alpha finds none). Both are made only when a program asks
// for them; until then the clipboard keeps a share of the picture's pixels
// (CCapturedImage::Share, no copy for a picture in a section of its own), so
// a tall capture is not held twice more while its preview opens.
//
// The offer belongs to a hidden window of the first thread that makes one;
// it makes every format still asked for before it is destroyed, at the
// program's end, so the picture stays on the clipboard after the program.
// From any other thread both formats are made at once, with `window` as the
// clipboard's owner. False when the clipboard could not be had.
bool OfferPicture(HWND window, const CCapturedImage& image);

// The clipboard's bitmap formats made now from a picture (the handles the
// clipboard then owns); null on failure. OfferPicture's rendering.
HBITMAP MakeClipboardBitmap(const CCapturedImage& image);
HGLOBAL MakeClipboardDib(const CCapturedImage& image);

}  // namespace framlet::capture
