#include "app/capture_app.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>

#include "app/capture_frame_dlg.h"
#include "app/command_line.h"
#include "core/module_dir.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "web/browser_engine.h"
#include "web/external_dispatch.h"

namespace {
CCaptureApp* g_app = nullptr;
constexpr char kMutexName[] = "Framlet";
constexpr char kFrameTitle[] = "Framlet5";
constexpr char kUpdaterFile[] = "framletup.exe";
}  // namespace

CCaptureApp* TheApp() {
  return g_app;
}

CCaptureApp::CCaptureApp() {
  g_app = this;
}

CCaptureApp::~CCaptureApp() {
  g_app = nullptr;
}

bool CCaptureApp::InitInstance() {
  // Every browser view hosts its control through the program's own control site
  // (web/custom_control_site.h); what the pages call is made here, once.
  external_ = &ole_.Keep(std::make_shared<CExternalDispatch>());

  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);

  if (!framlet::IsFrameStart(GetCommandLineA())) {
    StartUpdater();
    return false;
  }
  if (AnotherCopyRuns()) return false;

  framlet::web::PrepareBrowserEngine();
  CCaptureFrameDlg frame(external_);
  mainWindow_ = &frame;
  frame.RunModal();
  mainWindow_ = nullptr;
  return false;
}

void CCaptureApp::StartUpdater() {
  const std::string updater = framlet::GetModuleDir() + kUpdaterFile;
  ShellExecuteA(nullptr, "open", updater.c_str(), nullptr, nullptr, SW_SHOW);
}

bool CCaptureApp::AnotherCopyRuns() {
  instanceMutex_.Reset(CreateMutexA(nullptr, TRUE, kMutexName));
  const DWORD error = GetLastError();
  if (instanceMutex_) ReleaseMutex(instanceMutex_);
  if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) return false;

  if (HWND running = FindWindowA(nullptr, kFrameTitle)) {
    ShowWindow(running, SW_SHOWNORMAL);
    HWND popup = GetLastActivePopup(running);
    BringWindowToTop(popup ? popup : running);
  }
  return true;
}

void CCaptureApp::Exit(const std::string& addressText) {
  char tempCapture[MAX_PATH * 2];
  std::snprintf(tempCapture, sizeof tempCapture, "%s%s%s", framlet::GetModuleDir().c_str(), "\\temp\\",
                "captureimg.bmp");
  DeleteFileA(tempCapture);
  framlet::settings::WriteText(framlet::keys::kLastUrlRemember, addressText);
  PostQuitMessage(0);
}
