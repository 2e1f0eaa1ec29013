#include "app/commands_rules.h"

#include "core/command_ids.h"
#include "resource.h"

namespace framlet::commands {

namespace {

struct RouteRow {
  int id;
  Operation operation;
  bool signInNeeded;
};

// Popup-menu items and frame controls.
const RouteRow kRoutes[] = {
    {ID_CAPTURE_AREA, Operation::CaptureArea, true},
    {ID_SCROLL_CAPTURE, Operation::StartScrollCapture, true},
    {ID_REGION_SELECT, Operation::StartRegionSelection, true},
    {ID_WINDOW_PICK, Operation::PickWindowCapture, true},
    {ID_CONTINUOUS_CAPTURE, Operation::StartContinuousCapture, true},
    {ID_FULL_SCREEN, Operation::CaptureFullScreen, true},
    {ID_COPY_AREA, Operation::CopyArea, true},
    {ID_LAUNCH_RECORDER, Operation::LaunchRecorder, false},
    {ID_OPEN_SAVE_FOLDER, Operation::OpenSaveFolder, true},
    {ID_SNAP_TO_WINDOW, Operation::SnapToWindow, false},
    {ID_PRINT_AREA, Operation::PrintArea, true},
    {ID_EDIT_IN_PAINT, Operation::EditInPaint, false},
    {ID_EDIT_FILE_IN_PAINT, Operation::EditFileInPaint, false},
    {ID_OPEN_AREA_DIALOG, Operation::OpenAreaDialogIfClosed, false},
    {ID_CENTRE_FRAME, Operation::CentreFrame, false},
    {ID_SHOW_RESTORED, Operation::ShowRestored, false},
    {ID_OPEN_OPTIONS, Operation::OpenOptions, false},
    {ID_HELP_PAGE, Operation::HelpPage, false},
    {ID_EXIT, Operation::Exit, false},
    {IDC_TO_NORMAL_MODE, Operation::EnterNormalMode, true},
    {IDC_TO_WEB_MODE, Operation::EnterWebMode, false},
    {IDC_STOP_SCROLL, Operation::ToggleScrollCapture, false},
    {IDC_STOP_CONTINUOUS, Operation::StopContinuousCapture, false},
    {IDC_AREA_DIALOG, Operation::OpenAreaDialog, false},
    {IDC_COORD_LABEL, Operation::OpenAreaDialog, false},
};

// A key needs sign-in exactly when its popup-menu item does.
}  // namespace

bool SignInNeeded(Operation operation) {
  for (const RouteRow& row : kRoutes)
    if (row.operation == operation) return row.signInNeeded;
  return false;
}

const std::vector<Accelerator>& Accelerators() {
  static const std::vector<Accelerator> tables = {
      {IDR_ACCEL_AREA_CAPTURE, {kKeyF2, false, false}, Operation::CaptureArea, false},
      {IDR_ACCEL_SCROLL_CAPTURE, {'L', true, false}, Operation::StartScrollCapture, true},
      {IDR_ACCEL_REGION_SELECT, {'D', true, false}, Operation::StartRegionSelection, false},
      {IDR_ACCEL_WINDOW_PICK, {'F', true, false}, Operation::PickWindowCapture, false},
      {IDR_ACCEL_CONTINUOUS, {kKeyF3, false, false}, Operation::StartContinuousCapture, false},
      {IDR_ACCEL_FULL_SCREEN, {kKeyReturn, true, false}, Operation::CaptureFullScreen, false},
      {IDR_ACCEL_COPY_AREA, {'C', true, false}, Operation::CopyArea, false},
      {IDR_ACCEL_RECORDER, {'R', true, false}, Operation::LaunchRecorder, false},
      {IDR_ACCEL_OPEN_FOLDER, {kKeyF10, false, false}, Operation::OpenSaveFolder, false},
      {IDR_ACCEL_SNAP_TO_WINDOW, {kKeyF9, false, false}, Operation::SnapToWindow, true},
      {IDR_ACCEL_PRINT, {kKeyF8, false, false}, Operation::PrintArea, false},
      {IDR_ACCEL_CENTRE, {kKeyF12, false, false}, Operation::CentreFrame, false},
      {IDR_ACCEL_NUDGE_LEFT, {kKeyLeft, false, true}, Operation::NudgeLeft, false},
      {IDR_ACCEL_NUDGE_RIGHT, {kKeyRight, false, true}, Operation::NudgeRight, false},
      {IDR_ACCEL_NUDGE_UP, {kKeyUp, false, true}, Operation::NudgeUp, false},
      {IDR_ACCEL_NUDGE_DOWN, {kKeyDown, false, true}, Operation::NudgeDown, false},
  };
  return tables;
}

std::optional<CommandRoute> RouteCommand(int id) {
  for (const Accelerator& table : Accelerators())
    if (table.resourceId == id)
      return CommandRoute{table.operation, SignInNeeded(table.operation), table.normalModeOnly};
  for (const RouteRow& row : kRoutes)
    if (row.id == id) return CommandRoute{row.operation, row.signInNeeded, false};
  return std::nullopt;
}

Delivery CaptureDecision(bool captureReview, bool autoSave) {
  if (captureReview) return Delivery::Review;
  if (autoSave) return Delivery::AutoSave;
  return Delivery::SaveDialog;
}

frame::Rect FullScreenRect(const ScreenMetrics& screen) {
  if (screen.monitorCount > 0 && screen.virtualWidth > 0 && screen.virtualHeight > 0)
    return {screen.virtualLeft, screen.virtualTop, screen.virtualLeft + screen.virtualWidth,
            screen.virtualTop + screen.virtualHeight};
  return {0, 0, screen.primaryWidth, screen.primaryHeight};
}

Point SnapProbePoint(int clientWidth, int clientHeight) {
  return {clientWidth / 2, clientHeight / 2 + 40};
}

bool CoversScreen(const frame::Rect& window, const frame::Rect& monitorWorkArea) {
  if (window.left == 0 && window.top == 0) return true;
  const frame::Rect& work = monitorWorkArea;
  if (work.Width() <= 0 || work.Height() <= 0) return false;
  return window.left <= work.left && window.top <= work.top && window.right >= work.right &&
         window.bottom >= work.bottom;
}

frame::Place CoverPlace(const frame::Rect& window) {
  return {window.left - frame::kHoleLeft, window.top - frame::kHoleTop,
          window.Width() + frame::kHoleLeft + frame::kHoleRight,
          window.Height() + frame::kHoleTop + frame::kHoleBottom};
}

EscapeAction EscapeRule(bool continuousRunning, bool scrollRunning) {
  if (continuousRunning) return EscapeAction::StopContinuous;
  if (scrollRunning) return EscapeAction::ToggleScroll;
  return EscapeAction::Swallow;
}

std::string FolderToOpen(const std::string& stored, const std::string& documents,
                         const std::function<bool(const std::string&)>& isExistingFolder) {
  if (!stored.empty() && isExistingFolder && isExistingFolder(stored)) return stored;
  return documents;
}

ToolbarAction ToolbarRoute(toolbar::Command command) {
  using C = toolbar::Command;
  using Kind = ToolbarAction::Kind;
  ToolbarAction action;
  switch (command) {
    case C::None:
      return action;
    case C::RegionSelectionHideFrame:
    case C::RegionSelectionKeepFrame:
      action.kind = Kind::RegionSelection;
      action.hideFrame = command == C::RegionSelectionHideFrame;
      action.signInNeeded = SignInNeeded(Operation::StartRegionSelection);
      return action;
    case C::WholePageCapture:
      // Gated like every capture of the frame's contents.
      action.kind = Kind::WholePage;
      action.signInNeeded = true;
      return action;
    case C::CaptureArea: action.operation = Operation::CaptureArea; break;
    case C::StartScrollCapture: action.operation = Operation::StartScrollCapture; break;
    case C::PickWindowCapture: action.operation = Operation::PickWindowCapture; break;
    case C::StartContinuousCapture: action.operation = Operation::StartContinuousCapture; break;
    case C::CaptureFullScreen: action.operation = Operation::CaptureFullScreen; break;
    case C::CopyArea: action.operation = Operation::CopyArea; break;
    case C::LaunchRecorder: action.operation = Operation::LaunchRecorder; break;
    case C::OpenSaveFolder: action.operation = Operation::OpenSaveFolder; break;
    case C::SnapToWindow: action.operation = Operation::SnapToWindow; break;
    case C::PrintArea: action.operation = Operation::PrintArea; break;
    case C::StopContinuousCapture: action.operation = Operation::StopContinuousCapture; break;
    case C::ToggleScrollCapture: action.operation = Operation::ToggleScrollCapture; break;
    case C::CentreFrame: action.operation = Operation::CentreFrame; break;
  }
  action.kind = Kind::Operation;
  action.signInNeeded = SignInNeeded(action.operation);
  return action;
}

std::string FileDialogFilter(std::string_view filter) {
  std::string out;
  bool pattern = false;
  size_t start = 0;
  for (size_t bar = filter.find('|'); bar != std::string_view::npos; bar = filter.find('|', start)) {
    std::string_view part = filter.substr(start, bar - start);
    if (pattern) {
      const size_t first = part.find_first_not_of(' ');
      part = first == std::string_view::npos ? std::string_view() : part.substr(first, part.find_last_not_of(' ') - first + 1);
    }
    out.append(part);
    out += '\0';
    pattern = !pattern;
    start = bar + 1;
  }
  out += '\0';
  return out;
}

}  // namespace framlet::commands
