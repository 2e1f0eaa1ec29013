#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/frame_geometry.h"
#include "windows/toolbar_rules.h"

// The frame's commands as data: which keys, popup-menu items and frame
// controls reach which operation, which need a signed-in member and which keys
// work in normal capture only; and the small decisions the operations take.
namespace framlet::commands {

enum class Operation {
  CaptureArea,
  StartScrollCapture,
  StartRegionSelection,
  PickWindowCapture,
  StartContinuousCapture,
  CaptureFullScreen,
  CopyArea,
  LaunchRecorder,
  OpenSaveFolder,
  SnapToWindow,
  PrintArea,
  EditInPaint,
  EditFileInPaint,
  OpenAreaDialogIfClosed,  // the popup item: only when the dialog is not open
  OpenAreaDialog,          // the area button and the coordinate label: always
  CentreFrame,
  ShowRestored,
  OpenOptions,
  HelpPage,
  Exit,
  EnterNormalMode,
  EnterWebMode,
  ToggleScrollCapture,
  StopContinuousCapture,
  NudgeLeft,
  NudgeRight,
  NudgeUp,
  NudgeDown,
};

// Virtual-key codes the tables use (the values of the platform's VK_ names).
inline constexpr int kKeyReturn = 0x0D;
inline constexpr int kKeyLeft = 0x25;
inline constexpr int kKeyUp = 0x26;
inline constexpr int kKeyRight = 0x27;
inline constexpr int kKeyDown = 0x28;
inline constexpr int kKeyF2 = 0x71;
inline constexpr int kKeyF3 = 0x72;
inline constexpr int kKeyF8 = 0x77;
inline constexpr int kKeyF9 = 0x78;
inline constexpr int kKeyF10 = 0x79;
inline constexpr int kKeyF12 = 0x7B;

struct Key {
  int vk = 0;
  bool ctrl = false;
  bool shift = false;
  bool operator==(const Key& o) const { return vk == o.vk && ctrl == o.ctrl && shift == o.shift; }
};

// One accelerator table of the frame: its resource id is also the command id
// it sends.
struct Accelerator {
  int resourceId;
  Key key;
  Operation operation;
  bool normalModeOnly;
};

// The frame's accelerator tables in the order they are tried.
const std::vector<Accelerator>& Accelerators();

// What a command id (accelerator, popup-menu item or frame control) does.
struct CommandRoute {
  Operation operation;
  bool signInNeeded;
  // A key of normal capture only: in web mode the key does nothing at all.
  bool normalModeOnly;
};
// nullopt: not one of the command layer's ids (the frame's own controls, the
// options-menu items and the preview's keys are handled elsewhere).
std::optional<CommandRoute> RouteCommand(int id);
// Whether the operation asks for a signed-in user first.
bool SignInNeeded(Operation operation);

// ---- capture decision ----
enum class Delivery {
  Review,    // grab, clipboard and the preview window
  AutoSave,  // grab and write the next automatic name
  SaveDialog,
};
Delivery CaptureDecision(bool captureReview, bool autoSave);

// ---- full-screen rectangle ----
// The virtual screen from its real origin when the system reports monitors
// (a monitor left of or above the primary one has negative coordinates), else
// the primary screen from 0, 0.
struct ScreenMetrics {
  int monitorCount = 0;
  int virtualLeft = 0, virtualTop = 0, virtualWidth = 0, virtualHeight = 0;
  int primaryWidth = 0, primaryHeight = 0;
};
frame::Rect FullScreenRect(const ScreenMetrics& screen);

// ---- snap to window ----
// The point looked at, in client coordinates: just below the hole's centre.
struct Point {
  int x = 0, y = 0;
};
Point SnapProbePoint(int clientWidth, int clientHeight);
// A window covering the screen, around which the frame asks before moving: one
// whose visible bounds start at the screen's origin (the desktop, a full-screen
// window) or take in the whole work area of its monitor (a maximised window, on
// any monitor and wherever the taskbar is docked). An empty work area is none.
bool CoversScreen(const frame::Rect& window, const frame::Rect& monitorWorkArea);
// The frame's place that makes its hole cover `window` exactly.
frame::Place CoverPlace(const frame::Rect& window);

// ---- Escape ----
enum class EscapeAction { StopContinuous, ToggleScroll, Swallow };
EscapeAction EscapeRule(bool continuousRunning, bool scrollRunning);

// ---- open the save folder ----
// The stored folder when it names an existing folder, else the documents
// folder. Nothing else is ever opened: a stored program path is not a folder.
std::string FolderToOpen(const std::string& stored, const std::string& documents,
                         const std::function<bool(const std::string&)>& isExistingFolder);

// ---- toolbar panels ----
// What a panel's button, more-menu item or key asks of the frame: one of the
// frame's operations, the region selection with or without hiding the frame,
// the whole-page capture of the web page, or nothing (a greyed button).
struct ToolbarAction {
  enum class Kind { Nothing, Operation, RegionSelection, WholePage };
  Kind kind = Kind::Nothing;
  Operation operation = Operation::CaptureArea;  // Kind::Operation
  bool hideFrame = false;                        // Kind::RegionSelection
  bool signInNeeded = false;
};
ToolbarAction ToolbarRoute(toolbar::Command command);

// ---- file dialogs ----
// A filter written "text|patterns|text|patterns|" in the form the file dialogs
// take: each part ended by a zero byte, the list by a second one. Blanks
// around a pattern list are dropped, since a pattern with a leading blank
// matches no file; the texts keep theirs.
std::string FileDialogFilter(std::string_view filter);

}  // namespace framlet::commands
