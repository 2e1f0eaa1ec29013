#include "web/script_runner.h"

#include <activscp.h>

#include "ui/com_ptr.h"

using framlet::ui::ComPtr;

namespace framlet::web {
namespace {

// {f414c260-6ac0-11cf-b6d1-00aa00bbbb58}
constexpr CLSID kJScriptClass = {0xf414c260, 0x6ac0, 0x11cf, {0xb6, 0xd1, 0x00, 0xaa, 0x00, 0xbb, 0xbb, 0x58}};
constexpr wchar_t kExternalName[] = L"external";

// The engine's host: names one item, `external`, and keeps the first error.
class ScriptSite final : public IActiveScriptSite {
 public:
  explicit ScriptSite(IDispatch* external) : external_(external) {
    if (external_) external_->AddRef();
  }
  ~ScriptSite() {
    if (external_) external_->Release();
  }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(IActiveScriptSite))) {
      *object = static_cast<IActiveScriptSite*>(this);
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

  STDMETHODIMP GetLCID(LCID* locale) override {
    if (!locale) return E_POINTER;
    *locale = LOCALE_USER_DEFAULT;
    return S_OK;
  }
  STDMETHODIMP GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) override {
    if (info) *info = nullptr;
    if (item) *item = nullptr;
    if (!name || lstrcmpW(name, kExternalName) != 0 || !external_) return TYPE_E_ELEMENTNOTFOUND;
    if (mask & SCRIPTINFO_IUNKNOWN) {
      if (!item) return E_POINTER;
      *item = external_;
      external_->AddRef();
    }
    return S_OK;
  }
  STDMETHODIMP GetDocVersionString(BSTR* version) override {
    if (version) *version = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
  STDMETHODIMP OnStateChange(SCRIPTSTATE) override { return S_OK; }
  STDMETHODIMP OnScriptError(IActiveScriptError* scriptError) override {
    if (failed_) return S_OK;
    failed_ = true;
    EXCEPINFO info = {};
    if (scriptError && SUCCEEDED(scriptError->GetExceptionInfo(&info))) {
      if (info.bstrDescription) error_.assign(info.bstrDescription, SysStringLen(info.bstrDescription));
      SysFreeString(info.bstrSource);
      SysFreeString(info.bstrDescription);
      SysFreeString(info.bstrHelpFile);
    }
    if (error_.empty()) error_ = L"script error";
    return S_OK;
  }
  STDMETHODIMP OnEnterScript() override { return S_OK; }
  STDMETHODIMP OnLeaveScript() override { return S_OK; }

  bool Failed() const { return failed_; }
  const std::wstring& Error() const { return error_; }

 private:
  LONG refCount_ = 1;
  IDispatch* external_;
  bool failed_ = false;
  std::wstring error_;
};

}  // namespace

ScriptOutcome RunJScript(const std::wstring& code, IDispatch* external) {
  ScriptOutcome outcome;
  ComPtr<ScriptSite> site(new ScriptSite(external));
  ComPtr<IActiveScript> engine;
  if (FAILED(CoCreateInstance(kJScriptClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IActiveScript),
                              reinterpret_cast<void**>(engine.Put()))))
    return outcome;
  ComPtr<IActiveScriptParse> parser;
  if (FAILED(engine->QueryInterface(__uuidof(IActiveScriptParse), reinterpret_cast<void**>(parser.Put()))) ||
      FAILED(engine->SetScriptSite(site.Get())) || FAILED(parser->InitNew()) ||
      FAILED(engine->AddNamedItem(kExternalName, SCRIPTITEM_ISVISIBLE)) ||
      FAILED(engine->SetScriptState(SCRIPTSTATE_CONNECTED))) {
    engine->Close();
    return outcome;
  }
  outcome.engineReady = true;
  EXCEPINFO exception = {};
  const HRESULT parsed = parser->ParseScriptText(code.c_str(), nullptr, nullptr, nullptr, 0, 0, 0, nullptr, &exception);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  engine->Close();
  outcome.ok = SUCCEEDED(parsed) && !site->Failed();
  outcome.error = site->Error();
  if (!outcome.ok && outcome.error.empty()) outcome.error = L"script error";
  return outcome;
}

}  // namespace framlet::web
