#pragma once
// What the test build's hook (web/test_hook.cpp, linked only into the test
// build) does with a hook message (web/test_hook_message.h). Nothing in the
// shipped program calls these.
#include <windows.h>

#include <string>

#include "web/test_hook_message.h"
#include "web/web_page.h"

namespace framlet::web {

// The browser view `place:<id>` of this thread: "frame" looks in top-level
// windows without an owner (the capture frame), "popup" in owned ones (the
// guide popup). nullptr when there is none.
CWebPage* FindHookView(ViewPlace place, int controlId);

// A new reference to the external object a page in `view` reaches, asked of
// the view's control site the way the browser asks it; nullptr when none.
IDispatch* PageExternalOf(CWebPage& view);

// Hands one event to the view's event sink, its arguments packed as the
// browser packs them. After a new-window event whose handler handed out a
// browser, that browser is sent to `argument`, as the browser loads the new
// window's page there.
void DeliverBrowserEvent(CWebPage& view, BrowserEvent event, const std::wstring& argument);

// Runs a hook message now and answers it: a script runs with the external
// object of the frame's primary view (or of any view when it has none); an
// event is delivered to its view.
HookAnswer RunHookMessage(const COPYDATASTRUCT& data);

// The message's text (UTF-16); false when the data is malformed.
bool HookMessageText(const COPYDATASTRUCT& data, std::wstring& text);

}  // namespace framlet::web
