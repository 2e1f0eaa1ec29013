#pragma once
// Shared pieces of the hosted-page tests: OLE for one test, condition waits
// that keep messages flowing, host windows, and recorders standing in for the
// capture frame behind the page calls and the browser views.
#include <windows.h>
#include <ole2.h>

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
