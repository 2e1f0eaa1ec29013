#include "app/commands_rules.h"

#include <gtest/gtest.h>

#include <set>

#include "core/command_ids.h"
#include "resource.h"

using namespace framlet::commands;
using framlet::frame::Place;
using framlet::frame::Rect;

namespace {

TEST(CommandKeys, TablesInOrderWithTheirKeysAndModeFlag) {
  struct Row {
    int resourceId;
    Key key;
    bool normalModeOnly;
  } expected[] = {
      {295, {kKeyF2, false, false}, false},  {296, {'L', true, false}, true},
      {297, {'D', true, false}, false},      {298, {'F', true, false}, false},
      {299, {kKeyF3, false, false}, false},  {300, {kKeyReturn, true, false}, false},
      {301, {'C', true, false}, false},      {302, {'R', true, false}, false},
      {303, {kKeyF10, false, false}, false}, {304, {kKeyF9, false, false}, true},
      {305, {kKeyF8, false, false}, false},  {318, {kKeyF12, false, false}, false},
      {334, {kKeyLeft, false, true}, false}, {335, {kKeyRight, false, true}, false},
      {336, {kKeyUp, false, true}, false},   {337, {kKeyDown, false, true}, false},
  };
  const auto& tables = Accelerators();
  ASSERT_EQ(tables.size(), std::size(expected));
  for (size_t i = 0; i < tables.size(); ++i) {
    EXPECT_EQ(tables[i].resourceId, expected[i].resourceId) << "position " << i;
    EXPECT_EQ(tables[i].key, expected[i].key) << expected[i].resourceId;
    EXPECT_EQ(tables[i].normalModeOnly, expected[i].normalModeOnly) << expected[i].resourceId;
  }
}

TEST(CommandRoutes, EveryIdReachesItsOperationBehindTheRightGate) {
  struct Case {
    int id;
    Operation operation;
    bool signIn;
    bool normalOnly;
  } cases[] = {
      // Keys.
      {295, Operation::CaptureArea, true, false},
      {296, Operation::StartScrollCapture, true, true},
      {297, Operation::StartRegionSelection, true, false},
      {298, Operation::PickWindowCapture, true, false},
      {299, Operation::StartContinuousCapture, true, false},
      {300, Operation::CaptureFullScreen, true, false},
      {301, Operation::CopyArea, true, false},
      {302, Operation::LaunchRecorder, false, false},
      {303, Operation::OpenSaveFolder, true, false},
      {304, Operation::SnapToWindow, false, true},
      {305, Operation::PrintArea, true, false},
      {318, Operation::CentreFrame, false, false},
      {335, Operation::NudgeRight, false, false},
      // Popup-menu items: never mode-gated as keys are.
      {ID_CAPTURE_AREA, Operation::CaptureArea, true, false},
      {ID_SCROLL_CAPTURE, Operation::StartScrollCapture, true, false},
      {ID_WINDOW_PICK, Operation::PickWindowCapture, true, false},
      {ID_LAUNCH_RECORDER, Operation::LaunchRecorder, false, false},
      {ID_OPEN_SAVE_FOLDER, Operation::OpenSaveFolder, true, false},
      {ID_SNAP_TO_WINDOW, Operation::SnapToWindow, false, false},
      {ID_PRINT_AREA, Operation::PrintArea, true, false},
      {ID_EDIT_IN_PAINT, Operation::EditInPaint, false, false},
      {ID_EDIT_FILE_IN_PAINT, Operation::EditFileInPaint, false, false},
      {ID_OPEN_AREA_DIALOG, Operation::OpenAreaDialogIfClosed, false, false},
      {ID_CENTRE_FRAME, Operation::CentreFrame, false, false},
      {ID_SHOW_RESTORED, Operation::ShowRestored, false, false},
      {ID_OPEN_OPTIONS, Operation::OpenOptions, false, false},
      {ID_HELP_PAGE, Operation::HelpPage, false, false},
      {ID_EXIT, Operation::Exit, false, false},
      // Frame controls.
      {IDC_TO_NORMAL_MODE, Operation::EnterNormalMode, true, false},
      {IDC_TO_WEB_MODE, Operation::EnterWebMode, false, false},
      {IDC_STOP_SCROLL, Operation::ToggleScrollCapture, false, false},
      {IDC_STOP_CONTINUOUS, Operation::StopContinuousCapture, false, false},
      {IDC_AREA_DIALOG, Operation::OpenAreaDialog, false, false},
      {IDC_COORD_LABEL, Operation::OpenAreaDialog, false, false},
  };
  for (const auto& c : cases) {
    const auto route = RouteCommand(c.id);
    ASSERT_TRUE(route.has_value()) << c.id;
    EXPECT_EQ(route->operation, c.operation) << c.id;
    EXPECT_EQ(route->signInNeeded, c.signIn) << c.id;
    EXPECT_EQ(route->normalModeOnly, c.normalOnly) << c.id;
  }
  // Ids the frame handles itself, the options-menu items and the preview's
  // keys are not the command layer's.
  for (int id : {IDC_MINIMIZE, IDC_ALWAYS_TOP, IDC_GO, ID_OPTMENU_1, ID_OPTMENU_5, IDR_ACCEL_PREVIEW_SAVE})
    EXPECT_FALSE(RouteCommand(id).has_value()) << id;
}

TEST(CaptureDecision, ReviewFirstThenAutoSaveElseDialog) {
  EXPECT_EQ(CaptureDecision(true, true), Delivery::Review);
  EXPECT_EQ(CaptureDecision(true, false), Delivery::Review);
  EXPECT_EQ(CaptureDecision(false, true), Delivery::AutoSave);
  EXPECT_EQ(CaptureDecision(false, false), Delivery::SaveDialog);
}

TEST(FullScreenRect, VirtualScreenFromItsRealOrigin) {
  struct Case {
    const char* layout;
    ScreenMetrics screen;
    Rect rect;
  } cases[] = {
      {"one 1920x1080 monitor", {1, 0, 0, 1920, 1080, 1920, 1080}, {0, 0, 1920, 1080}},
      // [ 1280x1024 ][ primary 1920x1080 ]
      {"second monitor on the left", {2, -1280, 0, 3200, 1080, 1920, 1080}, {-1280, 0, 1920, 1080}},
      // second monitor above the primary, shifted left
      {"second monitor above", {2, -200, -900, 2120, 1980, 1920, 1080}, {-200, -900, 1920, 1080}},
      {"second monitor on the right", {2, 0, 0, 3840, 1080, 1920, 1080}, {0, 0, 3840, 1080}},
      {"no monitor count reported", {0, -1280, 0, 3200, 1080, 1920, 1080}, {0, 0, 1920, 1080}},
  };
  for (const auto& c : cases) EXPECT_EQ(FullScreenRect(c.screen), c.rect) << c.layout;
}

TEST(SnapToWindow, FrameHoleCoversTheWindowExactly) {
  struct Case {
    Rect window;
    Place frame;
    bool asksFirst;
  } cases[] = {
      {{100, 200, 740, 680}, {96, 79, 648, 624}, false},
      // A window near the top-left pushes the frame off screen.
      {{10, 30, 410, 330}, {6, -91, 408, 444}, false},
      // On a monitor left of the primary one.
      {{-1200, 50, -400, 650}, {-1204, -71, 808, 744}, false},
      {{0, 0, 1024, 768}, {-4, -121, 1032, 912}, true},
      {{0, 5, 300, 300}, {-4, -116, 308, 439}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CoverPlace(c.window), c.frame) << c.window.left << "," << c.window.top;
    EXPECT_EQ(CoversScreen(c.window, {0, 0, 1920, 1040}), c.asksFirst) << c.window.left << "," << c.window.top;
    // The hole of the placed frame is the window.
    const Place hole = framlet::frame::Hole(c.frame.width, c.frame.height);
    EXPECT_EQ(c.frame.x + hole.x, c.window.left);
    EXPECT_EQ(c.frame.y + hole.y, c.window.top);
    EXPECT_EQ(hole.width, c.window.Width());
    EXPECT_EQ(hole.height, c.window.Height());
  }
  const Point probe = SnapProbePoint(836, 721);
  EXPECT_EQ(probe.x, 418);
  EXPECT_EQ(probe.y, 400);
}

// [ primary 1920x1080, taskbar 40 high ][ 1280x1024 right of it, its taskbar 30 high ]
TEST(SnapToWindow, AWindowCoveringItsMonitorCountsAsCoveringTheScreen) {
  const Rect primaryWork = {0, 0, 1920, 1040};
  const Rect rightWork = {1920, 0, 3200, 994};
  struct Case {
    const char* situation;
    Rect window;
    Rect work;
    bool covers;
  } cases[] = {
      {"maximised, its visible bounds", {0, 0, 1920, 1040}, primaryWork, true},
      {"maximised, its window rectangle with the invisible border", {-8, -8, 1928, 1048}, primaryWork, true},
      {"maximised on the right monitor", {1920, 0, 3200, 994}, rightWork, true},
      {"maximised on the right monitor with the invisible border", {1912, -8, 3208, 1002}, rightWork, true},
      {"full screen on the right monitor", {1920, 0, 3200, 1024}, rightWork, true},
      {"maximised below a taskbar docked at the top", {0, 40, 1920, 1080}, {0, 40, 1920, 1080}, true},
      {"the desktop over both monitors", {0, 0, 3200, 1080}, primaryWork, true},
      {"one pixel short of the work area's bottom", {1920, 0, 3200, 993}, rightWork, false},
      {"one pixel right of the work area's left", {1921, 0, 3200, 994}, rightWork, false},
      {"a window on the right monitor", {2000, 100, 2800, 700}, rightWork, false},
      {"no monitor found: only the origin counts", {-8, -8, 1928, 1048}, {}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(CoversScreen(c.window, c.work), c.covers) << c.situation;
}

TEST(EscapeKey, ContinuousFirstThenScrollElseSwallowed) {
  EXPECT_EQ(EscapeRule(true, true), EscapeAction::StopContinuous);
  EXPECT_EQ(EscapeRule(true, false), EscapeAction::StopContinuous);
  EXPECT_EQ(EscapeRule(false, true), EscapeAction::ToggleScroll);
  EXPECT_EQ(EscapeRule(false, false), EscapeAction::Swallow);
}

TEST(OpenSaveFolder, OnlyAnExistingStoredFolderElseDocuments) {
  const std::set<std::string> folders = {"C:\\Pictures", "D:\\캡쳐"};
  const auto isFolder = [&](const std::string& p) { return folders.count(p) > 0; };
  const std::string docs = "C:\\users\\me\\My Documents\\framlet";
  struct Case {
    const char* situation;
    std::string stored;
    std::string opened;
  } cases[] = {
      {"existing folder", "C:\\Pictures", "C:\\Pictures"},
      {"existing folder with a Korean name", "D:\\캡쳐", "D:\\캡쳐"},
      {"nothing stored", "", docs},
      {"a folder since removed", "C:\\Gone", docs},
      {"a program path is never run", "C:\\Windows\\notepad.exe", docs},
      {"an address is never opened", "http://example.com/", docs},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderToOpen(c.stored, docs, isFolder), c.opened) << c.situation;
}

TEST(FileDialogFilter, BarsBecomeTerminatorsAndPatternsLoseTheirBlanks) {
  using namespace std::string_literals;
  EXPECT_EQ(FileDialogFilter("Image (*.BMP,*.JPG,*.GIF,*.PNG) | *.BMP;*.JPG;*.GIF;*.PNG |"),
            "Image (*.BMP,*.JPG,*.GIF,*.PNG) \0*.BMP;*.JPG;*.GIF;*.PNG\0\0"s);
  EXPECT_EQ(FileDialogFilter("그림|*.bmp|모든 파일|*.*|"), "그림\0*.bmp\0모든 파일\0*.*\0\0"s);
  // No bar at all: an empty list rather than a text with no pattern.
  EXPECT_EQ(FileDialogFilter(""), "\0"s);
}

TEST(ToolbarRoute, EachPanelCommandReachesItsOperationBehindTheKeysGate) {
  using C = framlet::toolbar::Command;
  using Kind = ToolbarAction::Kind;
  struct Case {
    C command;
    Kind kind;
    Operation operation;
    bool gated;
  } cases[] = {
      {C::CaptureArea, Kind::Operation, Operation::CaptureArea, true},
      {C::StartScrollCapture, Kind::Operation, Operation::StartScrollCapture, true},
      {C::PickWindowCapture, Kind::Operation, Operation::PickWindowCapture, true},
      {C::StartContinuousCapture, Kind::Operation, Operation::StartContinuousCapture, true},
      {C::CaptureFullScreen, Kind::Operation, Operation::CaptureFullScreen, true},
      {C::CopyArea, Kind::Operation, Operation::CopyArea, true},
      {C::OpenSaveFolder, Kind::Operation, Operation::OpenSaveFolder, true},
      {C::PrintArea, Kind::Operation, Operation::PrintArea, true},
      // Not gated: the recorder, snapping, centring and the stop buttons' commands.
      {C::LaunchRecorder, Kind::Operation, Operation::LaunchRecorder, false},
      {C::SnapToWindow, Kind::Operation, Operation::SnapToWindow, false},
      {C::CentreFrame, Kind::Operation, Operation::CentreFrame, false},
      {C::StopContinuousCapture, Kind::Operation, Operation::StopContinuousCapture, false},
      {C::ToggleScrollCapture, Kind::Operation, Operation::ToggleScrollCapture, false},
  };
  for (const Case& c : cases) {
    const ToolbarAction action = ToolbarRoute(c.command);
    EXPECT_EQ(action.kind, c.kind) << static_cast<int>(c.command);
    EXPECT_EQ(action.operation, c.operation) << static_cast<int>(c.command);
    EXPECT_EQ(action.signInNeeded, c.gated) << static_cast<int>(c.command);
  }
  // The two region selections differ only in hiding the frame; both are gated.
  EXPECT_EQ(ToolbarRoute(C::RegionSelectionHideFrame).kind, Kind::RegionSelection);
  EXPECT_TRUE(ToolbarRoute(C::RegionSelectionHideFrame).hideFrame);
  EXPECT_FALSE(ToolbarRoute(C::RegionSelectionKeepFrame).hideFrame);
  EXPECT_TRUE(ToolbarRoute(C::RegionSelectionKeepFrame).signInNeeded);
  EXPECT_EQ(ToolbarRoute(C::WholePageCapture).kind, Kind::WholePage);
  EXPECT_TRUE(ToolbarRoute(C::WholePageCapture).signInNeeded);
  // A greyed button asks for nothing, not even the sign-in prompt.
  EXPECT_EQ(ToolbarRoute(C::None).kind, Kind::Nothing);
  EXPECT_FALSE(ToolbarRoute(C::None).signInNeeded);
}

}  // namespace
