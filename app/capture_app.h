#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "ui/gdi.h"

class CCaptureFrameDlg;
class CExternalDispatch;

// The application object: one per process, created first and destroyed last.
// Its whole life is one modal run of the capture frame.
class CCaptureApp {
 public:
  CCaptureApp();
  ~CCaptureApp();
  CCaptureApp(const CCaptureApp&) = delete;
  CCaptureApp& operator=(const CCaptureApp&) = delete;

  // Runs the start-up and, for a "-s" start, the capture frame. Always false:
  // the process ends when it returns.
  bool InitInstance();

  // Ends the program: deletes the paint program's temporary capture, keeps the
  // address box's text in the settings and posts the quit message.
  void Exit(const std::string& addressText);

  CCaptureFrameDlg* MainWindow() const { return mainWindow_; }
  // What hosted pages reach as their `external` object; made at start-up, nullptr before.
  CExternalDispatch* External() const { return external_.get(); }

 private:
  // Hands a plain start over to the updater beside the program.
  void StartUpdater();
  // True when another copy runs; raises its window when it has one.
  bool AnotherCopyRuns();

  CCaptureFrameDlg* mainWindow_ = nullptr;
  // Lives from start-up until the application object goes, after every page that could call it.
  std::unique_ptr<CExternalDispatch> external_;
  // Marks a running copy; closed with the application object, at the end of the process.
  framlet::ui::KernelHandle instanceMutex_;
};

// The one application object of the process.
CCaptureApp* TheApp();
