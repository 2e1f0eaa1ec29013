#include "ui/message_pump.h"

#include "ui/key_chain.h"

namespace framlet::ui {

void PumpMessagesFor(DWORD milliseconds) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      if (PreTranslateMessage(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const ULONGLONG elapsed = GetTickCount64() - start;
    if (elapsed >= milliseconds) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(milliseconds - elapsed), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

}  // namespace framlet::ui
