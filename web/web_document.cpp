#include "web/web_document.h"

#include <ocidl.h>

#include "web/web_page.h"

using framlet::ui::ComPtr;
namespace pagecap = framlet::pagecap;

namespace {

template <class T>
ComPtr<T> Query(IUnknown* from, REFIID iid) {
  ComPtr<T> to;
  if (from) from->QueryInterface(iid, reinterpret_cast<void**>(to.Put()));
  return to;
}

}  // namespace

CWebDocument::CWebDocument(CWebPage& view) : window_(view.Hwnd()) {
  IWebBrowser2* browser = view.Browser();
  if (!browser) return;
  ComPtr<IDispatch> dispatch;
  if (FAILED(browser->get_Document(dispatch.Put())) || !dispatch) return;
  document_ = Query<IHTMLDocument2>(dispatch.Get(), IID_IHTMLDocument2);
  if (!document_) return;
  document_->get_parentWindow(pageWindow_.Put());
  ComPtr<IHTMLElement> body;
  if (SUCCEEDED(document_->get_body(body.Put())) && body) {
    body_ = Query<IHTMLElement2>(body.Get(), IID_IHTMLElement2);
    ComPtr<IHTMLElement> root;
    if (SUCCEEDED(body->get_parentElement(root.Put())) && root)
      root_ = Query<IHTMLElement2>(root.Get(), IID_IHTMLElement2);
  }
}

CWebDocument::~CWebDocument() = default;

bool CWebDocument::HasDocument() {
  return document_ && window_ && IsWindow(window_);
}

void CWebDocument::ScrollTo(int x, int y) {
  if (pageWindow_) pageWindow_->scrollTo(x, y);
}

pagecap::Scroll CWebDocument::Read(pagecap::Element element) {
  pagecap::Scroll s;
  IHTMLElement2* e = element == pagecap::Element::Body ? body_.Get() : root_.Get();
  if (!e) return s;
  long v = 0;
  if (SUCCEEDED(e->get_scrollLeft(&v))) s.left = v;
  if (SUCCEEDED(e->get_scrollTop(&(v = 0)))) s.top = v;
  if (SUCCEEDED(e->get_scrollWidth(&(v = 0)))) s.width = v;
  if (SUCCEEDED(e->get_scrollHeight(&(v = 0)))) s.height = v;
  return s;
}

pagecap::Size CWebDocument::ViewSize() {
  RECT r = {};
  GetWindowRect(window_, &r);
  return {r.right - r.left, r.bottom - r.top};
}

void CWebDocument::ResizeView(int width, int height) {
  SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE CWebDocument::ClientSize() {
  RECT r = {};
  GetClientRect(window_, &r);
  return {r.right, r.bottom};
}

RECT CWebDocument::ViewPlace() {
  RECT r = {};
  GetWindowRect(window_, &r);
  MapWindowPoints(nullptr, GetParent(window_), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool CWebDocument::ViewVisible() {
  return (GetWindowLongPtrW(window_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void CWebDocument::PlaceView(const RECT& place) {
  SetWindowPos(window_, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWebDocument::ShowView(bool visible) {
  ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
}

bool CWebDocument::Draw(HDC dc, const RECT& bounds) {
  ComPtr<IViewObject> view = Query<IViewObject>(document_.Get(), IID_IViewObject);
  if (!view) return false;
  const RECTL area = {bounds.left, bounds.top, bounds.right, bounds.bottom};
  HDC screen = GetDC(nullptr);
  const HRESULT hr = view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, screen, dc, &area, nullptr, nullptr, 0);
  ReleaseDC(nullptr, screen);
  return SUCCEEDED(hr);
}
