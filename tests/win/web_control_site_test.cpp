// The control site the browser is hosted in: one object behind every
// interface (shared reference count and identity), and its answers to the
// browser's host questions.
#include <gtest/gtest.h>

#include <mshtmhst.h>

#include "web/custom_control_site.h"
#include "web/external_dispatch.h"
#include "web_test_util.h"
#include "win_test_util.h"

namespace {

// Command groups the browser sends (mshtmhst.h declares them, no library defines them).
constexpr GUID kDocHostCommandHandler = {0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};
constexpr GUID kMshtmlCommands = {0xde4ba900, 0x59ca, 0x11cf, {0x95, 0x92, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

class ControlSite : public wintest::WinTest {
 protected:
  void SetUp() override { site_ = CCustomControlSite::Create(window_.Hwnd(), &external_); }
  void TearDown() override {
    if (site_) site_->Release();
  }
  template <typename T>
  T* Query(REFIID iid) {
    T* out = nullptr;
    EXPECT_EQ(static_cast<IOleClientSite*>(site_)->QueryInterface(iid, reinterpret_cast<void**>(&out)), S_OK);
    return out;
  }

  webtest::HostWindow window_{100, 100, 400, 300};
  CExternalDispatch external_;
  CCustomControlSite* site_ = nullptr;
};

TEST_F(ControlSite, EveryInterfaceIsOneObject) {
  struct Interface {
    const char* name;
    IID iid;
  };
  const Interface interfaces[] = {
      {"IOleClientSite", IID_IOleClientSite},       {"IOleWindow", IID_IOleWindow},
      {"IOleInPlaceSite", IID_IOleInPlaceSite},     {"IOleInPlaceUIWindow", IID_IOleInPlaceUIWindow},
      {"IOleInPlaceFrame", IID_IOleInPlaceFrame},   {"IDocHostUIHandler", __uuidof(IDocHostUIHandler)},
      {"IDocHostShowUI", __uuidof(IDocHostShowUI)}, {"IOleCommandTarget", IID_IOleCommandTarget},
  };
  IUnknown* identity = Query<IUnknown>(IID_IUnknown);
  for (const Interface& from : interfaces) {
    IUnknown* part = Query<IUnknown>(from.iid);
    ASSERT_NE(part, nullptr) << from.name;
    // Each part reaches each other part and the one identity.
    for (const Interface& to : interfaces) {
      IUnknown* other = nullptr;
      EXPECT_EQ(part->QueryInterface(to.iid, reinterpret_cast<void**>(&other)), S_OK) << from.name << " -> " << to.name;
      if (other) other->Release();
    }
    IUnknown* back = nullptr;
    ASSERT_EQ(part->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&back)), S_OK);
    EXPECT_EQ(back, identity) << from.name;
    back->Release();
    part->Release();
  }
  void* none = &none;
  EXPECT_EQ(identity->QueryInterface(IID_IDispatch, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  identity->Release();
}

TEST_F(ControlSite, OneReferenceCountAcrossInterfaces) {
  // Created with one reference (the fixture's).
  IDocHostShowUI* showUi = Query<IDocHostShowUI>(__uuidof(IDocHostShowUI));            // 2
  IDocHostUIHandler* handler = Query<IDocHostUIHandler>(__uuidof(IDocHostUIHandler));  // 3
  EXPECT_EQ(showUi->AddRef(), 4u);
  EXPECT_EQ(handler->Release(), 3u);
  EXPECT_EQ(static_cast<IOleClientSite*>(site_)->Release(), 2u);
  EXPECT_EQ(handler->Release(), 1u);
  // The last reference, through another interface, frees the object and its hold on the external object.
  EXPECT_EQ(external_.AddRef(), 2u) << "the site holds the external object once";
  external_.Release();
  EXPECT_EQ(showUi->Release(), 0u);
  site_ = nullptr;
  EXPECT_EQ(external_.AddRef(), 1u) << "freed with the site";
  external_.Release();
}

TEST_F(ControlSite, HostAnswers) {
  IDocHostUIHandler* handler = Query<IDocHostUIHandler>(__uuidof(IDocHostUIHandler));
  IDocHostShowUI* showUi = Query<IDocHostShowUI>(__uuidof(IDocHostShowUI));

  DOCHOSTUIINFO info = {};
  info.cbSize = sizeof info;
  info.dwFlags = 0xFFFF0000;
  info.dwDoubleClick = 7;
  EXPECT_EQ(handler->GetHostInfo(&info), S_OK);
  EXPECT_EQ(info.dwFlags, static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER));
  EXPECT_EQ(info.dwFlags, 4u);
  EXPECT_EQ(info.dwDoubleClick, static_cast<DWORD>(DOCHOSTUIDBLCLK_DEFAULT));
  EXPECT_EQ(handler->GetHostInfo(nullptr), E_POINTER);

  POINT at = {10, 10};
  MSG msg = {};
  struct Answer {
    const char* method;
    HRESULT got;
    HRESULT expected;
  };
  LPOLESTR key = nullptr;
  IDropTarget* drop = nullptr;
  LPWSTR url = nullptr;
  IDataObject* data = nullptr;
  RECT border = {};
  LRESULT messageResult = 0;
  const Answer answers[] = {
      {"ShowContextMenu: the browser's own menu", handler->ShowContextMenu(0, &at, nullptr, nullptr), S_FALSE},
      {"ShowUI: the host claims the UI", handler->ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_OK},
      {"HideUI", handler->HideUI(), S_OK},
      {"UpdateUI", handler->UpdateUI(), S_OK},
      {"TranslateAccelerator: the browser handles its keys", handler->TranslateAccelerator(&msg, nullptr, 0), S_FALSE},
      {"EnableModeless", handler->EnableModeless(TRUE), E_NOTIMPL},
      {"OnDocWindowActivate", handler->OnDocWindowActivate(TRUE), E_NOTIMPL},
      {"OnFrameWindowActivate", handler->OnFrameWindowActivate(TRUE), E_NOTIMPL},
      {"ResizeBorder", handler->ResizeBorder(&border, nullptr, TRUE), E_NOTIMPL},
      {"GetOptionKeyPath", handler->GetOptionKeyPath(&key, 0), E_NOTIMPL},
      {"GetDropTarget", handler->GetDropTarget(nullptr, &drop), E_NOTIMPL},
      {"TranslateUrl", handler->TranslateUrl(0, const_cast<LPWSTR>(L"http://a/"), &url), E_NOTIMPL},
      {"FilterDataObject", handler->FilterDataObject(nullptr, &data), E_NOTIMPL},
      {"ShowMessage: the browser's own message box",
       showUi->ShowMessage(window_.Hwnd(), const_cast<LPOLESTR>(L"text"), const_cast<LPOLESTR>(L"caption"), MB_OK,
                           nullptr, 0, &messageResult),
       E_NOTIMPL},
      {"ShowHelp: swallowed", showUi->ShowHelp(window_.Hwnd(), nullptr, 0, 0, at, nullptr), S_OK},
  };
  for (const Answer& a : answers) EXPECT_EQ(a.got, a.expected) << a.method;
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(drop, nullptr);
  EXPECT_EQ(url, nullptr);
  EXPECT_EQ(data, nullptr);

  // The page-callable object, with one reference for the caller.
  IDispatch* external = nullptr;
  const ULONG before = external_.AddRef() - 1;
  external_.Release();
  EXPECT_EQ(handler->GetExternal(&external), S_OK);
  EXPECT_EQ(external, static_cast<IDispatch*>(&external_));
  EXPECT_EQ(external_.AddRef(), before + 2) << "one reference added for the page";
  external_.Release();
  external->Release();
  EXPECT_EQ(handler->GetExternal(nullptr), E_POINTER);

  showUi->Release();
  handler->Release();
}

TEST_F(ControlSite, ScriptErrorsAreHandledAndThePageKeepsRunningItsScripts) {
  IOleCommandTarget* target = Query<IOleCommandTarget>(IID_IOleCommandTarget);
  ASSERT_NE(target, nullptr) << "the browser asks the site for its command target";
  VARIANT in;
  VariantInit(&in);
  VARIANT out;
  VariantInit(&out);
  EXPECT_EQ(target->Exec(&kDocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out), S_OK) << "no error box";
  EXPECT_EQ(V_VT(&out), VT_BOOL);
  EXPECT_EQ(V_BOOL(&out), VARIANT_TRUE) << "scripts keep running";
  EXPECT_EQ(target->Exec(&kDocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, &in, nullptr), S_OK);

  // Every other command stays the browser's own.
  VariantClear(&out);
  EXPECT_EQ(target->Exec(&kDocHostCommandHandler, OLECMDID_SHOWMESSAGE, 0, &in, &out), OLECMDERR_E_NOTSUPPORTED);
  EXPECT_EQ(target->Exec(nullptr, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out), OLECMDERR_E_UNKNOWNGROUP);
  EXPECT_EQ(target->Exec(&kMshtmlCommands, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out), OLECMDERR_E_UNKNOWNGROUP);
  EXPECT_EQ(V_VT(&out), VT_EMPTY);
  target->Release();
}

TEST_F(ControlSite, PlacesTheControlOverTheContainer) {
  IOleInPlaceSite* inPlace = Query<IOleInPlaceSite>(IID_IOleInPlaceSite);
  HWND window = nullptr;
  EXPECT_EQ(inPlace->GetWindow(&window), S_OK);
  EXPECT_EQ(window, window_.Hwnd());
  EXPECT_EQ(inPlace->CanInPlaceActivate(), S_OK);

  IOleInPlaceFrame* frame = nullptr;
  IOleInPlaceUIWindow* document = nullptr;
  RECT position = {}, clip = {};
  OLEINPLACEFRAMEINFO frameInfo = {};
  frameInfo.cb = sizeof frameInfo;
  ASSERT_EQ(inPlace->GetWindowContext(&frame, &document, &position, &clip, &frameInfo), S_OK);
  EXPECT_NE(frame, nullptr);
  EXPECT_EQ(document, nullptr);
  EXPECT_EQ(position.right - position.left, 400);
  EXPECT_EQ(position.bottom - position.top, 300);
  EXPECT_EQ(frameInfo.hwndFrame, window_.Hwnd());
  EXPECT_EQ(frameInfo.cAccelEntries, 0u);
  frame->Release();

  // A closing view detaches the site; late questions get no window.
  site_->Detach();
  EXPECT_EQ(inPlace->GetWindow(&window), E_FAIL);
  EXPECT_EQ(window, nullptr);
  IDocHostUIHandler* handler = Query<IDocHostUIHandler>(__uuidof(IDocHostUIHandler));
  IDispatch* external = reinterpret_cast<IDispatch*>(&window);
  EXPECT_EQ(handler->GetExternal(&external), E_NOTIMPL);
  EXPECT_EQ(external, nullptr);
  handler->Release();
  inPlace->Release();
}

}  // namespace
