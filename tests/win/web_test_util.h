#pragma once
// Shared pieces of the hosted-page tests: OLE for one test, condition waits
// that keep messages flowing, host windows, and recorders standing in for the
// capture frame behind the page calls and the browser views.
#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <ole2.h>
#include <ocidl.h>

#include <functional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "test_windows.h"
#include "core/settings_keys.h"
#include "web/external_dispatch.h"
#include "web/frame_views.h"

namespace webtest {

// OLE on the test's thread (browser control, script engine).
class OleScope {
 public:
  OleScope() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleScope() {
    if (ok_) OleUninitialize();
  }
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;

 private:
  bool ok_;
};

// Dispatches messages until the condition holds or ms pass; returns the condition.
inline bool WaitFor(const std::function<bool()>& condition, int ms = 5000) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (condition()) return true;
    if (static_cast<int>(GetTickCount() - start) >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

// A plain top-level window of this thread standing in for the capture frame
// (or, owned, for a popup).
class HostWindow {
 public:
  HostWindow(int x, int y, int width, int height, HWND owner = nullptr) : window_(Look(x, y, width, height, owner)) {}
  HWND Hwnd() const { return window_.Hwnd(); }

 private:
  static testwin::Look Look(int x, int y, int width, int height, HWND owner) {
    testwin::Look look = testwin::At(x, y, width, height);
    look.style = WS_POPUP | WS_CLIPCHILDREN;
    look.exStyle = 0;
    look.layer = testwin::Layer::Normal;
    look.activate = true;
    look.owner = owner;
    look.title = L"web test";
    return look;
  }
  testwin::Window window_;
};

// The frame's side of the page calls.
class PageCallRecorder : public IPageCallHost {
 public:
  void SetSignedIn(bool on) override {
    signedIn = on;
    ++signInCalls;
  }
  HWND GuidePopupWindow() override { return popup ? popup() : nullptr; }
  void SetPopupClosed() override {
    popupClosed = true;
    // The popup was already asked to close when the flag is set.
    popupClosedAfterClose = closeMessages > 0;
  }

  bool signedIn = false;
  int signInCalls = 0;
  bool popupClosed = false;
  bool popupClosedAfterClose = false;
  int closeMessages = 0;  // counted by the test's popup stand-in
  std::function<HWND()> popup;
};

// The frame's side of the browser views.
class FrameRecorder : public IFrameViewsHost {
 public:
  void SetAddressText(const std::wstring& text) override { addresses.push_back(text); }
  void AddTitle(const std::wstring& title) override { titles.push_back(title); }
  bool SignedIn() const override { return signedIn; }
  bool PopupClosed() const override { return popupClosed; }

  std::vector<std::wstring> addresses;
  std::vector<std::wstring> titles;
  bool signedIn = false;
  bool popupClosed = false;
};

// The addresses a browser is asked to go to, in order, as its before-navigate
// events report them. A second listener beside the view's own; UI thread only.
class NavigationLog : public IDispatch {
 public:
  ~NavigationLog() { Disconnect(); }
  bool Connect(IWebBrowser2* browser) {
    IConnectionPointContainer* container = nullptr;
    if (!browser ||
        FAILED(browser->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))))
      return false;
    container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point_);
    container->Release();
    return point_ && SUCCEEDED(point_->Advise(this, &cookie_));
  }
  void Disconnect() {
    if (point_) {
      point_->Unadvise(cookie_);
      point_->Release();
      point_ = nullptr;
    }
  }
  // True when an address asked for contains `part`.
  bool Asked(const std::wstring& part) const {
    for (const std::wstring& url : urls)
      if (url.find(part) != std::wstring::npos) return true;
    return false;
  }
  std::vector<std::wstring> urls;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != DIID_DWebBrowserEvents2) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = static_cast<IDispatch*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    // (pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel), last first.
    if (id != DISPID_BEFORENAVIGATE2 || !params || params->cArgs != 7) return S_OK;
    const VARIANT* url = &params->rgvarg[5];
    if (V_VT(url) == (VT_VARIANT | VT_BYREF)) url = V_VARIANTREF(url);
    if (url && V_VT(url) == VT_BSTR && V_BSTR(url)) urls.push_back(V_BSTR(url));
    return S_OK;
  }

 private:
  IConnectionPoint* point_ = nullptr;
  DWORD cookie_ = 0;
};

// POPCLOSESTATE as the file holds it ("" when absent).
inline std::string StoredPopCloseState() {
  char value[32] = {};
  GetPrivateProfileStringA(framlet::keys::kPopCloseState.section, framlet::keys::kPopCloseState.key, "", value,
                           sizeof value, framlet::settings::FilePath().c_str());
  return value;
}

inline std::wstring Wide(const std::string& ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

}  // namespace webtest
