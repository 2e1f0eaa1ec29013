// framletup: checks for a newer program or module set, offers components,
// installs them and starts the capture program again with "-s".
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "ui/key_chain.h"
#include "updater/fetch.h"
#include "updater/update_dlg.h"
#include "updater/update_rules.h"
#include "updater/update_system.h"
#include "web/browser_engine.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace framlet::update;
  const LaunchMode mode = LaunchModeFromArguments(ArgumentsOf(GetCommandLineA()));
  if (mode == LaunchMode::U) return 0;

  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const HRESULT ole = OleInitialize(nullptr);
  framlet::web::PrepareBrowserEngine();  // before the terms pane's view

  const UpdatePaths paths = PathsOfThisProgram();
  UpdateHosts hosts = ReadHosts(paths.program);
  InternetFetcher fetcher(hosts.stallMs);
  {
    CUpdateDlg dialog(mode, paths, std::move(hosts), fetcher);
    if (dialog.Create(nullptr)) {
      if (dialog.RunStartUp()) {
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
          // The key chain gives the terms pane's page its keys, then the dialog its own.
          if (!framlet::ui::PreTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
          }
        }
      }
    } else if (mode == LaunchMode::Normal) {
      StartCaptureProgram(paths.program);
    }
  }
  if (SUCCEEDED(ole)) OleUninitialize();
  return 0;
}
