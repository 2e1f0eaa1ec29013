#include "windows/capture_toolbar_dlg.h"

#include "resource.h"

CCaptureToolbarDlg::CCaptureToolbarDlg(IToolbarHost& host) : CToolbarPanel(IDD_CAPTURE_TOOLBAR, Mode::Normal, host) {}
