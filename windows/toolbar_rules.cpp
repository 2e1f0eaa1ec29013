#include "windows/toolbar_rules.h"

#include <cstddef>

#include "core/command_ids.h"

namespace framlet::toolbar {
namespace {

// Left group: x and the least width at which each button fits.
struct LeftButton {
  int x, minWidth;
};
constexpr LeftButton kLeft[] = {{10, 80},   {67, 140},  {124, 200}, {181, 260},
                                {237, 320}, {294, 380}, {351, 440}, {408, 500}};
constexpr int kButtonTop = 5;
constexpr int kSeparatorTop = 11;
// From this width on the right group sits at the right edge and nothing is hidden.
constexpr int kFullRowWidth = 670;

struct TipRow {
  int width;
  // The frame width from which the tip shows (0: always).
  int minFrameWidth;
  bool normalOnly;
};
constexpr TipRow kTips[kButtonCount] = {
    {263, 0, false},   {241, 0, true},    {299, 0, false},   {299, 268, true}, {328, 328, false}, {360, 388, false},
    {310, 448, false}, {228, 508, false}, {310, 578, false}, {353, 629, true}, {235, 676, false},
};

struct MenuRow {
  MenuItem item;
  Slot slot;
};
const MenuRow kMenu[] = {
    {{ID_MORE_AREA, L" 영역캡쳐                    (F2)", 210, false}, kArea},
    {{ID_MORE_SCROLL, L" 스크롤영역             (Ctrl+L)", 209, false}, kScroll},
    {{ID_MORE_REGION, L" 직접지정               (Ctrl+D)", 284, false}, kRegion},
    {{ID_MORE_WINDOW, L" 영역선택               (Ctrl+F)", 285, false}, kWindowPick},
    {{ID_MORE_CONTINUOUS, L" 연속캡쳐                    (F3)", 208, false}, kContinuous},
    {{ID_MORE_FULL_SCREEN, L" 전체화면          (Ctrl+Enter)", 207, false}, kFullScreen},
    {{ID_MORE_COPY, L" 복사하기               (Ctrl+C)", 206, false}, kCopy},
    {{ID_MORE_RECORD, L" 녹화하기               (Ctrl+R)", 205, false}, kRecord},
    {{kMenuRuleId, nullptr, 0, true}, kSeparator},
    {{ID_MORE_OPEN_FOLDER, L" 폴더열기                   (f10)", 176, false}, kOpenFolder},
    {{ID_MORE_SNAP, L" 자동좌표                    (F9)", 177, false}, kSnap},
    {{ID_MORE_PRINT, L" 인쇄                          (F8)", 178, false}, kPrint},
};

}  // namespace

int SlotId(Slot slot, Mode mode) {
  switch (slot) {
    case kArea:
      return IDC_TB_AREA;
    case kScroll:
      return IDC_TB_SCROLL;
    case kRegion:
      return IDC_TB_REGION;
    case kWindowPick:
      return IDC_TB_WINDOW;
    case kContinuous:
      return IDC_TB_CONTINUOUS;
    case kFullScreen:
      return IDC_TB_FULL_SCREEN;
    case kCopy:
      return IDC_TB_COPY;
    case kRecord:
      return mode == Mode::Normal ? IDC_TB_RECORD : IDC_TB_RECORD_WEB;
    case kOpenFolder:
      return IDC_TB_OPEN_FOLDER;
    case kSnap:
      return IDC_TB_SNAP;
    case kPrint:
      return IDC_TB_PRINT;
    case kSeparator:
      return IDC_TB_SEPARATOR;
    case kArrow:
      return IDC_TB_ARROW;
    case kSlotCount:
      break;
  }
  return 0;
}

std::array<Place, kSlotCount> Layout(int width) {
  std::array<Place, kSlotCount> places;
  for (int i = 0; i <= kRecord; ++i) places[i] = {width >= kLeft[i].minWidth, kLeft[i].x, kButtonTop};
  if (width >= kFullRowWidth) {
    places[kSeparator] = {true, width - 180, kSeparatorTop};
    places[kOpenFolder] = {true, width - 170, kButtonTop};
    places[kSnap] = {true, width - 115, kButtonTop};
    places[kPrint] = {true, width - 60, kButtonTop};
  } else {
    places[kSeparator] = {width >= 570, 490, kSeparatorTop};
    places[kOpenFolder] = {width >= 570, 502, kButtonTop};
    places[kSnap] = {width >= 620, 554, kButtonTop};
    places[kPrint] = {false, width - 60, kButtonTop};
  }
  places[kArrow] = {width < kFullRowWidth, width - 20, kButtonTop};
  return places;
}

Command ButtonCommand(Slot slot, Mode mode) {
  const bool normal = mode == Mode::Normal;
  switch (slot) {
    case kArea:
      return Command::CaptureArea;
    case kScroll:
      return normal ? Command::StartScrollCapture : Command::None;
    case kRegion:
      return normal ? Command::RegionSelectionHideFrame : Command::RegionSelectionKeepFrame;
    case kWindowPick:
      return normal ? Command::PickWindowCapture : Command::None;
    case kContinuous:
      return Command::StartContinuousCapture;
    case kFullScreen:
      return normal ? Command::CaptureFullScreen : Command::WholePageCapture;
    case kCopy:
      return Command::CopyArea;
    case kRecord:
      return Command::LaunchRecorder;
    case kOpenFolder:
      return Command::OpenSaveFolder;
    case kSnap:
      return normal ? Command::SnapToWindow : Command::None;
    case kPrint:
      return Command::PrintArea;
    default:
      return Command::None;
  }
}

Faces ButtonFaces(Slot slot, Mode mode) {
  const bool web = mode == Mode::Web;
  switch (slot) {
    case kArea:
      return {180, 182, 181};
    case kScroll:
      return web ? Faces{311, 311, 311} : Faces{183, 185, 184};
    case kRegion:
      return {195, 197, 196};
    case kWindowPick:
      return web ? Faces{312, 312, 312} : Faces{198, 200, 199};
    case kContinuous:
      return {189, 191, 190};
    case kFullScreen:
      return {186, 188, 187};
    case kCopy:
      return {192, 194, 193};
    case kRecord:
      return {201, 203, 202};
    case kOpenFolder:
      return {163, 165, 164};
    case kSnap:
      return web ? Faces{179, 179, 179} : Faces{166, 168, 167};
    case kPrint:
      return {169, 171, 170};
    case kArrow:
      return {172, 174, 173};
    default:
      return {0, 0, 0};
  }
}

std::vector<MenuItem> MoreMenu(int width, Mode mode) {
  const auto places = Layout(width);
  std::vector<MenuItem> items;
  for (const MenuRow& row : kMenu) {
    if (row.item.rule) {
      items.push_back(row.item);
      continue;
    }
    if (places[row.slot].visible) continue;
    if (mode == Mode::Web) {
      if (row.item.id == ID_MORE_SNAP) continue;
      if (row.item.id == ID_MORE_WINDOW && width > 200 && width < 260) continue;
    }
    items.push_back(row.item);
  }
  // With every button shown there is no menu, not a lone rule.
  if (items.size() == 1 && items[0].rule) items.clear();
  return items;
}

Command MenuCommand(int menuId, Mode mode) {
  const bool normal = mode == Mode::Normal;
  switch (menuId) {
    case ID_MORE_AREA:
      return Command::CaptureArea;
    case ID_MORE_SCROLL:
      return normal ? Command::StartScrollCapture : Command::None;
    case ID_MORE_REGION:
      return normal ? Command::RegionSelectionHideFrame : Command::RegionSelectionKeepFrame;
    case ID_MORE_WINDOW:
      return normal ? Command::PickWindowCapture : Command::None;
    case ID_MORE_CONTINUOUS:
      return Command::StartContinuousCapture;
    case ID_MORE_FULL_SCREEN:
      return normal ? Command::CaptureFullScreen : Command::WholePageCapture;
    case ID_MORE_COPY:
      return Command::CopyArea;
    case ID_MORE_RECORD:
      return Command::LaunchRecorder;
    case ID_MORE_OPEN_FOLDER:
      return Command::OpenSaveFolder;
    case ID_MORE_SNAP:
      return normal ? Command::SnapToWindow : Command::None;
    case ID_MORE_PRINT:
      return Command::PrintArea;
    default:
      return Command::None;
  }
}

Tip TipFor(Slot slot, Mode mode, int frameLeft, int frameTop, int frameRight) {
  Tip tip;
  if (slot < 0 || slot >= kButtonCount) return tip;
  const TipRow& row = kTips[slot];
  const int frameWidth = frameRight - frameLeft;
  if (row.normalOnly && mode != Mode::Normal) return tip;
  if (frameWidth < row.minFrameWidth) return tip;
  tip.show = true;
  tip.index = slot;
  tip.width = row.width;
  tip.y = frameTop + 80;
  switch (slot) {
    case kArea:
      tip.x = frameLeft + 4;
      break;
    case kScroll:
      tip.x = frameLeft + 63;
      break;
    case kRegion:
      tip.x = frameLeft + 121;
      break;
    case kWindowPick:
      tip.x = frameLeft + 178;
      break;
    case kContinuous:
      tip.x = frameLeft + 234;
      break;
    case kFullScreen:
      tip.x = frameLeft + 291;
      break;
    case kCopy:
      tip.x = frameLeft + 348;
      break;
    case kRecord:
      tip.x = frameLeft + 405;
      break;
    case kOpenFolder:
      tip.x = frameWidth < 676 ? frameLeft + 255 : frameRight - 423;
      break;
    case kSnap:
      tip.x = frameWidth < 666 ? frameLeft + 265 : frameRight - 412;
      break;
    case kPrint:
      tip.x = frameRight - 239;
      break;
    default:
      break;
  }
  return tip;
}

KeyAction KeyFor(int vk, unsigned modifiers, Mode panel, const KeyState& state) {
  const bool ctrl = (modifiers & kCtrl) != 0;
  if (vk == kVkEscape && !ctrl) {
    if (state.continuousRunning) return {true, Command::StopContinuousCapture};
    if (state.scrollRunning) return {true, Command::ToggleScrollCapture};
    return {true, Command::None};
  }
  // While a scroll capture steps, Escape is its only key: a command run
  // inside a step would capture or move what the step is reading.
  if (state.scrollRunning) return {true, Command::None};
  if (vk == kVkReturn && !ctrl) return {true, Command::None};
  if (panel != Mode::Normal) return {};
  if (modifiers == kCtrl) {
    switch (vk) {
      case 'L':
        return state.normalMode ? KeyAction{true, Command::StartScrollCapture} : KeyAction{};
      case 'D':
        return {true, Command::RegionSelectionHideFrame};
      case 'F':
        return {true, Command::PickWindowCapture};
      case kVkReturn:
        return {true, Command::CaptureFullScreen};
      case 'C':
        return {true, Command::CopyArea};
      case 'R':
        return {true, Command::LaunchRecorder};
      default:
        return {};
    }
  }
  if (modifiers != kNoModifier) return {};
  switch (vk) {
    case kVkF2:
      return {true, Command::CaptureArea};
    case kVkF3:
      return {true, Command::StartContinuousCapture};
    case kVkF10:
      return {true, Command::OpenSaveFolder};
    case kVkF9:
      return {true, Command::SnapToWindow};
    case kVkF8:
      return {true, Command::PrintArea};
    case kVkF12:
      return {true, Command::CentreFrame};
    default:
      return {};
  }
}

}  // namespace framlet::toolbar
