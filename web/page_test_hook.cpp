#include "web/page_test_hook.h"

#include <exdispid.h>
#include <mshtmhst.h>
#include <oleauto.h>

#include <vector>

#include "core/command_ids.h"
#include "ui/com_ptr.h"
#include "web/script_runner.h"

using framlet::ui::ComPtr;

namespace framlet::web {
namespace {

struct ViewSearch {
  ViewPlace place;
  int controlId;
  CWebPage* found = nullptr;
};

BOOL CALLBACK MatchView(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<ViewSearch*>(param);
  wchar_t name[32] = {};
  if (GetDlgCtrlID(window) == search.controlId && GetClassNameW(window, name, 32) &&
      lstrcmpW(name, CWebPage::kClassName) == 0)
    search.found = CWebPage::FromWindow(window);
  return search.found ? FALSE : TRUE;
}

BOOL CALLBACK SearchTopLevel(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<ViewSearch*>(param);
  const bool owned = GetWindow(window, GW_OWNER) != nullptr;
  if (owned == (search.place == ViewPlace::Popup)) EnumChildWindows(window, MatchView, param);
  return search.found ? FALSE : TRUE;
}

// VARIANT arguments owned for one Invoke call.
class EventArguments {
 public:
  explicit EventArguments(size_t count) : args_(count), values_(count) {
    for (VARIANT& v : args_) VariantInit(&v);
    for (VARIANT& v : values_) VariantInit(&v);
  }
  ~EventArguments() {
    for (VARIANT& v : values_) VariantClear(&v);
  }
  EventArguments(const EventArguments&) = delete;
  EventArguments& operator=(const EventArguments&) = delete;

  // Argument i of the event's declaration (the browser packs them last first).
  VARIANT& At(size_t i) { return args_[args_.size() - 1 - i]; }
  // Argument i as a VARIANT passed by reference, holding `value` (adopted).
  void ByRef(size_t i, const VARIANT& value) {
    values_[i] = value;
    V_VT(&At(i)) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&At(i)) = &values_[i];
  }
  void ByRefText(size_t i, const std::wstring& text) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    ByRef(i, v);
  }
  DISPPARAMS Params() { return {args_.data(), nullptr, static_cast<UINT>(args_.size()), 0}; }

 private:
  std::vector<VARIANT> args_;
  std::vector<VARIANT> values_;
};

void Invoke(CWebPage& view, DISPID id, EventArguments& args) {
  IDispatch* sink = view.EventSink();
  if (!sink) return;
  DISPPARAMS params = args.Params();
  sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

}  // namespace

CWebPage* FindHookView(ViewPlace place, int controlId) {
  ViewSearch search{place, controlId};
  EnumThreadWindows(GetCurrentThreadId(), SearchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

IDispatch* PageExternalOf(CWebPage& view) {
  IWebBrowser2* browser = view.Browser();
  if (!browser) return nullptr;
  ComPtr<IOleObject> control;
  ComPtr<IOleClientSite> site;
  ComPtr<IDocHostUIHandler> handler;
  IDispatch* external = nullptr;
  if (FAILED(browser->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(control.Put()))) ||
      FAILED(control->GetClientSite(site.Put())) || !site ||
      FAILED(site->QueryInterface(__uuidof(IDocHostUIHandler), reinterpret_cast<void**>(handler.Put()))) ||
      FAILED(handler->GetExternal(&external)))
    return nullptr;
  return external;
}

void DeliverBrowserEvent(CWebPage& view, BrowserEvent event, const std::wstring& argument) {
  IDispatch* self = nullptr;
  if (view.Browser()) view.Browser()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&self));
  auto pDisp = [&](EventArguments& args) {
    VARIANT& v = args.At(0);
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = self;
  };
  switch (event) {
    case BrowserEvent::NavigateComplete2:
    case BrowserEvent::DocumentComplete: {  // (pDisp, URL)
      EventArguments args(2);
      pDisp(args);
      args.ByRefText(1, argument);
      Invoke(view, event == BrowserEvent::DocumentComplete ? DISPID_DOCUMENTCOMPLETE : DISPID_NAVIGATECOMPLETE2, args);
      break;
    }
    case BrowserEvent::BeforeNavigate2: {  // (pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
      EventArguments args(7);
      pDisp(args);
      args.ByRefText(1, argument);
      VARIANT flags;
      VariantInit(&flags);
      V_VT(&flags) = VT_I4;
      V_I4(&flags) = 0;
      args.ByRef(2, flags);
      args.ByRefText(3, L"");
      VARIANT postData;
      VariantInit(&postData);
      args.ByRef(4, postData);
      args.ByRefText(5, L"");
      VARIANT_BOOL cancel = VARIANT_FALSE;
      V_VT(&args.At(6)) = VT_BOOL | VT_BYREF;
      V_BOOLREF(&args.At(6)) = &cancel;
      Invoke(view, DISPID_BEFORENAVIGATE2, args);
      break;
    }
    case BrowserEvent::TitleChange: {  // (Text)
      EventArguments args(1);
      V_VT(&args.At(0)) = VT_BSTR;
      BSTR title = SysAllocStringLen(argument.data(), static_cast<UINT>(argument.size()));
      V_BSTR(&args.At(0)) = title;
      Invoke(view, DISPID_TITLECHANGE, args);
      SysFreeString(title);
      break;
    }
    case BrowserEvent::NewWindow2: {  // (ppDisp, Cancel)
      EventArguments args(2);
      IDispatch* newWindow = nullptr;
      VARIANT_BOOL cancel = VARIANT_FALSE;
      V_VT(&args.At(0)) = VT_DISPATCH | VT_BYREF;
      V_DISPATCHREF(&args.At(0)) = &newWindow;
      V_VT(&args.At(1)) = VT_BOOL | VT_BYREF;
      V_BOOLREF(&args.At(1)) = &cancel;
      Invoke(view, DISPID_NEWWINDOW2, args);
      if (newWindow) {
        ComPtr<IWebBrowser2> target;
        if (!cancel && SUCCEEDED(newWindow->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(target.Put())))) {
          BSTR url = SysAllocStringLen(argument.data(), static_cast<UINT>(argument.size()));
          VARIANT empty;
          VariantInit(&empty);
          target->Navigate(url, &empty, &empty, &empty, &empty);
          SysFreeString(url);
        }
        newWindow->Release();
      }
      break;
    }
  }
  if (self) self->Release();
}

bool HookMessageText(const COPYDATASTRUCT& data, std::wstring& text) {
  if (data.cbData % sizeof(wchar_t) != 0 || (data.cbData > 0 && !data.lpData)) return false;
  text.assign(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
  return true;
}

HookAnswer RunHookMessage(const COPYDATASTRUCT& data) {
  std::wstring text;
  if (!HookMessageText(data, text)) return kHookBadMessage;
  if (data.dwData == kHookScript) {
    CWebPage* view = FindHookView(ViewPlace::Frame, IDC_WEB_VIEW);
    if (!view) view = FindHookView(ViewPlace::Frame, IDC_WEB_SECOND_VIEW);
    if (!view) view = FindHookView(ViewPlace::Popup, IDC_WEB_VIEW);
    if (!view) return kHookNoExternal;
    ComPtr<IDispatch> external(PageExternalOf(*view));
    if (!external) return kHookNoExternal;
    const ScriptOutcome outcome = RunJScript(text, external.Get());
    return outcome.ok ? kHookDone : kHookScriptError;
  }
  if (data.dwData == kHookEvent) {
    const std::optional<HookEvent> event =
        ParseHookEvent(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
    if (!event) return kHookBadMessage;
    CWebPage* view = FindHookView(event->place, event->controlId);
    if (!view) return kHookNoView;
    DeliverBrowserEvent(*view, event->event,
                        std::wstring(reinterpret_cast<const wchar_t*>(event->argument.data()), event->argument.size()));
    return kHookDone;
  }
  return kHookNotMine;
}

}  // namespace framlet::web
