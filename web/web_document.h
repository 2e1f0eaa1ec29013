#pragma once
#include <windows.h>
#include <mshtml.h>

#include "ui/com_ptr.h"
#include "web/page_capture.h"

class CWebPage;

// The document a browser view shows, for page capture: its body and root
// element, its window's scrollTo, the view window itself, and the document's
// own drawing into a device context. The document objects are taken when it
// is made and released with it.
class CWebDocument final : public IPageDocument {
 public:
  explicit CWebDocument(CWebPage& view);
  ~CWebDocument() override;
  CWebDocument(const CWebDocument&) = delete;
  CWebDocument& operator=(const CWebDocument&) = delete;

  bool HasDocument() override;
  void ScrollTo(int x, int y) override;
  framlet::pagecap::Scroll Read(framlet::pagecap::Element element) override;
  framlet::pagecap::Size ViewSize() override;
  void ResizeView(int width, int height) override;
  SIZE ClientSize() override;
  RECT ViewPlace() override;
  bool ViewVisible() override;
  void PlaceView(const RECT& place) override;
  void ShowView(bool visible) override;
  bool Draw(HDC dc, const RECT& bounds) override;

 private:
  HWND window_;
  framlet::ui::ComPtr<IHTMLDocument2> document_;
  framlet::ui::ComPtr<IHTMLWindow2> pageWindow_;
  framlet::ui::ComPtr<IHTMLElement2> body_;
  framlet::ui::ComPtr<IHTMLElement2> root_;
};
