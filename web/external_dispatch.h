#pragma once
#include <windows.h>
#include <oaidl.h>

// What the page calls change in the program. The capture frame answers while
// it is open; the page-callable object talks to nothing else.
class IPageCallHost {
 public:
  // The member's sign-in state (FL_Login, FL_Logout).
  virtual void SetSignedIn(bool signedIn) = 0;
  // The guide popup window while it is open, else nullptr.
  virtual HWND GuidePopupWindow() = 0;
  // The guide popup was closed by its page for the rest of this run.
  virtual void SetPopupClosed() = 0;

 protected:
  ~IPageCallHost() = default;
};

// The page-callable object: what scripts on hosted pages reach as their
// `external` object. Four methods, found by their exact names:
//
//   FL_Login     (1)  signed in
//   FL_Logout    (2)  signed out
//   FL_Popclose  (3)  POPCLOSESTATE = "TRUE", close the guide popup, closed for this run
//   FL_Popckclose(4)  POPCLOSESTATE = "FALSE", close the guide popup (never shown again)
//
// Arguments are ignored; a caller that asks for a result gets VT_BOOL 1. One
// object per process, owned by the application object: reference counting
// never frees it, its owner deletes it at exit.
class CExternalDispatch final : public IDispatch {
 public:
  enum : DISPID { kLoginId = 1, kLogoutId = 2, kPopcloseId = 3, kPopckcloseId = 4 };

  CExternalDispatch() = default;
  CExternalDispatch(const CExternalDispatch&) = delete;
  CExternalDispatch& operator=(const CExternalDispatch&) = delete;
  ~CExternalDispatch() = default;

  // The frame names itself when it opens and clears it (nullptr) when it
  // closes; a page call without a host does nothing.
  void SetHost(IPageCallHost* host) { host_ = host; }

  // IUnknown: IUnknown and IDispatch only.
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch: no type information.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  // Names are compared case-sensitively after conversion to the system code
  // page; a name not found gets DISPID_UNKNOWN and the call DISP_E_UNKNOWNNAME.
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

 private:
  void RunAction(DISPID id);
  void ClosePopup(bool showAgain);

  IPageCallHost* host_ = nullptr;
  LONG refCount_ = 0;
};
