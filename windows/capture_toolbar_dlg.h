#pragma once
#include "windows/toolbar_panel.h"

// The normal-mode toolbar panel (dialog 157): every button runs its command,
// and the panel's own keys run the capture commands.
class CCaptureToolbarDlg : public CToolbarPanel {
 public:
  explicit CCaptureToolbarDlg(IToolbarHost& host);

 protected:
  // A scroll capture goes on after its button returns; the frame releases the tips.
  bool KeepsTipsSuppressed(Slot slot) const override { return slot == framlet::toolbar::kScroll; }
};
