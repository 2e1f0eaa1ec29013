#pragma once
#include <windows.h>

#include <string>

#include "capture/captured_image.h"
#include "web/page_capture_rules.h"

class CCaptureEngine;

// A web page shown in a browser window, as page capture needs it: the page's
// scrolling (IPageLayout), the window's client size and place, and drawing
// the document into a device context. The real one is CWebDocument; tests
// use a stand-in.
class IPageDocument : public framlet::pagecap::IPageLayout {
 public:
  virtual ~IPageDocument() = default;
  // False when the browser shows no document; nothing else is asked then.
  virtual bool HasDocument() = 0;
  virtual SIZE ClientSize() = 0;
  // The window's place in its parent's client coordinates, and whether it shows.
  virtual RECT ViewPlace() = 0;
  virtual bool ViewVisible() = 0;
  virtual void PlaceView(const RECT& place) = 0;
  virtual void ShowView(bool visible) = 0;
  // Draws the document's content into `dc` within `bounds`; false when it could not.
  virtual bool Draw(HDC dc, const RECT& bounds) = 0;
};

namespace framlet::web {

// The page as shown: a picture of the window's client size, filled with the
// backdrop colour first, with the document drawn over it. False (and `out`
// empty) without a document, with an empty client area or when no bitmap
// could be made.
bool RenderView(IPageDocument& page, CCapturedImage& out);

struct WholePageResult {
  bool captured = false;     // a picture was drawn
  bool onClipboard = false;  // review: the whole picture is on the clipboard
  CCapturedImage picture;    // review: the whole picture, for the preview
  std::string path;          // no review: the file the save dialog wrote, else empty
};

// The whole page at once: the hidden window grown until nothing scrolls, the
// document drawn into one picture, then (review) the whole picture put on the
// clipboard of `owner` and returned for the preview, or (no review) the picture without its unpainted
// bottom rows offered in the save dialog at JPEG quality 100. The window goes
// back to its place, size and visibility on every path. Without a document
// nothing is touched.
WholePageResult CaptureWholePage(IPageDocument& page, CCaptureEngine& engine, HWND owner, bool review);

// The page as shown, written under the engine's next automatic name; the path
// written, or empty when nothing was written.
std::string RenderViewAndAutoSave(IPageDocument& page, CCaptureEngine& engine, int quality);

}  // namespace framlet::web
