#include "windows/web_toolbar_dlg.h"

#include "core/command_ids.h"
#include "resource.h"

namespace tb = framlet::toolbar;

CWebToolbarDlg::CWebToolbarDlg(IToolbarHost& host) : CToolbarPanel(IDD_WEB_TOOLBAR, Mode::Web, host) {}

BOOL CWebToolbarDlg::OnInitDialog() {
  const BOOL result = CToolbarPanel::OnInitDialog();
  // The second arrow button is never used.
  if (HWND second = Item(IDC_TB_ARROW2)) ShowWindow(second, SW_HIDE);
  return result;
}

void CWebToolbarDlg::RunButton(Slot slot) {
  if (slot == tb::kFullScreen) host_.RefreshTabStrip();
  CToolbarPanel::RunButton(slot);
}

void CWebToolbarDlg::AfterLayout() {
  for (Slot slot : {tb::kOpenFolder, tb::kSnap, tb::kPrint}) buttons_[slot].Redraw();
}
