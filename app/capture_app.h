#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "ui/gdi.h"
#include "ui/ole_session.h"

class CCaptureFrameDlg;
class CExternalDispatch;

// The application object: one per process, created first and destroyed last.
// Its whole life is one modal run of the capture frame, with OLE started on
// its thread (hosted browsers, the clipboard) for as long as it lives.
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
  CExternalDispatch* External() const { return external_; }

 private:
  // Hands a plain start over to the updater beside the program.
  void StartUpdater();
  // True when another copy runs; raises its window when it has one.
  bool AnotherCopyRuns();

  // First member: OLE starts before anything else and ends after everything else.
  framlet::ui::OleSession ole_;
  CCaptureFrameDlg* mainWindow_ = nullptr;
  // Kept by the OLE session: freed only after OLE has ended, since the browser
  // engine may release its last reference to it while OLE ends.
  CExternalDispatch* external_ = nullptr;
  // Marks a running copy; closed with the application object, at the end of the process.
  framlet::ui::KernelHandle instanceMutex_;
};

// The one application object of the process.
CCaptureApp* TheApp();
