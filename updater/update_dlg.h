#pragma once
// The update window: hidden while the start-up checks run, then a three-page
// wizard (component selection, install with progress and log, completion).
// The install pass runs on one worker thread with its own copy of the chosen
// rows; it hands its results back through one locked queue.
#include <windows.h>

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/gdi.h"
#include "ui/window_base.h"
#include "updater/check_tree.h"
#include "updater/fetch.h"
#include "updater/handles.h"
#include "updater/update_layout.h"
#include "updater/update_rules.h"
#include "updater/update_system.h"

class CWebPage;

namespace framlet::update {

// What the install pass reports, in order.
struct InstallEvent {
  enum Kind { Row, Progress, Log, Done } kind;
  int percent = 0;
  std::wstring text;
};

// The worker's reports, queued under a lock; the window is told with one
// notify message when the queue stops being empty. Shared by the worker and
// the window, so neither outlives what the other still uses: a window that
// has gone detaches and the queue is freed with its last user.
class InstallQueue {
 public:
  InstallQueue(HWND window, UINT notify) : window_(window), notify_(notify) {}
  void Push(InstallEvent event);
  std::deque<InstallEvent> TakeAll();
  void Detach();

 private:
  std::mutex lock_;
  std::deque<InstallEvent> events_;
  HWND window_;
  UINT notify_;
};

// What the install pass works on: a copy made when the install starts.
struct InstallWork {
  std::vector<Component> rows;  // the chosen rows, in table order
  std::vector<size_t> indexes;  // their rows in the table (0 and 1 are fixed)
  UpdateKind kind = UpdateKind::None;
  std::string module;
  Signature updater;
};

class CUpdateDlg final : public CDialogBase {
 public:
  CUpdateDlg(LaunchMode mode, UpdatePaths paths, UpdateHosts hosts, Fetcher& fetcher);
  ~CUpdateDlg() override;

  // Runs the start-up flow once the window exists (hidden). Returns true when
  // the window was shown and the user goes on; false when the flow ended (the
  // exit routine has then run).
  bool RunStartUp();
  // The exit routine: empties the working folder, starts the capture program
  // in normal mode and closes the window (the message loop then ends).
  // LeaveFiles: another updater runs from this folder and owns its files.
  enum class CleanUp { EmptyWorkFolder, LeaveFiles };
  void Exit(CleanUp cleanUp = CleanUp::EmptyWorkFolder);
  bool Finished() const { return finished_; }

 private:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

  void BuildSelectionPage();
  void ShowPage(UpdatePage page);
  void StartInstall();
  static void InstallPass(InstallWork work, Fetcher& fetcher, const std::atomic<bool>& stop,
                          const std::shared_ptr<InstallQueue>& queue);
  void OnInstallEvents();
  void OnInstallDone();
  void ShowCompletion();
  void ShowRow(int row);
  void SetText(int id, const std::wstring& text);
  INT_PTR ControlColour(HDC dc, HWND control);

  LaunchMode mode_;
  UpdatePaths paths_;
  UpdateHosts hosts_;
  Fetcher& fetcher_;
  Signature signature_;
  UpdateKind kind_ = UpdateKind::None;
  UpdateList list_;
  UpdatePage page_ = UpdatePage::Selection;
  CCheckTreeCtrl tree_;
  ImageList states_;
  std::unique_ptr<CWebPage> terms_;
  framlet::ui::Font bold_;
  framlet::ui::Font regular_;
  framlet::ui::Brush background_;
  framlet::ui::Brush white_;
  framlet::ui::Bitmap side_;
  framlet::ui::KernelHandle worker_;
  std::shared_ptr<InstallQueue> queue_;
  std::atomic<bool> stop_{false};
  bool closeWhenDone_ = false;
  bool finished_ = false;
  std::wstring log_;
};

}  // namespace framlet::update
