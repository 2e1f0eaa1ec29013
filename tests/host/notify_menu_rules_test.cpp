#include "app/notify_menu_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/command_ids.h"
#include "resource.h"

namespace framlet::app {
namespace {

constexpr unsigned kRule = 0;  // a rule's place in an expected id list

std::vector<unsigned> IdsWithRules(const std::vector<ui::PopupMenuItem>& items) {
  std::vector<unsigned> ids;
  for (const auto& item : items) ids.push_back(item.rule ? kRule : item.id);
  return ids;
}

TEST(NotifyMenuItems, ItemsForEachFrameStateAndMode) {
  struct Case {
    const char* situation;
    bool hiddenToTray;
    bool normalMode;
    std::vector<unsigned> ids;
  };
  const Case cases[] = {
      {"visible, normal mode",
       false,
       true,
       {ID_CAPTURE_AREA,
        ID_SCROLL_CAPTURE,
        ID_REGION_SELECT,
        ID_WINDOW_PICK,
        ID_CONTINUOUS_CAPTURE,
        ID_FULL_SCREEN,
        ID_COPY_AREA,
        ID_LAUNCH_RECORDER,
        kRule,
        ID_OPEN_SAVE_FOLDER,
        ID_SNAP_TO_WINDOW,
        ID_PRINT_AREA,
        ID_EDIT_IN_PAINT,
        ID_OPEN_AREA_DIALOG,
        ID_CENTRE_FRAME,
        kRule,
        ID_OPEN_OPTIONS,
        ID_HELP_PAGE,
        kRule,
        ID_SHOW_RESTORED,
        ID_EXIT}},
      {"visible, web mode",
       false,
       false,
       {ID_CAPTURE_AREA, ID_REGION_SELECT, ID_CONTINUOUS_CAPTURE, ID_FULL_SCREEN, ID_COPY_AREA, ID_LAUNCH_RECORDER,
        kRule, ID_OPEN_SAVE_FOLDER, ID_PRINT_AREA, ID_EDIT_IN_PAINT, ID_OPEN_AREA_DIALOG, ID_CENTRE_FRAME, kRule,
        ID_OPEN_OPTIONS, ID_HELP_PAGE, kRule, ID_SHOW_RESTORED, ID_EXIT}},
      {"hidden to the tray, normal mode",
       true,
       true,
       {ID_LAUNCH_RECORDER, kRule, ID_OPEN_SAVE_FOLDER, ID_SNAP_TO_WINDOW, ID_EDIT_IN_PAINT, ID_CENTRE_FRAME, kRule,
        ID_OPEN_OPTIONS, ID_HELP_PAGE, kRule, ID_SHOW_RESTORED, ID_EXIT}},
      {"hidden to the tray, web mode",
       true,
       false,
       {ID_LAUNCH_RECORDER, kRule, ID_OPEN_SAVE_FOLDER, ID_EDIT_IN_PAINT, ID_CENTRE_FRAME, kRule, ID_OPEN_OPTIONS,
        ID_HELP_PAGE, kRule, ID_SHOW_RESTORED, ID_EXIT}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    const auto items = NotifyMenuItems(c.hiddenToTray, c.normalMode);
    EXPECT_EQ(IdsWithRules(items), c.ids);
    // The area-capture item carries the break flag, which does nothing on a first
    // item; a break anywhere else would split the menu into two columns.
    // Nothing is checked or greyed.
    for (size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].menuBreak, items[i].id == ID_CAPTURE_AREA) << i;
      if (items[i].menuBreak) EXPECT_EQ(i, 0u);
      EXPECT_FALSE(items[i].checked) << i;
      EXPECT_FALSE(items[i].disabled) << i;
    }
  }
}

TEST(NotifyMenuItems, EveryItemHasItsIconAndText) {
  struct Row {
    unsigned id;
    unsigned icon;
    const wchar_t* text;
  };
  const Row rows[] = {
      {ID_CAPTURE_AREA, 210, L" 영역 캡쳐                   (F2)"},
      {ID_SCROLL_CAPTURE, 209, L" 스크롤 캡쳐           (Ctrl+L)"},
      {ID_REGION_SELECT, 284, L" 직접지정               (Ctrl+D)"},
      {ID_WINDOW_PICK, 285, L" 영역선택               (Ctrl+F)"},
      {ID_CONTINUOUS_CAPTURE, 208, L" 연속캡쳐                    (F3)"},
      {ID_FULL_SCREEN, 207, L" 전체화면          (Ctrl+Enter)"},
      {ID_COPY_AREA, 206, L" 복사하기               (Ctrl+C)"},
      {ID_LAUNCH_RECORDER, 205, L" 녹화하기               (Ctrl+R)"},
      {ID_OPEN_SAVE_FOLDER, 176, L" 폴더열기                  (F10)"},
      {ID_SNAP_TO_WINDOW, 177, L" 자동좌표                    (F9)"},
      {ID_PRINT_AREA, 178, L" 인쇄                          (F8)"},
      {ID_EDIT_IN_PAINT, 293, L" 이미지 편집                 (E)"},
      {ID_OPEN_AREA_DIALOG, 291, L" 영역 크기조절              (T) "},
      {ID_CENTRE_FRAME, 290, L" 가운데 정렬               (F12)"},
      {ID_OPEN_OPTIONS, 288, L" 환경설정                (Alt_O)"},
      {ID_HELP_PAGE, 289, L" 도움말                   (Alt+H)"},
      {ID_SHOW_RESTORED, 286, L" Framlet 열기              (O)"},
      {ID_EXIT, 287, L" Framlet 닫기              (Z)"},
  };
  const auto items = NotifyMenuItems(false, true);
  std::map<unsigned, const ui::PopupMenuItem*> byId;
  for (const auto& item : items) {
    if (!item.rule) byId[item.id] = &item;
  }
  ASSERT_EQ(byId.size(), std::size(rows));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.id);
    ASSERT_TRUE(byId.count(row.id));
    EXPECT_EQ(byId[row.id]->iconId, row.icon);
    EXPECT_EQ(byId[row.id]->text, row.text);
  }
}

TEST(OptionsMenuChecks, ChecksFollowTheStoredTextsAndDefaults) {
  struct Case {
    const char* situation;
    std::map<std::string, std::string> stored;  // key -> text; a missing key reads its default
    bool remember, review, alwaysTop, autoSave;
  };
  const Case cases[] = {
      {"fresh settings file: the defaults", {}, true, true, true, false},
      {"auto save written with a capital first letter", {{"AUTO_SAVE", "True"}}, true, true, true, true},
      {"everything switched off",
       {{"REMEMBER_POSITION", "FALSE"}, {"CAPTURE_REVIEW", "false"}, {"ALWAYS_TOP", "FALSE"}, {"AUTO_SAVE", "FALSE"}},
       false,
       false,
       false,
       false},
      {"texts other than true are off",
       {{"ALWAYS_TOP", "1"}, {"CAPTURE_REVIEW", "yes"}, {"REMEMBER_POSITION", ""}},
       false,
       false,
       false,
       false},
      {"mixed capitals", {{"ALWAYS_TOP", "tRuE"}, {"AUTO_SAVE", "TRUE"}}, true, true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    auto read = [&](const keys::Setting& setting) {
      auto found = c.stored.find(setting.key);
      return found != c.stored.end() ? found->second : std::string(setting.defaultText);
    };
    const auto checks = OptionsMenuChecks(read);
    ASSERT_EQ(checks.size(), 4u);
    EXPECT_EQ(checks[0].id, unsigned{ID_OPTMENU_1});
    EXPECT_EQ(checks[0].checked, c.remember);
    EXPECT_EQ(checks[1].id, unsigned{ID_OPTMENU_2});
    EXPECT_EQ(checks[1].checked, c.review);
    EXPECT_EQ(checks[2].id, unsigned{ID_OPTMENU_3});
    EXPECT_EQ(checks[2].checked, c.alwaysTop);
    EXPECT_EQ(checks[3].id, unsigned{ID_OPTMENU_4});
    EXPECT_EQ(checks[3].checked, c.autoSave);
  }
}

TEST(OptionsMenuChecks, EachToggleNamesItsSetting) {
  EXPECT_EQ(OptionsMenuSetting(32776), &keys::kRememberPosition);
  EXPECT_EQ(OptionsMenuSetting(32778), &keys::kCaptureReview);
  EXPECT_EQ(OptionsMenuSetting(32780), &keys::kAlwaysTop);
  EXPECT_EQ(OptionsMenuSetting(32782), &keys::kAutoSave);
  EXPECT_EQ(OptionsMenuSetting(32784), nullptr);  // opens the options dialog, no flag
}

}  // namespace
}  // namespace framlet::app
