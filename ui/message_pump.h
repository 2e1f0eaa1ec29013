#pragma once
#include <windows.h>

namespace framlet::ui {

// Dispatches this thread's messages until `milliseconds` have passed,
// sleeping while there are none, so windows keep painting and answering
// during a wait. `filter`, when given, sees each message first and swallows
// it by returning true. A quit message ends the wait and is put back for the
// loop that owns it.
void PumpMessagesFor(DWORD milliseconds, bool (*filter)(void* context, MSG& msg) = nullptr, void* context = nullptr);

}  // namespace framlet::ui
