#pragma once
#include <windows.h>
#include <exdisp.h>
#include <ole2.h>

#include <memory>
#include <string>

#include "ui/com_ptr.h"
#include "ui/key_chain.h"
#include "ui/window_base.h"

class CWebPage;
class CCustomControlSite;

// What a browser view reports. Whoever creates a view listens to it (the
// capture frame for all of its views and the guide popup's).
class IWebPageListener {
 public:
  // A navigation completed; `lowerUrl` is the view's current address, lower-cased.
  virtual void OnNavigateComplete(CWebPage& view, const std::wstring& lowerUrl) = 0;
  // The view is about to navigate to `url`; set `cancel` to stop it.
  virtual void OnBeforeNavigate(CWebPage& view, const std::wstring& url, bool& cancel) = 0;
  virtual void OnTitleChange(CWebPage& view, const std::wstring& title) = 0;
  // A page asks for a new window. Leaving `newWindow` empty keeps the
  // browser's default (a separate browser window); a browser's automation
  // object put there (with a reference the browser takes over) receives the page.
  virtual void OnNewWindow(CWebPage& view, IDispatch** newWindow) = 0;
  // A document finished loading; `lowerUrl` is the event's own address, lower-cased.
  virtual void OnDocumentComplete(CWebPage& view, const std::wstring& lowerUrl) = 0;

 protected:
  ~IWebPageListener() = default;
};

// A browser view: a child window whose whole client area is one WebBrowser
// control, hosted through the program's control site. Pages reach the
// page-callable object given at creation as their `external` object.
class CWebPage final : public CWindowBase {
 public:
  // Window class of every view.
  static constexpr wchar_t kClassName[] = L"FramletWebPage";
  // Control id of the browser control inside the view.
  static constexpr int kBrowserControlId = 0xE900;

  // Makes a view at `rect` (parent's client coordinates) with control id `id`,
  // hidden and borderless; nullptr when the browser control cannot be made.
  // `listener` may be nullptr (events are then dropped).
  static std::unique_ptr<CWebPage> Create(HWND parent, const RECT& rect, int id, IDispatch* external,
                                          IWebPageListener* listener);
  ~CWebPage() override;

  int ControlId() const;
  IWebBrowser2* Browser() const { return browser_.Get(); }
  // The object the browser delivers its events to (DWebBrowserEvents2).
  IDispatch* EventSink() const;

  void Navigate(const std::wstring& url);
  // An address in the system code page.
  void Navigate(const std::string& url);
  void GoBack();
  void GoForward();
  void Refresh();
  // The browser's current address, as it reports it.
  std::wstring LocationUrl() const;
  // A new reference to the browser's automation object, or nullptr.
  IDispatch* Application() const;

  void Show(bool visible);
  void Move(int x, int y, int width, int height, bool repaint);

  // Keyboard pre-translation for a message bound for this view, its place in
  // the key chain (after the frame's tables, before the frame's Enter and
  // Escape rules): Enter and Escape become characters at once (forms need
  // them), then the page's accelerators (Tab, Delete, clipboard keys) get
  // their turn. True when the page consumed the message.
  bool PreTranslate(MSG& msg);

  // The view that holds `window` (the view or any window inside it), or nullptr.
  static CWebPage* FromWindow(HWND window);

  // Makes views host another control class (tests: one that cannot be made);
  // nullptr restores the WebBrowser control.
  static void SetControlClassForTesting(const CLSID* control);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  class Events;
  friend class Events;

  explicit CWebPage(IWebPageListener* listener) : listener_(listener) {}
  bool CreateBrowser(IDispatch* external);
  void ConnectEvents();
  void Teardown();
  void OnSize();

  IWebPageListener* listener_;
  CCustomControlSite* site_ = nullptr;
  framlet::ui::ComPtr<IOleObject> control_;
  framlet::ui::ComPtr<IWebBrowser2> browser_;
  framlet::ui::ComPtr<IOleInPlaceActiveObject> activeObject_;
  Events* sink_ = nullptr;
  DWORD sinkCookie_ = 0;
  framlet::ui::KeyFilter keys_;
};
