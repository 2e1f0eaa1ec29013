// The page-callable object as pages reach it: real JScript calls through the
// Windows Script engine (names, results, property reads, the two popup
// calls and their setting), and the automation contract called directly
// (interfaces, name lookup, type information, reference counting).
#include <gtest/gtest.h>

#include <dispex.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "web/external_dispatch.h"
#include "web/script_runner.h"
#include "web_test_util.h"
#include "win_test_util.h"

using namespace framlet;

namespace {

// Stands in for the guide popup: notes each WM_CLOSE and the setting the file
// held at that moment.
class PopupStandIn {
 public:
  explicit PopupStandIn(webtest::PageCallRecorder& recorder) : window_(Look(recorder, settingAtClose)) {}
  HWND Hwnd() const { return window_.Hwnd(); }
  std::vector<std::string> settingAtClose;

 private:
  static testwin::Look Look(webtest::PageCallRecorder& recorder, std::vector<std::string>& closes) {
    testwin::Look look = testwin::At(0, 0, 10, 10);
    look.exStyle = 0;
    look.layer = testwin::Layer::Normal;
    look.visible = false;
    look.handler = [&recorder, &closes](HWND, UINT message, WPARAM, LPARAM, LRESULT* result) {
      if (message != WM_CLOSE) return false;
      ++recorder.closeMessages;
      closes.push_back(webtest::StoredPopCloseState());
      *result = 0;
      return true;
    };
    return look;
  }
  testwin::Window window_;
};

class ExternalDispatch : public wintest::WinTest {
 protected:
  void SetUp() override {
    recorder_.popup = [this] { return popup_.Hwnd(); };
    external_.SetHost(&recorder_);
  }
  void TearDown() override { external_.SetHost(nullptr); }
  web::ScriptOutcome Run(const wchar_t* code) { return web::RunJScript(code, &external_); }

  webtest::OleScope ole_;
  webtest::PageCallRecorder recorder_;
  PopupStandIn popup_{recorder_};
  CExternalDispatch external_;
};

TEST_F(ExternalDispatch, SignInAndOutThroughPageScripts) {
  struct Case {
    const char* situation;
    bool signedInBefore;
    const wchar_t* script;
    bool runsCleanly;
    bool signedInAfter;
    int calls;
  };
  const Case cases[] = {
      {"sign-in call", false, L"external.FL_Login();", true, true, 1},
      {"arguments ignored, the result is true", false,
       L"var v = external.FL_Login(1, 'a'); if (v !== true) throw new Error('result ' + v);", true, true, 1},
      {"sign-out call", true, L"external.FL_Logout();", true, false, 1},
      {"name in lower case: a script error, nothing changes", false, L"external.fl_login();", false, false, 0},
      {"lower case while signed in: still signed in", true, L"external.fl_logout();", false, true, 0},
      {"reading the method as a property does not call it", false,
       L"var f = external.FL_Login; if (f !== true) throw new Error('read ' + f);", true, false, 0},
      {"an unknown method", false, L"external.FL_Join();", false, false, 0},
  };
  for (const Case& c : cases) {
    recorder_.signedIn = c.signedInBefore;
    recorder_.signInCalls = 0;
    const web::ScriptOutcome outcome = Run(c.script);
    ASSERT_TRUE(outcome.engineReady) << "the JScript engine is part of every Windows and of Wine";
    EXPECT_EQ(outcome.ok, c.runsCleanly) << c.situation;
    EXPECT_EQ(recorder_.signedIn, c.signedInAfter) << c.situation;
    EXPECT_EQ(recorder_.signInCalls, c.calls) << c.situation;
  }
}

TEST_F(ExternalDispatch, PopupCallsWriteTheSettingBeforeClosingThePopup) {
  struct Case {
    const wchar_t* script;
    const char* stored;
    bool closedForThisRun;
  };
  const Case cases[] = {
      {L"external.FL_Popclose();", "TRUE", true},
      {L"external.FL_Popckclose();", "FALSE", false},
  };
  for (const Case& c : cases) {
    DeleteFileA(settings::FilePath().c_str());
    recorder_.popupClosed = false;
    recorder_.closeMessages = 0;
    popup_.settingAtClose.clear();
    ASSERT_TRUE(Run(c.script).ok);
    EXPECT_EQ(webtest::StoredPopCloseState(), c.stored);
    EXPECT_EQ(recorder_.closeMessages, 1);
    EXPECT_EQ(popup_.settingAtClose, std::vector<std::string>{c.stored}) << "written before WM_CLOSE";
    EXPECT_EQ(recorder_.popupClosed, c.closedForThisRun);
    if (c.closedForThisRun) {
      EXPECT_TRUE(recorder_.popupClosedAfterClose);
    }
  }
}

TEST_F(ExternalDispatch, CallsAfterTheFrameHasGoneDoNothing) {
  external_.SetHost(nullptr);
  DeleteFileA(settings::FilePath().c_str());
  for (const wchar_t* script :
       {L"external.FL_Login();", L"external.FL_Logout();", L"external.FL_Popclose();", L"external.FL_Popckclose();"})
    EXPECT_TRUE(Run(script).ok) << "the page still sees the methods";
  EXPECT_EQ(recorder_.signInCalls, 0);
  EXPECT_EQ(recorder_.closeMessages, 0);
  EXPECT_EQ(webtest::StoredPopCloseState(), "") << "no setting written for a frame that is gone";
}

TEST_F(ExternalDispatch, InterfacesTypeInformationAndReferenceCounts) {
  IUnknown* unknown = nullptr;
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(external_.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  ASSERT_EQ(external_.QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
  EXPECT_EQ(static_cast<void*>(unknown), static_cast<void*>(dispatch));

  // Pages see no IDispatchEx: scripts then go by GetIDsOfNames and Invoke.
  void* other = &other;
  EXPECT_EQ(external_.QueryInterface(__uuidof(IDispatchEx), &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(external_.QueryInterface(IID_IConnectionPointContainer, &other), E_NOINTERFACE);

  UINT count = 7;
  EXPECT_EQ(external_.GetTypeInfoCount(&count), E_NOTIMPL);
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(&count);
  EXPECT_EQ(external_.GetTypeInfo(0, 0, &info), E_NOTIMPL);
  EXPECT_EQ(info, nullptr);

  // Two references handed out above; counts go down to zero and the object lives on.
  EXPECT_EQ(external_.AddRef(), 3u);
  EXPECT_EQ(external_.Release(), 2u);
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_EQ(dispatch->Release(), 0u);
  EXPECT_TRUE(Run(L"external.FL_Login();").ok) << "not freed at zero: its owner frees it";
  EXPECT_TRUE(recorder_.signedIn);
}

TEST_F(ExternalDispatch, NameLookup) {
  struct Case {
    const char* situation;
    std::vector<std::wstring> names;
    HRESULT result;
    std::vector<DISPID> ids;
  };
  const std::wstring longName(100000, L'L');
  const Case cases[] = {
      {"the four names", {L"FL_Login", L"FL_Logout", L"FL_Popclose", L"FL_Popckclose"}, S_OK, {1, 2, 3, 4}},
      {"lower case", {L"fl_login"}, DISP_E_UNKNOWNNAME, {DISPID_UNKNOWN}},
      {"upper case", {L"FL_LOGIN"}, DISP_E_UNKNOWNNAME, {DISPID_UNKNOWN}},
      {"one miss among hits: the hits keep their ids",
       {L"FL_Logout", L"FL_Nothing", L"FL_Popclose"},
       DISP_E_UNKNOWNNAME,
       {2, DISPID_UNKNOWN, 3}},
      {"a name longer than any buffer", {longName}, DISP_E_UNKNOWNNAME, {DISPID_UNKNOWN}},
      {"the name followed by more", {L"FL_Login2"}, DISP_E_UNKNOWNNAME, {DISPID_UNKNOWN}},
      {"Korean name", {L"로그인"}, DISP_E_UNKNOWNNAME, {DISPID_UNKNOWN}},
      {"empty name", {L""}, DISP_E_UNKNOWNNAME, {DISPID_UNKNOWN}},
  };
  for (const Case& c : cases) {
    std::vector<LPOLESTR> names;
    for (const std::wstring& name : c.names) names.push_back(const_cast<LPOLESTR>(name.c_str()));
    std::vector<DISPID> ids(names.size(), 99);
    EXPECT_EQ(external_.GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()), 0, ids.data()), c.result)
        << c.situation;
    EXPECT_EQ(ids, c.ids) << c.situation;
  }
}

TEST_F(ExternalDispatch, NameLookupChecksItsPointers) {
  LPOLESTR name = const_cast<LPOLESTR>(L"FL_Login");
  LPOLESTR withNull[] = {name, nullptr};
  DISPID ids[2] = {99, 99};
  EXPECT_EQ(external_.GetIDsOfNames(IID_NULL, nullptr, 1, 0, ids), E_POINTER);
  EXPECT_EQ(external_.GetIDsOfNames(IID_NULL, &name, 1, 0, nullptr), E_POINTER);
  EXPECT_EQ(external_.GetIDsOfNames(IID_NULL, withNull, 2, 0, ids), E_INVALIDARG);
  EXPECT_EQ(ids[0], 1);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
  EXPECT_EQ(external_.GetIDsOfNames(IID_NULL, nullptr, 0, 0, nullptr), S_OK) << "nothing asked";
}

TEST_F(ExternalDispatch, InvokeByIdAndFlags) {
  struct Case {
    const char* situation;
    DISPID id;
    WORD flags;
    bool withResult;
    bool resultTrue;
    int calls;
  };
  const Case cases[] = {
      {"method with a result", 1, DISPATCH_METHOD | DISPATCH_PROPERTYGET, true, true, 1},
      {"method without a result", 1, DISPATCH_METHOD, false, false, 1},
      {"method, result offered but not asked for", 1, DISPATCH_METHOD, true, false, 1},
      {"property read", 1, DISPATCH_PROPERTYGET, true, true, 0},
      {"property read without a place for the result", 1, DISPATCH_PROPERTYGET, false, false, 0},
      {"property write", 1, DISPATCH_PROPERTYPUT, false, false, 0},
      {"id 0", 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, true, false, 0},
      {"id 5", 5, DISPATCH_METHOD | DISPATCH_PROPERTYGET, true, false, 0},
      {"unknown id -1", DISPID_UNKNOWN, DISPATCH_METHOD, true, false, 0},
  };
  for (const Case& c : cases) {
    recorder_.signInCalls = 0;
    VARIANT result;
    VariantInit(&result);
    V_VT(&result) = VT_BSTR;
    V_BSTR(&result) = SysAllocString(L"old");  // cleared (freed) when a result is given
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXPECT_EQ(external_.Invoke(c.id, IID_NULL, 0, c.flags, &none, c.withResult ? &result : nullptr, nullptr, nullptr),
              S_OK)
        << c.situation;
    if (c.resultTrue) {
      EXPECT_EQ(V_VT(&result), VT_BOOL) << c.situation;
      EXPECT_EQ(V_BOOL(&result), 1) << c.situation;
    } else {
      EXPECT_EQ(V_VT(&result), VT_BSTR) << c.situation;
    }
    EXPECT_EQ(recorder_.signInCalls, c.calls) << c.situation;
    VariantClear(&result);
  }
}

}  // namespace
