#pragma once
#include "windows/toolbar_panel.h"

// The web-mode toolbar panel (dialog 156): scroll capture, window pick and
// snap are greyed and do nothing; the full-screen button captures the whole
// web page.
class CWebToolbarDlg : public CToolbarPanel {
 public:
  explicit CWebToolbarDlg(IToolbarHost& host);

 protected:
  BOOL OnInitDialog() override;
  void RunButton(Slot slot) override;
  void AfterLayout() override;
};
