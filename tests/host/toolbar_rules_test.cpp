#include "windows/toolbar_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "core/command_ids.h"

namespace tb = framlet::toolbar;
using tb::Mode;

namespace {

// Visible slots as a string, one letter each in slot order: A area, S scroll,
// D region, W window pick, C continuous, F full screen, Y copy, R record,
// O open folder, N snap, P print, | separator, > arrow.
std::string VisibleSlots(int width) {
  static const char kLetters[] = "ASDWCFYRONP|>";
  std::string out;
  const auto places = tb::Layout(width);
  for (int i = 0; i < tb::kSlotCount; ++i)
    if (places[i].visible) out += kLetters[i];
  return out;
}

std::vector<int> MenuIds(int width, Mode mode) {
  std::vector<int> ids;
  for (const auto& item : tb::MoreMenu(width, mode)) ids.push_back(item.id);
  return ids;
}

}  // namespace

TEST(ToolbarLayout, VisibleButtonsByWidth) {
  struct Case {
    int width;
    const char* visible;
  } cases[] = {
      {79, ">"},
      {80, "A>"},
      {139, "A>"},
      {140, "AS>"},
      {259, "ASD>"},
      {260, "ASDW>"},
      {450, "ASDWCFY>"},
      {499, "ASDWCFY>"},
      {500, "ASDWCFYR>"},
      {569, "ASDWCFYR>"},
      {570, "ASDWCFYRO|>"},
      {600, "ASDWCFYRO|>"},
      {619, "ASDWCFYRO|>"},
      {620, "ASDWCFYRON|>"},
      {669, "ASDWCFYRON|>"},
      {670, "ASDWCFYRONP|"},
      {828, "ASDWCFYRONP|"},
  };
  for (const auto& c : cases) EXPECT_EQ(VisibleSlots(c.width), c.visible) << "W = " << c.width;
}

TEST(ToolbarLayout, RightGroupPlaces) {
  struct Case {
    int width;
    int separatorX, folderX, snapX, printX, arrowX;
  } cases[] = {
      {600, 490, 502, 554, 540, 580},  // narrow: fixed places after the left group
      {669, 490, 502, 554, 609, 649},  // last width before the right group moves
      {670, 490, 500, 555, 610, 650},  // the right group follows the right edge
      {828, 648, 658, 713, 768, 808},  // the frame's default width 836
  };
  for (const auto& c : cases) {
    const auto p = tb::Layout(c.width);
    EXPECT_EQ(p[tb::kSeparator].x, c.separatorX) << c.width;
    EXPECT_EQ(p[tb::kSeparator].y, 11) << c.width;
    EXPECT_EQ(p[tb::kOpenFolder].x, c.folderX) << c.width;
    EXPECT_EQ(p[tb::kSnap].x, c.snapX) << c.width;
    EXPECT_EQ(p[tb::kPrint].x, c.printX) << c.width;
    EXPECT_EQ(p[tb::kArrow].x, c.arrowX) << c.width;
    EXPECT_EQ(p[tb::kOpenFolder].y, 5) << c.width;
  }
  // The left group never moves.
  const int leftX[] = {10, 67, 124, 181, 237, 294, 351, 408};
  for (int i = 0; i <= tb::kRecord; ++i) EXPECT_EQ(tb::Layout(828)[i].x, leftX[i]) << i;
}

TEST(ToolbarMoreMenu, ItemsByWidthAndMode) {
  const int rule = tb::kMenuRuleId;
  struct Case {
    int width;
    Mode mode;
    std::vector<int> ids;
  } cases[] = {
      // Frame 458: seven buttons show; record and the right group are in the menu.
      {450, Mode::Normal, {ID_MORE_RECORD, rule, ID_MORE_OPEN_FOLDER, ID_MORE_SNAP, ID_MORE_PRINT}},
      {450, Mode::Web, {ID_MORE_RECORD, rule, ID_MORE_OPEN_FOLDER, ID_MORE_PRINT}},
      // Frame 608: only snap and print are hidden; the rule has no button and stays on top.
      {600, Mode::Normal, {rule, ID_MORE_SNAP, ID_MORE_PRINT}},
      {600, Mode::Web, {rule, ID_MORE_PRINT}},
      {620, Mode::Normal, {rule, ID_MORE_PRINT}},
      // The window-pick button shows from 260 on.
      {260,
       Mode::Normal,
       {ID_MORE_CONTINUOUS, ID_MORE_FULL_SCREEN, ID_MORE_COPY, ID_MORE_RECORD, rule, ID_MORE_OPEN_FOLDER, ID_MORE_SNAP,
        ID_MORE_PRINT}},
      {259,
       Mode::Normal,
       {ID_MORE_WINDOW, ID_MORE_CONTINUOUS, ID_MORE_FULL_SCREEN, ID_MORE_COPY, ID_MORE_RECORD, rule,
        ID_MORE_OPEN_FOLDER, ID_MORE_SNAP, ID_MORE_PRINT}},
      // The web menu also drops window pick between 200 and 260.
      {259,
       Mode::Web,
       {ID_MORE_CONTINUOUS, ID_MORE_FULL_SCREEN, ID_MORE_COPY, ID_MORE_RECORD, rule, ID_MORE_OPEN_FOLDER,
        ID_MORE_PRINT}},
      {200,
       Mode::Web,
       {ID_MORE_WINDOW, ID_MORE_CONTINUOUS, ID_MORE_FULL_SCREEN, ID_MORE_COPY, ID_MORE_RECORD, rule,
        ID_MORE_OPEN_FOLDER, ID_MORE_PRINT}},
      {79,
       Mode::Normal,
       {ID_MORE_AREA, ID_MORE_SCROLL, ID_MORE_REGION, ID_MORE_WINDOW, ID_MORE_CONTINUOUS, ID_MORE_FULL_SCREEN,
        ID_MORE_COPY, ID_MORE_RECORD, rule, ID_MORE_OPEN_FOLDER, ID_MORE_SNAP, ID_MORE_PRINT}},
      {670, Mode::Normal, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MenuIds(c.width, c.mode), c.ids) << "W = " << c.width << (c.mode == Mode::Web ? " web" : " normal");
}

TEST(ToolbarMoreMenu, TextsAndIcons) {
  const auto items = tb::MoreMenu(79, Mode::Normal);
  ASSERT_EQ(items.size(), 12u);
  EXPECT_STREQ(items[0].text, L" 영역캡쳐                    (F2)");
  EXPECT_EQ(items[0].icon, 210);
  EXPECT_STREQ(items[5].text, L" 전체화면          (Ctrl+Enter)");
  EXPECT_EQ(items[5].icon, 207);
  EXPECT_TRUE(items[8].rule);
  EXPECT_EQ(items[8].text, nullptr);
  EXPECT_STREQ(items[9].text, L" 폴더열기                   (f10)");
  EXPECT_EQ(items[9].icon, 176);
  EXPECT_EQ(items[11].icon, 178);
  for (const auto& item : items) {
    if (item.rule) continue;
    EXPECT_NE(item.icon, 0) << item.id;
  }
}

TEST(ToolbarCommands, ButtonsAndItemsByPanel) {
  using C = tb::Command;
  struct Case {
    tb::Slot slot;
    int menuId;
    C normal, web;
  } cases[] = {
      {tb::kArea, ID_MORE_AREA, C::CaptureArea, C::CaptureArea},
      {tb::kScroll, ID_MORE_SCROLL, C::StartScrollCapture, C::None},
      {tb::kRegion, ID_MORE_REGION, C::RegionSelectionHideFrame, C::RegionSelectionKeepFrame},
      {tb::kWindowPick, ID_MORE_WINDOW, C::PickWindowCapture, C::None},
      {tb::kContinuous, ID_MORE_CONTINUOUS, C::StartContinuousCapture, C::StartContinuousCapture},
      {tb::kFullScreen, ID_MORE_FULL_SCREEN, C::CaptureFullScreen, C::WholePageCapture},
      {tb::kCopy, ID_MORE_COPY, C::CopyArea, C::CopyArea},
      {tb::kRecord, ID_MORE_RECORD, C::LaunchRecorder, C::LaunchRecorder},
      {tb::kOpenFolder, ID_MORE_OPEN_FOLDER, C::OpenSaveFolder, C::OpenSaveFolder},
      {tb::kSnap, ID_MORE_SNAP, C::SnapToWindow, C::None},
      {tb::kPrint, ID_MORE_PRINT, C::PrintArea, C::PrintArea},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(tb::ButtonCommand(c.slot, Mode::Normal), c.normal) << c.slot;
    EXPECT_EQ(tb::ButtonCommand(c.slot, Mode::Web), c.web) << c.slot;
    EXPECT_EQ(tb::MenuCommand(c.menuId, Mode::Normal), c.normal) << c.menuId;
    EXPECT_EQ(tb::MenuCommand(c.menuId, Mode::Web), c.web) << c.menuId;
  }
  EXPECT_EQ(tb::SlotId(tb::kRecord, Mode::Normal), IDC_TB_RECORD);
  EXPECT_EQ(tb::SlotId(tb::kRecord, Mode::Web), IDC_TB_RECORD_WEB);
  // Greyed buttons of the web panel keep one picture for every state.
  EXPECT_EQ(tb::ButtonFaces(tb::kScroll, Mode::Web).hover, 311);
  EXPECT_EQ(tb::ButtonFaces(tb::kScroll, Mode::Normal).pressed, 185);
}

TEST(ToolbarTips, ChoiceAndPlaceByFrameWidth) {
  // Frame at left 100, top 50.
  struct Case {
    tb::Slot slot;
    Mode mode;
    int frameWidth;
    bool show;
    int x, width;
  } cases[] = {
      {tb::kArea, Mode::Web, 88, true, 104, 263},
      {tb::kScroll, Mode::Normal, 836, true, 163, 241},
      {tb::kScroll, Mode::Web, 836, false, 0, 0},
      {tb::kWindowPick, Mode::Normal, 267, false, 0, 0},
      {tb::kWindowPick, Mode::Normal, 268, true, 278, 299},
      {tb::kContinuous, Mode::Normal, 327, false, 0, 0},
      {tb::kContinuous, Mode::Normal, 328, true, 334, 328},
      {tb::kCopy, Mode::Normal, 448, true, 448, 310},
      {tb::kRecord, Mode::Web, 507, false, 0, 0},
      {tb::kRecord, Mode::Web, 508, true, 505, 228},
      {tb::kOpenFolder, Mode::Normal, 577, false, 0, 0},
      {tb::kOpenFolder, Mode::Normal, 608, true, 355, 310},
      {tb::kOpenFolder, Mode::Normal, 836, true, 936 - 423, 310},
      {tb::kSnap, Mode::Normal, 628, false, 0, 0},
      {tb::kSnap, Mode::Normal, 665, true, 365, 353},
      {tb::kSnap, Mode::Normal, 666, true, 766 - 412, 353},
      {tb::kSnap, Mode::Web, 836, false, 0, 0},
      {tb::kPrint, Mode::Normal, 675, false, 0, 0},  // narrower than 676: no tip
      {tb::kPrint, Mode::Normal, 836, true, 936 - 239, 235},
  };
  for (const auto& c : cases) {
    const tb::Tip tip = tb::TipFor(c.slot, c.mode, 100, 50, 100 + c.frameWidth);
    EXPECT_EQ(tip.show, c.show) << c.slot << " F = " << c.frameWidth;
    if (!c.show) continue;
    EXPECT_EQ(tip.x, c.x) << c.slot << " F = " << c.frameWidth;
    EXPECT_EQ(tip.y, 130) << c.slot;
    EXPECT_EQ(tip.width, c.width) << c.slot;
    EXPECT_EQ(tip.index, static_cast<int>(c.slot)) << c.slot;
  }
}

TEST(ToolbarKeys, ByPanelAndState) {
  using C = tb::Command;
  const tb::KeyState idle{true, false, false};
  const tb::KeyState continuous{true, true, true};
  const tb::KeyState scrolling{true, false, true};
  const tb::KeyState webMode{false, false, false};
  const unsigned none = tb::kNoModifier, ctrl = tb::kCtrl, shift = tb::kShift, alt = tb::kAlt;
  struct Case {
    int vk;
    unsigned modifiers;
    Mode panel;
    tb::KeyState state;
    bool handled;
    C command;
  } cases[] = {
      {tb::kVkEscape, none, Mode::Normal, continuous, true, C::StopContinuousCapture},
      {tb::kVkEscape, none, Mode::Web, scrolling, true, C::ToggleScrollCapture},
      {tb::kVkEscape, none, Mode::Normal, idle, true, C::None},  // swallowed
      {tb::kVkReturn, none, Mode::Web, idle, true, C::None},
      {tb::kVkReturn, ctrl, Mode::Normal, idle, true, C::CaptureFullScreen},
      {tb::kVkF2, none, Mode::Normal, idle, true, C::CaptureArea},
      {tb::kVkF2, none, Mode::Normal, scrolling, true, C::None},  // a scroll step's keys are swallowed
      {'C', ctrl, Mode::Web, scrolling, true, C::None},
      {tb::kVkF2, none, Mode::Web, idle, false, C::None},  // the web panel leaves it to the frame
      {tb::kVkF2, ctrl, Mode::Normal, idle, false, C::None},
      {'L', ctrl, Mode::Normal, idle, true, C::StartScrollCapture},
      {'L', ctrl, Mode::Normal, webMode, false, C::None},
      {'L', none, Mode::Normal, idle, false, C::None},
      {'D', ctrl, Mode::Normal, idle, true, C::RegionSelectionHideFrame},
      {'C', ctrl, Mode::Normal, idle, true, C::CopyArea},
      {tb::kVkF9, none, Mode::Normal, idle, true, C::SnapToWindow},
      {tb::kVkF12, none, Mode::Normal, idle, true, C::CentreFrame},
      {tb::kVkF3, none, Mode::Normal, idle, true, C::StartContinuousCapture},
      {tb::kVkF8, none, Mode::Normal, idle, true, C::PrintArea},
      {tb::kVkF10, none, Mode::Normal, idle, true, C::OpenSaveFolder},
      {'F', ctrl, Mode::Normal, idle, true, C::PickWindowCapture},
      {'R', ctrl, Mode::Normal, idle, true, C::LaunchRecorder},
      // Modifiers match exactly, as in the frame's tables.
      {tb::kVkF2, shift, Mode::Normal, idle, false, C::None},
      {'C', ctrl | shift, Mode::Normal, idle, false, C::None},
      {'C', ctrl | alt, Mode::Normal, idle, false, C::None},
      {tb::kVkReturn, ctrl | shift, Mode::Normal, idle, false, C::None},
      {tb::kVkF12, shift, Mode::Normal, idle, false, C::None},
      {tb::kVkEscape, shift, Mode::Normal, continuous, true, C::StopContinuousCapture},
  };
  for (const auto& c : cases) {
    const tb::KeyAction a = tb::KeyFor(c.vk, c.modifiers, c.panel, c.state);
    EXPECT_EQ(a.handled, c.handled) << c.vk << " modifiers " << c.modifiers;
    EXPECT_EQ(a.command, c.command) << c.vk << " modifiers " << c.modifiers;
  }
}
