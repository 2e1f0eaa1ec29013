#include "web/custom_control_site.h"

#include <oleauto.h>

namespace {

// The document host's command group (mshtmhst.h declares it, no library defines it).
constexpr GUID kDocHostCommandHandler = {0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

}  // namespace

CCustomControlSite* CCustomControlSite::Create(HWND container, IDispatch* external) {
  return new CCustomControlSite(container, external);
}

CCustomControlSite::CCustomControlSite(HWND container, IDispatch* external)
    : container_(container), external_(external) {
  if (external_) external_->AddRef();
}

CCustomControlSite::~CCustomControlSite() {
  Detach();
}

void CCustomControlSite::Detach() {
  container_ = nullptr;
  if (IDispatch* external = external_) {
    external_ = nullptr;
    external->Release();
  }
}

STDMETHODIMP CCustomControlSite::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
    *object = static_cast<IOleClientSite*>(this);
  else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
    *object = static_cast<IOleInPlaceSite*>(this);
  else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame))
    *object = static_cast<IOleInPlaceFrame*>(this);
  else if (IsEqualIID(iid, __uuidof(IDocHostUIHandler)))
    *object = static_cast<IDocHostUIHandler*>(this);
  else if (IsEqualIID(iid, __uuidof(IDocHostShowUI)))
    *object = static_cast<IDocHostShowUI*>(this);
  else if (IsEqualIID(iid, IID_IOleCommandTarget))
    *object = static_cast<IOleCommandTarget*>(this);
  else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CCustomControlSite::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&refCount_));
}

STDMETHODIMP_(ULONG) CCustomControlSite::Release() {
  const LONG count = InterlockedDecrement(&refCount_);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

STDMETHODIMP CCustomControlSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CCustomControlSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP CCustomControlSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = container_;
  return container_ ? S_OK : E_FAIL;
}

STDMETHODIMP CCustomControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                                  LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) {
  if (!frame || !document || !position || !clip || !frameInfo) return E_POINTER;
  *frame = static_cast<IOleInPlaceFrame*>(this);
  AddRef();
  *document = nullptr;
  RECT client = {};
  if (container_) GetClientRect(container_, &client);
  *position = client;
  *clip = client;
  frameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
  frameInfo->fMDIApp = FALSE;
  frameInfo->hwndFrame = container_ ? GetAncestor(container_, GA_ROOT) : nullptr;
  frameInfo->haccel = nullptr;
  frameInfo->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP CCustomControlSite::GetHostInfo(DOCHOSTUIINFO* info) {
  if (!info) return E_POINTER;
  info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
  info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
  return S_OK;
}

STDMETHODIMP CCustomControlSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
  if (key) *key = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CCustomControlSite::GetDropTarget(IDropTarget*, IDropTarget** target) {
  if (target) *target = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CCustomControlSite::GetExternal(IDispatch** external) {
  if (!external) return E_POINTER;
  *external = external_;
  if (!external_) return E_NOTIMPL;
  external_->AddRef();
  return S_OK;
}

STDMETHODIMP CCustomControlSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CCustomControlSite::FilterDataObject(IDataObject*, IDataObject** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CCustomControlSite::QueryStatus(const GUID* group, ULONG, OLECMD*, OLECMDTEXT*) {
  return group && IsEqualGUID(*group, kDocHostCommandHandler) ? OLECMDERR_E_NOTSUPPORTED : OLECMDERR_E_UNKNOWNGROUP;
}

STDMETHODIMP CCustomControlSite::Exec(const GUID* group, DWORD command, DWORD, VARIANT*, VARIANT* out) {
  if (!group || !IsEqualGUID(*group, kDocHostCommandHandler)) return OLECMDERR_E_UNKNOWNGROUP;
  if (command != OLECMDID_SHOWSCRIPTERROR) return OLECMDERR_E_NOTSUPPORTED;
  // Handled: no error box, and true keeps the page's scripts running.
  if (out) {
    VariantClear(out);
    V_VT(out) = VT_BOOL;
    V_BOOL(out) = VARIANT_TRUE;
  }
  return S_OK;
}
