#pragma once
#include <windows.h>

#include <string>

#include "core/command_seams.h"
#include "app/commands_rules.h"
#include "core/capture_options.h"
#include "ui/layering.h"
#include "windows/toolbar_rules.h"
#include "windows/full_capture_notice_dlg.h"

class CCaptureEngine;
class CWebPage;

enum class StopButton { Scroll, Continuous };

// What the command router needs from the capture frame: its state, its
// capture engine and settings, and the frame operations the commands end in.
class IFrameCommandHost {
 public:
  virtual HWND FrameWindow() const = 0;
  virtual bool NormalMode() const = 0;
  virtual bool SignedIn() const = 0;
  virtual bool HiddenToTray() const = 0;
  virtual bool Maximized() const = 0;
  // The frame is a layered window (see-through hole or translucent).
  virtual bool Layered() const = 0;
  // The capture rectangle (screen) from the stored frame rectangle.
  virtual RECT CaptureRect() const = 0;
  // nullptr before the frame has made its engine.
  virtual CCaptureEngine* Engine() = 0;
  virtual framlet::CaptureOptions& CaptureSettings() = 0;
  // The address box's text in the system code page.
  virtual std::string AddressText() const = 0;
  virtual void NavigatePrimaryView(const std::string& url) = 0;
  // The browser view in the hole, or nullptr when no browser could be made.
  virtual CWebPage* PrimaryView() = 0;
  // The documents folder start-up made for captures.
  virtual std::string DocumentsFolder() const = 0;
  virtual bool SetLayered(framlet::ui::Layering layering, COLORREF key) = 0;
  // The layering of the frame's mode: the see-through key in normal capture,
  // an ordinary window in web capture.
  virtual void ApplyModeLayering() = 0;
  // Web capture (false) or normal capture (true), with all that follows.
  virtual void SetNormalMode(bool on) = 0;
  // Shows the frame normally (also a hidden or minimised one) and clears the
  // maximised state (buttons swapped back); the frame is not moved.
  virtual void LeaveMaximized() = 0;
  // Where the frame goes back to when it leaves the maximised state.
  virtual const framlet::frame::Place& RestoreRect() const = 0;
  virtual void ShowAreaOutline() = 0;
  virtual void HideAreaOutline() = 0;
  virtual void CentreFrame() = 0;
  virtual void ShowRestored() = 0;
  virtual void OpenOptions() = 0;
  // The continuous-capture options dialog, modal; true when confirmed.
  virtual bool AskContinuousOptions() = 0;
  // The stop buttons of scroll and continuous capture, which sit in the hole:
  // shown on top at their place, or hidden with the hole painted again where
  // the button was, before anything reads the screen there.
  virtual void ShowStopButton(StopButton which, bool shown) = 0;
  virtual bool StopButtonShown(StopButton which) const = 0;
  // Clears the normal-capture panel's tipsSuppressed flag (a scroll capture
  // that ended or was refused at the sign-in gate).
  virtual void ClearScrollTipsSuppressed() = 0;
  // Puts the frame around `window` (one covering the screen from its origin),
  // keyed translucent with the outline, and runs the full-capture notice.
  virtual void CoverWholeScreen(const RECT& window) = 0;
  virtual void ShowHelpPage() = 0;
  virtual void ExitProgram() = 0;
  virtual void NudgeFrame(framlet::commands::Operation nudge) = 0;

 protected:
  ~IFrameCommandHost() = default;
};

// The seams the router hands the commands of later windows to.
struct CommandSeams {
  IRegionSelection* regionSelection;
  IWindowPick* windowPick;
  IScrollCapture* scrollCapture;
  IContinuousCapture* continuousCapture;
  IWholePageCapture* wholePageCapture;
  IPrinting* printing;
  IAreaDialog* areaDialog;
  IRecorder* recorder;
  IPaintEditor* paintEditor;
};

// The capture frame's command layer: routes every key, popup-menu item and
// frame control id to its operation behind the sign-in gate, and carries out
// the operations whose windows exist. UI thread only.
class CFrameCommands final : private INoticeHost {
 public:
  explicit CFrameCommands(IFrameCommandHost& host);
  CFrameCommands(const CFrameCommands&) = delete;
  CFrameCommands& operator=(const CFrameCommands&) = delete;

  // Replaces stand-ins with real windows as they arrive.
  CommandSeams& Seams() { return seams_; }
  const CommandSeams& Seams() const { return seams_; }
  // Every seam back to its stand-in.
  void ResetSeams();

  // Runs the command `id` sent the frame; false when the id is not a command's.
  bool Run(int id);
  // Runs a toolbar panel's button, more-menu item or key, behind the same
  // sign-in gate as the operation's key.
  void RunToolbar(framlet::toolbar::Command command);
  // Escape anywhere inside the frame: stops a continuous series, else a scroll
  // capture; otherwise nothing.
  void OnEscape();

  // The sign-in gate: true when signed in; else the sign-in prompt, and after
  // its OK the sign-in page. The command asked for (`asked`) is then dropped.
  bool RequireSignIn(framlet::commands::Operation asked);

  void CaptureArea() override;
  void CaptureFullScreen();
  void CopyArea();
  void OpenSaveFolder();
  void SnapToWindow();
  void EnterNormalMode();
  void EnterWebMode();
  // Puts the frame around `window`, keyed translucent with the outline, and
  // runs the full-capture notice.
  void CoverWholeScreen(const RECT& window);

 private:
  void Perform(framlet::commands::Operation operation, bool fromMenu);
  // Grabs R and delivers it as the capture settings say.
  void Deliver(const RECT& r);
  // INoticeHost
  HWND FrameWindow() const override { return host_.FrameWindow(); }
  void ApplyModeLayering() override { host_.ApplyModeLayering(); }
  void HideAreaOutline() override { host_.HideAreaOutline(); }
  void ClearMaximized() override { host_.LeaveMaximized(); }

  IFrameCommandHost& host_;
  CPendingCommands pending_;
  CommandSeams seams_;
};

// The window under the screen point `at` that is not the frame's: the
// top-level windows below `frame` in z-order (skipping those the user does not
// see, minimised, see-through and this process's windows) by their visible
// rectangles, then the deepest child there; the desktop when no window is there.
HWND WindowUnderFrame(HWND frame, POINT at);
