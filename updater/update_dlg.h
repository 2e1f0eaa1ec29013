#pragma once
// The update window: hidden while the start-up checks run, then a three-page
// wizard (component selection, install with progress and log, completion).
// The install pass runs on one worker thread that talks to the window only
// through posted messages.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "ui/gdi.h"
#include "ui/window_base.h"
#include "updater/check_tree.h"
#include "updater/fetch.h"
#include "updater/update_layout.h"
#include "updater/update_rules.h"
#include "updater/update_system.h"

class CWebPage;

namespace framlet::update {

class CUpdateDlg final : public CDialogBase {
 public:
  CUpdateDlg(LaunchMode mode, UpdatePaths paths, Fetcher& fetcher);
  ~CUpdateDlg() override;

  // Runs the start-up flow once the window exists (hidden). Returns true when
  // the window was shown and the user goes on; false when the flow ended (the
  // exit routine has then run).
  bool RunStartUp();
  // The exit routine: empties the working folder, starts the capture program
  // in normal mode and closes the window (the message loop then ends).
  void Exit();
  bool Finished() const { return finished_; }

 private:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

  void BuildSelectionPage();
  void ShowPage(UpdatePage page);
  void StartInstall();
  static DWORD WINAPI InstallThread(void* self);
  void InstallPass();
  void OnInstallDone();
  void ShowCompletion();
  void ShowRow(int row);
  void SetText(int id, const std::wstring& text);
  INT_PTR ControlColour(HDC dc, HWND control);

  LaunchMode mode_;
  UpdatePaths paths_;
  Fetcher& fetcher_;
  UpdateHosts hosts_;
  UpdateKind kind_ = UpdateKind::None;
  UpdateList list_;
  CCheckTreeCtrl tree_;
  HIMAGELIST states_ = nullptr;
  std::unique_ptr<CWebPage> terms_;
  framlet::ui::Font bold_;
  framlet::ui::Font regular_;
  HBRUSH background_ = nullptr;
  HBRUSH white_ = nullptr;
  HBITMAP side_ = nullptr;
  HANDLE worker_ = nullptr;
  std::atomic<bool> stop_{false};
  bool closeWhenDone_ = false;
  bool finished_ = false;
  std::wstring log_;
};

}  // namespace framlet::update
