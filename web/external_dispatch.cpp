#include "web/external_dispatch.h"

#include <cstring>
#include <string>

#include "core/settings.h"
#include "core/settings_keys.h"

namespace {

struct Method {
  const char* name;
  DISPID id;
};
constexpr Method kMethods[] = {
    {"FL_Login", CExternalDispatch::kLoginId},
    {"FL_Logout", CExternalDispatch::kLogoutId},
    {"FL_Popclose", CExternalDispatch::kPopcloseId},
    {"FL_Popckclose", CExternalDispatch::kPopckcloseId},
};

// The name in the system code page, whatever its length; empty when it does not convert.
std::string ToCodePage(const wchar_t* name) {
  const int size = WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, name, -1, bytes.data(), size, nullptr, nullptr) != size) return {};
  bytes.resize(static_cast<size_t>(size) - 1);  // the terminating zero
  return bytes;
}

DISPID IdOf(const std::string& name) {
  for (const Method& method : kMethods)
    if (name == method.name) return method.id;
  return DISPID_UNKNOWN;
}

}  // namespace

STDMETHODIMP CExternalDispatch::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CExternalDispatch::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&refCount_));
}

// Never deletes: the application object owns the one instance.
STDMETHODIMP_(ULONG) CExternalDispatch::Release() {
  return static_cast<ULONG>(InterlockedDecrement(&refCount_));
}

STDMETHODIMP CExternalDispatch::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return E_NOTIMPL;
}

STDMETHODIMP CExternalDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CExternalDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (count == 0) return S_OK;
  if (!names || !ids) return E_POINTER;
  bool missing = false;
  bool nullName = false;
  for (UINT i = 0; i < count; ++i) {
    if (!names[i]) {
      ids[i] = DISPID_UNKNOWN;
      nullName = true;
      continue;
    }
    ids[i] = IdOf(ToCodePage(names[i]));
    if (ids[i] == DISPID_UNKNOWN) missing = true;
  }
  if (nullName) return E_INVALIDARG;
  return missing ? DISP_E_UNKNOWNNAME : S_OK;
}

STDMETHODIMP CExternalDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                       UINT*) {
  if (id < kLoginId || id > kPopckcloseId) return S_OK;
  if ((flags & DISPATCH_PROPERTYGET) && result) {
    VariantClear(result);
    V_VT(result) = VT_BOOL;
    V_BOOL(result) = 1;
  }
  if (flags & DISPATCH_METHOD) RunAction(id);
  return S_OK;
}

void CExternalDispatch::RunAction(DISPID id) {
  // A page that outlives the frame (a late script, a closing view) changes nothing.
  if (!host_) return;
  switch (id) {
    case kLoginId:
      host_->SetSignedIn(true);
      break;
    case kLogoutId:
      host_->SetSignedIn(false);
      break;
    case kPopcloseId:
      ClosePopup(true);
      host_->SetPopupClosed();
      break;
    case kPopckcloseId:
      ClosePopup(false);
      break;
  }
}

void CExternalDispatch::ClosePopup(bool showAgain) {
  // The setting first, so the popup's end (which may end a modal run) finds it written.
  framlet::settings::WriteFlag(framlet::keys::kPopCloseState, showAgain);
  if (HWND popup = host_->GuidePopupWindow()) SendMessageW(popup, WM_CLOSE, 0, 0);
}
