#include "app/notify_menu_rules.h"

#include "core/command_ids.h"
#include "core/settings_rules.h"
#include "resource.h"

namespace framlet::app {

using ui::MenuCommand;
using ui::MenuRule;
using ui::PopupMenuItem;

std::vector<PopupMenuItem> NotifyMenuItems(bool hiddenToTray, bool normalMode) {
  // The key names in the texts are labels; the blanks line them up in the menu font.
  std::vector<PopupMenuItem> items = {
      MenuCommand(ID_CAPTURE_AREA, IDB_MENU_AREA_CAPTURE, L" 영역 캡쳐                   (F2)"),
      MenuCommand(ID_SCROLL_CAPTURE, IDB_MENU_SCROLL, L" 스크롤 캡쳐           (Ctrl+L)"),
      MenuCommand(ID_REGION_SELECT, IDB_MENU_REGION, L" 직접지정               (Ctrl+D)"),
      MenuCommand(ID_WINDOW_PICK, IDB_MENU_WINDOW_PICK, L" 영역선택               (Ctrl+F)"),
      MenuCommand(ID_CONTINUOUS_CAPTURE, IDB_MENU_CONTINUOUS, L" 연속캡쳐                    (F3)"),
      MenuCommand(ID_FULL_SCREEN, IDB_MENU_FULL_SCREEN, L" 전체화면          (Ctrl+Enter)"),
      MenuCommand(ID_COPY_AREA, IDB_MENU_COPY, L" 복사하기               (Ctrl+C)"),
      MenuCommand(ID_LAUNCH_RECORDER, IDB_MENU_RECORD, L" 녹화하기               (Ctrl+R)"),
      MenuRule(),
      MenuCommand(ID_OPEN_SAVE_FOLDER, IDB_MENU_OPEN_FOLDER, L" 폴더열기                  (F10)"),
      MenuCommand(ID_SNAP_TO_WINDOW, IDB_MENU_AUTO_COORD, L" 자동좌표                    (F9)"),
      MenuCommand(ID_PRINT_AREA, IDB_MENU_PRINT, L" 인쇄                          (F8)"),
      MenuCommand(ID_EDIT_IN_PAINT, IDB_MENU_EDIT_IMAGE, L" 이미지 편집                 (E)"),
      MenuCommand(ID_EDIT_FILE_IN_PAINT, IDB_MENU_EDIT_PREVIOUS, L" 이전 캡쳐화면 편집       (P)"),
      MenuCommand(ID_OPEN_AREA_DIALOG, IDB_MENU_RESIZE_AREA, L" 영역 크기조절              (T) "),
      MenuCommand(ID_CENTRE_FRAME, IDB_MENU_CENTRE, L" 가운데 정렬               (F12)"),
      MenuRule(),
      MenuCommand(ID_OPEN_OPTIONS, IDB_MENU_OPTIONS, L" 환경설정                (Alt_O)"),
      MenuCommand(ID_HELP_PAGE, IDB_MENU_HELP, L" 도움말                   (Alt+H)"),
      MenuRule(),
      MenuCommand(ID_SHOW_RESTORED, IDB_MENU_OPEN_FRAMLET, L" Framlet 열기              (O)"),
      MenuCommand(ID_EXIT, IDB_MENU_CLOSE_FRAMLET, L" Framlet 닫기              (Z)"),
  };
  items.front().menuBreak = true;
  if (hiddenToTray) {
    ui::RemoveMenuItems(items,
                        {ID_CAPTURE_AREA, ID_SCROLL_CAPTURE, ID_REGION_SELECT, ID_WINDOW_PICK, ID_CONTINUOUS_CAPTURE,
                         ID_FULL_SCREEN, ID_COPY_AREA, ID_PRINT_AREA, ID_OPEN_AREA_DIALOG});
  }
  if (!normalMode) ui::RemoveMenuItems(items, {ID_SCROLL_CAPTURE, ID_WINDOW_PICK, ID_SNAP_TO_WINDOW});
  ui::RemoveMenuItems(items, {ID_EDIT_FILE_IN_PAINT});
  return items;
}

const std::vector<OptionsMenuToggle>& OptionsMenuToggles() {
  static const std::vector<OptionsMenuToggle> kToggles = {
      {ID_OPTMENU_1, &keys::kRememberPosition},
      {ID_OPTMENU_2, &keys::kCaptureReview},
      {ID_OPTMENU_3, &keys::kAlwaysTop},
      {ID_OPTMENU_4, &keys::kAutoSave},
  };
  return kToggles;
}

const keys::Setting* OptionsMenuSetting(unsigned commandId) {
  for (const auto& toggle : OptionsMenuToggles()) {
    if (toggle.id == commandId) return toggle.setting;
  }
  return nullptr;
}

bool OptionsMenuFlagChecked(const std::string& text) {
  return FlagIsOn(text);
}

}  // namespace framlet::app
