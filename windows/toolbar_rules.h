#pragma once
// Layout, more-menu contents, hover tips and keys of the two toolbar panels as
// functions of the panel's width and the capture mode. No <windows.h>.
#include <array>
#include <vector>

namespace framlet::toolbar {

enum class Mode { Normal, Web };

// What a button, menu item or key asks of the capture frame.
enum class Command {
  None,
  CaptureArea,
  StartScrollCapture,
  RegionSelectionHideFrame,
  RegionSelectionKeepFrame,
  PickWindowCapture,
  StartContinuousCapture,
  CaptureFullScreen,
  WholePageCapture,
  CopyArea,
  LaunchRecorder,
  OpenSaveFolder,
  SnapToWindow,
  PrintArea,
  StopContinuousCapture,
  ToggleScrollCapture,
  CentreFrame,
};

// The panel's controls, buttons in hover-test order first.
enum Slot {
  kArea,
  kScroll,
  kRegion,
  kWindowPick,
  kContinuous,
  kFullScreen,
  kCopy,
  kRecord,
  kOpenFolder,
  kSnap,
  kPrint,
  kSeparator,
  kArrow,
  kSlotCount
};
constexpr int kButtonCount = kSeparator;  // the slots with a command and a tip

constexpr int kPanelHeight = 60;
constexpr int kButtonSize = 52;
constexpr int kArrowWidth = 16;
constexpr int kSeparatorWidth = 2;
constexpr int kSeparatorHeight = 38;

struct Place {
  bool visible = false;
  int x = 0, y = 0;
};

// Control id of a slot (the record button's id differs by panel).
int SlotId(Slot slot, Mode mode);
// Place of each slot for client width `width`.
std::array<Place, kSlotCount> Layout(int width);
// The command a button runs (None: the button is greyed in this panel).
Command ButtonCommand(Slot slot, Mode mode);

// Pictures of a button: at rest, pressed and with the pointer over it.
struct Faces {
  int rest, pressed, hover;
};
Faces ButtonFaces(Slot slot, Mode mode);

struct MenuItem {
  int id;               // 262 for the rule
  const wchar_t* text;  // nullptr for the rule
  int icon;             // picture of the 16 x 16 icon, 0 for the rule
  bool rule;
};
constexpr int kMenuRuleId = 262;

// The more menu at client width `width`: the commands whose buttons are hidden,
// in menu order. The rule has no button of its own, so it stays, first or
// last too; only a menu with no command left is empty.
std::vector<MenuItem> MoreMenu(int width, Mode mode);
// The command a more-menu item runs in this panel.
Command MenuCommand(int menuId, Mode mode);

// Hover tip of a button under the pointer, given the frame's window width.
struct Tip {
  bool show = false;
  int index = 0;  // tip window picture index (0 selects picture 320)
  int width = 0;  // height is kTipHeight
  int x = 0;      // screen x
  int y = 0;      // screen y
};
constexpr int kTipHeight = 51;
Tip TipFor(Slot slot, Mode mode, int frameLeft, int frameTop, int frameRight);

// Keys the panel handles itself.
constexpr int kVkReturn = 0x0D, kVkEscape = 0x1B, kVkF2 = 0x71, kVkF3 = 0x72, kVkF8 = 0x77, kVkF9 = 0x78, kVkF10 = 0x79,
              kVkF12 = 0x7B;
struct KeyState {
  bool normalMode = false;  // the capture frame's mode
  bool continuousRunning = false;
  bool scrollRunning = false;
};
struct KeyAction {
  bool handled = false;  // swallowed even when `command` is None
  Command command = Command::None;
};
// Modifier keys held with a key, or-ed together.
enum Modifier : unsigned { kNoModifier = 0, kCtrl = 1, kShift = 2, kAlt = 4 };
// A command key matches its modifiers exactly, as the frame's accelerator
// tables do (Shift+F2 and Ctrl+Shift+C are no commands); Enter and Escape
// without Ctrl are the panel's whatever else is held.
KeyAction KeyFor(int vk, unsigned modifiers, Mode panel, const KeyState& state);

}  // namespace framlet::toolbar
