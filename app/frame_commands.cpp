#include "app/frame_commands.h"

#include <shellapi.h>

#include "capture/capture_engine.h"
#include "capture/window_bounds.h"
#include "core/command_ids.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "ui/compositor.h"
#include "ui/picture.h"
#include "web/site_config.h"
#include "windows/area_outline_dlg.h"
#include "windows/login_prompt_dlg.h"

namespace commands = framlet::commands;
namespace keys = framlet::keys;
namespace settings = framlet::settings;
using commands::Operation;

namespace {

constexpr wchar_t kWholeAreaQuestion[] =
    L"전체 영역을 선택하셨습니다.\n\n이동 하시겠습니까?\n\n(닫기버튼을 누르시면 시작위치로 이동합니다.)";
constexpr wchar_t kNoticeCaption[] = L"알림";

framlet::frame::Rect ToRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

bool IsSeeThrough(HWND window) {
  return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
}

bool IsOurs(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

bool IsExistingFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

HWND WindowUnderFrame(HWND frame, POINT at) {
  HWND found = framlet::screen::TopLevelWindowAt(GetWindow(frame, GW_HWNDNEXT), at, [](HWND w) {
    return IsIconic(w) || IsSeeThrough(w) || IsOurs(w);
  });
  if (!found) return GetDesktopWindow();
  // The deepest visible child there, as a pointer over the window would find it.
  for (;;) {
    POINT local = at;
    ScreenToClient(found, &local);
    HWND child = ChildWindowFromPointEx(found, local, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT | CWP_SKIPDISABLED);
    if (!child || child == found || IsSeeThrough(child)) return found;
    found = child;
  }
}

CFrameCommands::CFrameCommands(IFrameCommandHost& host) : host_(host) {
  ResetSeams();
}

void CFrameCommands::ResetSeams() {
  seams_ = {&pending_, &pending_, &pending_, &pending_, &pending_, &pending_, &pending_, &pending_, &pending_};
}

bool CFrameCommands::Run(int id) {
  const auto route = commands::RouteCommand(id);
  if (!route) return false;
  // A key of normal capture does nothing at all in web mode.
  if (route->normalModeOnly && !host_.NormalMode()) return true;
  if (route->signInNeeded && !RequireSignIn(route->operation)) return true;
  // Popup-menu ids are all from ID_EXIT up; keys and controls lie below.
  Perform(route->operation, id >= ID_EXIT);
  return true;
}

void CFrameCommands::RunToolbar(framlet::toolbar::Command command) {
  const commands::ToolbarAction action = commands::ToolbarRoute(command);
  if (action.kind == commands::ToolbarAction::Kind::Nothing) return;
  if (action.signInNeeded && !RequireSignIn(action.operation)) return;
  switch (action.kind) {
    case commands::ToolbarAction::Kind::RegionSelection:
      seams_.regionSelection->StartRegionSelection(action.hideFrame);
      return;
    case commands::ToolbarAction::Kind::WholePage:
      seams_.wholePageCapture->WholePageCapture();
      return;
    case commands::ToolbarAction::Kind::Operation:
      Perform(action.operation, false);
      return;
    case commands::ToolbarAction::Kind::Nothing:
      return;
  }
}

void CFrameCommands::Perform(Operation operation, bool fromMenu) {
  switch (operation) {
    case Operation::CaptureArea:
      CaptureArea();
      return;
    case Operation::StartScrollCapture:
      seams_.scrollCapture->StartScrollCapture();
      return;
    case Operation::StartRegionSelection:
      seams_.regionSelection->StartRegionSelection(host_.NormalMode());
      return;
    case Operation::PickWindowCapture:
      seams_.windowPick->PickWindowCapture();
      return;
    case Operation::StartContinuousCapture:
      seams_.continuousCapture->StartContinuousCapture();
      return;
    case Operation::CaptureFullScreen:
      CaptureFullScreen();
      return;
    case Operation::CopyArea:
      CopyArea();
      return;
    case Operation::LaunchRecorder:
      seams_.recorder->LaunchRecorder();
      return;
    case Operation::OpenSaveFolder:
      OpenSaveFolder();
      return;
    case Operation::SnapToWindow:
      SnapToWindow();
      return;
    case Operation::PrintArea:
      seams_.printing->PrintArea();
      return;
    case Operation::EditInPaint:
      seams_.paintEditor->EditInPaint();
      return;
    case Operation::EditFileInPaint:
      seams_.paintEditor->EditFileInPaint();
      return;
    case Operation::OpenAreaDialogIfClosed:
      seams_.areaDialog->OpenAreaDialog(true);
      return;
    case Operation::OpenAreaDialog:
      seams_.areaDialog->OpenAreaDialog(false);
      return;
    case Operation::CentreFrame:
      // From the notification menu the frame may be minimised or hidden.
      if (fromMenu && (host_.HiddenToTray() || IsIconic(host_.FrameWindow()) || !IsWindowVisible(host_.FrameWindow())))
        host_.ShowRestored();
      host_.CentreFrame();
      return;
    case Operation::ShowRestored:
      host_.ShowRestored();
      return;
    case Operation::OpenOptions:
      host_.OpenOptions();
      if (host_.HiddenToTray()) host_.ShowRestored();
      return;
    case Operation::HelpPage:
      host_.ShowRestored();
      host_.ShowHelpPage();
      return;
    case Operation::Exit:
      host_.ExitProgram();
      return;
    case Operation::EnterNormalMode:
      EnterNormalMode();
      return;
    case Operation::EnterWebMode:
      EnterWebMode();
      return;
    case Operation::ToggleScrollCapture:
      seams_.scrollCapture->ToggleScrollCapture();
      return;
    case Operation::StopContinuousCapture:
      seams_.continuousCapture->StopContinuousCapture();
      return;
    case Operation::NudgeLeft:
    case Operation::NudgeRight:
    case Operation::NudgeUp:
    case Operation::NudgeDown:
      host_.NudgeFrame(operation);
      return;
  }
}

void CFrameCommands::OnEscape() {
  switch (commands::EscapeRule(seams_.continuousCapture->ContinuousRunning(), seams_.scrollCapture->ScrollRunning())) {
    case commands::EscapeAction::StopContinuous:
      seams_.continuousCapture->StopContinuousCapture();
      return;
    case commands::EscapeAction::ToggleScroll:
      seams_.scrollCapture->ToggleScrollCapture();
      return;
    case commands::EscapeAction::Swallow:
      return;
  }
}

bool CFrameCommands::RequireSignIn(Operation asked) {
  if (host_.SignedIn()) return true;
  // The scroll button holds the panel's tips back until its capture ends;
  // refused here, it never starts.
  if (asked == Operation::StartScrollCapture) host_.ClearScrollTipsSuppressed();
  CLoginPromptDlg prompt;
  if (prompt.DoModal(host_.FrameWindow()) == IDOK) {
    host_.NavigatePrimaryView(framlet::site::SignInUrl(host_.AddressText()));
    // The sign-in page shows only in web capture; in normal capture the
    // browser is hidden and the user would be left waiting for nothing.
    if (host_.NormalMode()) host_.SetNormalMode(false);
  }
  return false;
}

void CFrameCommands::Deliver(const RECT& r) {
  CCaptureEngine* engine = host_.Engine();
  if (!engine) return;
  const framlet::CaptureOptions& options = host_.CaptureSettings();
  switch (commands::CaptureDecision(options.captureReview, options.autoSave)) {
    case commands::Delivery::Review:
      engine->GrabAndDeliver(r.left, r.top, r.right, r.bottom, options.jpegQuality, 1, ExcludeLayered);
      return;
    case commands::Delivery::AutoSave:
      engine->GrabAndAutoSave(r.left, r.top, r.right, r.bottom, options.jpegQuality);
      return;
    case commands::Delivery::SaveDialog:
      engine->GrabAndDeliver(r.left, r.top, r.right, r.bottom, options.jpegQuality, 0, ExcludeLayered);
      return;
  }
}

void CFrameCommands::CaptureArea() {
  // The settings file may have been changed by a menu toggle since the options were read.
  framlet::CaptureOptions& options = host_.CaptureSettings();
  options.captureReview = settings::ReadFlag(keys::kCaptureReview);
  options.autoSave = settings::ReadFlag(keys::kAutoSave);
  Deliver(host_.CaptureRect());
}

void CFrameCommands::CaptureFullScreen() {
  commands::ScreenMetrics screen;
  screen.monitorCount = GetSystemMetrics(SM_CMONITORS);
  screen.virtualLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
  screen.virtualTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
  screen.virtualWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  screen.virtualHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  screen.primaryWidth = GetSystemMetrics(SM_CXSCREEN);
  screen.primaryHeight = GetSystemMetrics(SM_CYSCREEN);
  const framlet::frame::Rect r = commands::FullScreenRect(screen);

  HWND frame = host_.FrameWindow();
  ShowWindow(frame, SW_HIDE);
  // The windows the frame covered paint themselves, and the compositor shows
  // them, before the screen is read.
  RedrawWindow(nullptr, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  framlet::ui::WaitForCompositor();
  Deliver({r.left, r.top, r.right, r.bottom});
  // Keyed in web capture, later grabs of the hole would leave the page out.
  host_.ApplyModeLayering();
  ShowWindow(frame, SW_SHOW);
}

void CFrameCommands::CopyArea() {
  if (CCaptureEngine* engine = host_.Engine()) {
    const RECT r = host_.CaptureRect();
    engine->GrabToClipboard(r.left, r.top, r.right, r.bottom);
  }
}

void CFrameCommands::OpenSaveFolder() {
  const std::string folder =
      commands::FolderToOpen(settings::ReadText(keys::kSelectFolder), host_.DocumentsFolder(), IsExistingFolder);
  if (folder.empty()) return;
  // Only a folder reaches here, so the default verb opens it in the shell.
  ShellExecuteA(host_.FrameWindow(), nullptr, folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CFrameCommands::SnapToWindow() {
  HWND frame = host_.FrameWindow();
  RECT client = {};
  GetClientRect(frame, &client);
  const commands::Point probe = commands::SnapProbePoint(client.right, client.bottom);
  POINT at = {probe.x, probe.y};
  ClientToScreen(frame, &at);
  HWND window = WindowUnderFrame(frame, at);
  if (!window) return;
  RECT w = {};
  if (!framlet::screen::VisibleRect(window, &w)) return;
  if (!commands::CoversScreen(ToRect(w), ToRect(framlet::screen::MonitorWorkArea(w)))) {
    host_.LeaveMaximized();
    const framlet::frame::Place p = commands::CoverPlace(ToRect(w));
    SetWindowPos(frame, nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  if (MessageBoxW(frame, kWholeAreaQuestion, kNoticeCaption, MB_YESNO) != IDYES) return;
  CoverWholeScreen(w);
}

void CFrameCommands::CoverWholeScreen(const RECT& window) {
  HWND frame = host_.FrameWindow();
  host_.SetLayered(framlet::ui::Layering::Translucent, framlet::ui::kColourKey);
  host_.ShowAreaOutline();
  host_.LeaveMaximized();
  const framlet::frame::Place p = commands::CoverPlace(ToRect(window));
  SetWindowPos(frame, nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
  CFullCaptureNoticeDlg notice(*this);
  notice.DoModal(frame);
}

void CFrameCommands::EnterNormalMode() {
  host_.SetNormalMode(true);
}

void CFrameCommands::EnterWebMode() {
  host_.SetNormalMode(false);
}
