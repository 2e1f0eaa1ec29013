#pragma once
#include <windows.h>

namespace framlet::ui {

// Dispatches this thread's messages until `milliseconds` have passed,
// sleeping while there are none, so windows keep painting and answering
// during a wait. Each message takes the key chain's path first (key_chain.h),
// as in the program's own loop. A quit message ends the wait and is put back
// for the loop that owns it.
void PumpMessagesFor(DWORD milliseconds);

}  // namespace framlet::ui
