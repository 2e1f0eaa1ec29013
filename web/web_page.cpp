#include "web/web_page.h"

#include <exdispid.h>
#include <oleauto.h>

#include <exception>

#include "web/custom_control_site.h"

using framlet::ui::ComPtr;

namespace {

// The browser packs event arguments last first: argument i of the event's
// declaration is rgvarg[cArgs - 1 - i].
const VARIANT* Argument(const DISPPARAMS* params, UINT index) {
  if (!params || !params->rgvarg || index >= params->cArgs) return nullptr;
  return &params->rgvarg[params->cArgs - 1 - index];
}

// Text of an argument given directly, by reference, or as a VARIANT by reference.
std::wstring TextOf(const VARIANT* v) {
  if (!v) return {};
  if (V_VT(v) == (VT_VARIANT | VT_BYREF)) return TextOf(V_VARIANTREF(v));
  if (V_VT(v) == VT_BSTR) return V_BSTR(v) ? std::wstring(V_BSTR(v), SysStringLen(V_BSTR(v))) : std::wstring();
  if (V_VT(v) == (VT_BSTR | VT_BYREF) && V_BSTRREF(v) && *V_BSTRREF(v))
    return std::wstring(*V_BSTRREF(v), SysStringLen(*V_BSTRREF(v)));
  return {};
}

VARIANT_BOOL* BoolRefOf(const VARIANT* v) {
  return v && V_VT(v) == (VT_BOOL | VT_BYREF) ? V_BOOLREF(v) : nullptr;
}

IDispatch** DispatchRefOf(const VARIANT* v) {
  return v && V_VT(v) == (VT_DISPATCH | VT_BYREF) ? V_DISPATCHREF(v) : nullptr;
}

const CLSID* g_controlClass = &CLSID_WebBrowser;

std::wstring Lower(std::wstring text) {
  if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// A BSTR for one call.
class Bstr {
 public:
  explicit Bstr(const std::wstring& text) : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR Get() const { return value_; }

 private:
  BSTR value_;
};

}  // namespace

// The view's DWebBrowserEvents2 sink. The browser holds it while the view is
// connected; the view detaches it when it closes, so a late event reaches nobody.
class CWebPage::Events final : public IDispatch {
 public:
  explicit Events(CWebPage* view) : view_(view) {}
  void Detach() { view_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, DIID_DWebBrowserEvents2)) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refCount_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG count = InterlockedDecrement(&refCount_);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
  }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    if (!view_ || !view_->listener_) return S_OK;
    AddRef();  // the listener may close the view
    try {
      Deliver(id, params);
    } catch (const std::exception&) {
    }
    Release();
    return S_OK;
  }

 private:
  void Deliver(DISPID id, DISPPARAMS* params) {
    CWebPage& view = *view_;
    IWebPageListener& listener = *view_->listener_;
    switch (id) {
      case DISPID_NAVIGATECOMPLETE2:  // (pDisp, URL)
        listener.OnNavigateComplete(view, Lower(view.LocationUrl()));
        break;
      case DISPID_BEFORENAVIGATE2: {  // (pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
        bool cancel = false;
        listener.OnBeforeNavigate(view, TextOf(Argument(params, 1)), cancel);
        if (VARIANT_BOOL* cancelRef = BoolRefOf(Argument(params, 6)); cancelRef && cancel) *cancelRef = VARIANT_TRUE;
        break;
      }
      case DISPID_TITLECHANGE:  // (Text)
        listener.OnTitleChange(view, TextOf(Argument(params, 0)));
        break;
      case DISPID_NEWWINDOW2:  // (ppDisp, Cancel)
        if (IDispatch** newWindow = DispatchRefOf(Argument(params, 0))) listener.OnNewWindow(view, newWindow);
        break;
      case DISPID_DOCUMENTCOMPLETE:  // (pDisp, URL)
        listener.OnDocumentComplete(view, Lower(TextOf(Argument(params, 1))));
        break;
    }
  }

  LONG refCount_ = 1;
  CWebPage* view_;
};

std::unique_ptr<CWebPage> CWebPage::Create(HWND parent, const RECT& rect, int id, IDispatch* external,
                                           IWebPageListener* listener) {
  std::unique_ptr<CWebPage> view(new CWebPage(listener));
  if (!view->CreateWindowOf(kClassName, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
    return nullptr;
  if (!view->CreateBrowser(external)) return nullptr;  // the destructor closes the control and the window
  view->ConnectEvents();
  HWND hwnd = view->Hwnd();
  CWebPage* page = view.get();
  view->keys_.Add(hwnd, framlet::ui::KeyStage::View, [page](MSG& msg) { return page->PreTranslate(msg); });
  // Hidden and borderless until its owner shows it.
  ShowWindow(hwnd, SW_HIDE);
  SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) & ~(WS_VISIBLE | WS_BORDER));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return view;
}

CWebPage::~CWebPage() {
  Teardown();
  Destroy();
}

bool CWebPage::CreateBrowser(IDispatch* external) {
  HWND hwnd = Hwnd();
  site_ = CCustomControlSite::Create(hwnd, external);
  if (FAILED(CoCreateInstance(*g_controlClass, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              reinterpret_cast<void**>(control_.Put()))))
    return false;
  if (FAILED(control_->SetClientSite(site_))) return false;
  OleSetContainedObject(control_.Get(), TRUE);
  RECT client = {};
  GetClientRect(hwnd, &client);
  if (FAILED(control_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_, 0, hwnd, &client))) return false;
  if (FAILED(control_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(browser_.Put())))) return false;

  // The browser's own window carries the pane id and the view's style of a child.
  ComPtr<IOleInPlaceObject> inPlace;
  HWND browserWindow = nullptr;
  if (SUCCEEDED(control_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(inPlace.Put()))) &&
      SUCCEEDED(inPlace->GetWindow(&browserWindow)) && browserWindow)
    SetWindowLongPtrW(browserWindow, GWLP_ID, kBrowserControlId);
  return true;
}

void CWebPage::ConnectEvents() {
  ComPtr<IConnectionPointContainer> container;
  if (FAILED(browser_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.Put()))))
    return;
  ComPtr<IConnectionPoint> point;
  if (FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Put()))) return;
  sink_ = new Events(this);
  if (FAILED(point->Advise(sink_, &sinkCookie_))) sinkCookie_ = 0;
}

void CWebPage::Teardown() {
  keys_.Remove();
  if (sink_) {
    sink_->Detach();
    if (sinkCookie_ && browser_) {
      ComPtr<IConnectionPointContainer> container;
      ComPtr<IConnectionPoint> point;
      if (SUCCEEDED(
              browser_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.Put()))) &&
          SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Put())))
        point->Unadvise(sinkCookie_);
    }
    sinkCookie_ = 0;
    sink_->Release();
    sink_ = nullptr;
  }
  activeObject_.Reset();
  if (browser_) browser_->Stop();
  browser_.Reset();
  if (control_) {
    ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(control_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(inPlace.Put()))))
      inPlace->InPlaceDeactivate();
    control_->Close(OLECLOSE_NOSAVE);
    control_->SetClientSite(nullptr);
    control_.Reset();
  }
  if (site_) {
    site_->Detach();
    site_->Release();
    site_ = nullptr;
  }
}

int CWebPage::ControlId() const {
  return Hwnd() ? GetDlgCtrlID(Hwnd()) : 0;
}

IDispatch* CWebPage::EventSink() const {
  return sink_;
}

void CWebPage::Navigate(const std::wstring& url) {
  if (!browser_) return;
  Bstr address(url);
  VARIANT empty;
  VariantInit(&empty);
  browser_->Navigate(address.Get(), &empty, &empty, &empty, &empty);
}

void CWebPage::Navigate(const std::string& url) {
  const int size = MultiByteToWideChar(CP_ACP, 0, url.data(), static_cast<int>(url.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, url.data(), static_cast<int>(url.size()), wide.data(), size);
  Navigate(wide);
}

void CWebPage::GoBack() {
  if (browser_) browser_->GoBack();
}

void CWebPage::GoForward() {
  if (browser_) browser_->GoForward();
}

void CWebPage::Refresh() {
  if (browser_) browser_->Refresh();
}

std::wstring CWebPage::LocationUrl() const {
  if (!browser_) return {};
  BSTR url = nullptr;
  if (FAILED(browser_->get_LocationURL(&url)) || !url) return {};
  std::wstring text(url, SysStringLen(url));
  SysFreeString(url);
  return text;
}

IDispatch* CWebPage::Application() const {
  IDispatch* application = nullptr;
  if (!browser_ || FAILED(browser_->get_Application(&application))) return nullptr;
  return application;
}

void CWebPage::Show(bool visible) {
  if (Hwnd()) ShowWindow(Hwnd(), visible ? SW_SHOW : SW_HIDE);
}

void CWebPage::Move(int x, int y, int width, int height, bool repaint) {
  if (Hwnd()) MoveWindow(Hwnd(), x, y, width, height, repaint ? TRUE : FALSE);
}

void CWebPage::OnSize() {
  if (!control_) return;
  ComPtr<IOleInPlaceObject> inPlace;
  if (FAILED(control_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(inPlace.Put())))) return;
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  inPlace->SetObjectRects(&client, &client);
}

bool CWebPage::PreTranslate(MSG& msg) {
  // Only keyboard messages can be accelerators of the page.
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) TranslateMessage(&msg);
  if (!activeObject_ && browser_) {
    ComPtr<IDispatch> application;
    if (SUCCEEDED(browser_->get_Application(application.Put())) && application)
      application->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(activeObject_.Put()));
  }
  return activeObject_ && activeObject_->TranslateAccelerator(&msg) == S_OK;
}

CWebPage* CWebPage::FromWindow(HWND window) {
  for (HWND w = window; w; w = GetParent(w)) {
    wchar_t name[32] = {};
    if (GetClassNameW(w, name, 32) && lstrcmpW(name, kClassName) == 0)
      return dynamic_cast<CWebPage*>(reinterpret_cast<CWindowBase*>(GetWindowLongPtrW(w, GWLP_USERDATA)));
    if (!(GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return nullptr;
}

void CWebPage::SetControlClassForTesting(const CLSID* control) {
  g_controlClass = control ? control : &CLSID_WebBrowser;
}

LRESULT CWebPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the browser covers the whole client area
    case WM_DESTROY:
      Teardown();
      break;
  }
  return CWindowBase::HandleMessage(message, wParam, lParam);
}
