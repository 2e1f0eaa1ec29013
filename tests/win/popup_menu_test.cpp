// Owner-drawn popup menus: what Build() puts in the menu (texts, icons, rules,
// breaks, check marks) and what a tracked menu shows and answers.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/notify_menu.h"
#include "app/notify_menu_rules.h"
#include "core/command_ids.h"
#include "core/settings.h"
#include "resource.h"
#include "ui/gdi.h"
#include "ui/picture.h"
#include "test_windows.h"
#include "ui/popup_menu.h"
#include "win_test_util.h"

using namespace framlet;

namespace {

struct BuiltItem {
  UINT type = 0;
  UINT state = 0;
  UINT id = 0;
  std::wstring text;
  HBITMAP bitmap = nullptr;
};

BuiltItem ItemAt(HMENU menu, int position) {
  BuiltItem item;
  wchar_t text[256] = {};
  MENUITEMINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_BITMAP;
  info.dwTypeData = text;
  info.cch = 255;
  EXPECT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) << position;
  item.type = info.fType;
  item.state = info.fState;
  item.id = info.wID;
  item.text = text;
  item.bitmap = info.hbmpItem;
  return item;
}

TEST(PopupMenuBuild, NotifyMenusHoldTheirItemsIconsRulesAndBreak) {
  struct Case {
    const char* situation;
    bool hiddenToTray;
    bool normalMode;
  };
  const Case cases[] = {{"visible, normal mode", false, true}, {"hidden, web mode", true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    const auto expected = app::NotifyMenuItems(c.hiddenToTray, c.normalMode);
    ui::PopupMenu menu = app::BuildNotifyMenu(c.hiddenToTray, c.normalMode);
    ASSERT_TRUE(menu);
    ASSERT_EQ(GetMenuItemCount(menu.Handle()), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
      SCOPED_TRACE(i);
      const BuiltItem item = ItemAt(menu.Handle(), static_cast<int>(i));
      EXPECT_TRUE(item.type & MFT_OWNERDRAW);
      if (expected[i].rule) {
        EXPECT_TRUE(item.type & MFT_SEPARATOR);
        continue;
      }
      EXPECT_FALSE(item.type & MFT_SEPARATOR);
      EXPECT_EQ(item.id, expected[i].id);
      EXPECT_EQ(item.text, expected[i].text);
      EXPECT_EQ((item.type & MFT_MENUBREAK) != 0, expected[i].id == ID_CAPTURE_AREA);
      EXPECT_FALSE(item.state & (MFS_CHECKED | MFS_DISABLED));
      ASSERT_NE(item.bitmap, nullptr);
      const SIZE size = ui::BitmapSize(item.bitmap);
      EXPECT_EQ(size.cx, 16);
      EXPECT_EQ(size.cy, 16);
    }
  }
}

TEST(PopupMenuBuild, CheckMarksGreyItemsRuleIdsAndMissingIcons) {
  std::vector<ui::PopupMenuItem> items = {ui::MenuCommand(ID_MORE_AREA, IDB_MENU_AREA_CAPTURE, L" 영역캡쳐"),
                                          ui::MenuRule(262), ui::MenuCommand(ID_MORE_PRINT, 9999, L" 인쇄"),
                                          ui::MenuCommand(ID_MORE_COPY, 0, L" 복사하기")};
  items[0].checked = true;
  items[2].disabled = true;
  items[3].menuBreak = true;
  ui::PopupMenu menu = ui::PopupMenu::Build(items);
  ASSERT_TRUE(menu);
  ASSERT_EQ(GetMenuItemCount(menu.Handle()), 4);
  const BuiltItem checked = ItemAt(menu.Handle(), 0);
  EXPECT_TRUE(checked.state & MFS_CHECKED);
  EXPECT_FALSE(checked.state & MFS_DISABLED);
  const BuiltItem rule = ItemAt(menu.Handle(), 1);
  EXPECT_TRUE(rule.type & MFT_SEPARATOR);
  EXPECT_EQ(rule.id, 262u);
  const BuiltItem grey = ItemAt(menu.Handle(), 2);
  EXPECT_TRUE(grey.state & MFS_DISABLED);
  EXPECT_EQ(grey.bitmap, nullptr);  // icon 9999 does not exist: the item stays, without an icon
  EXPECT_EQ(grey.text, L" 인쇄");
  const BuiltItem columnStart = ItemAt(menu.Handle(), 3);
  EXPECT_TRUE(columnStart.type & MFT_MENUBREAK);
  EXPECT_EQ(columnStart.bitmap, nullptr);
  EXPECT_EQ(menu.Items().size(), 4u);
}

// ---- tracked menus ------------------------------------------------------------

using PopupMenuTrack = wintest::WinTest;

// A plain visible window to own the menus.
class MenuOwner {
 public:
  MenuOwner() : window_(Look()) {
    wintest::PumpUntil([&] { return wintest::Painted(window_.Hwnd()); });
  }
  HWND Get() const { return window_.Hwnd(); }

 private:
  static testwin::Look Look() {
    testwin::Look look = testwin::Ordinary(50, 50, 300, 200, L"menu owner");
    look.activate = true;
    return look;
  }
  testwin::Window window_;
};

HWND FindMenuWindow() {
  HWND found = FindWindowW(L"#32768", nullptr);
  return found && IsWindowVisible(found) ? found : nullptr;
}

// While this thread tracks a menu, runs `whileShown` on another thread as soon
// as the menu's window is on screen (given that window).
class MenuWatcher {
 public:
  explicit MenuWatcher(std::function<void(HWND)> whileShown)
      : thread_([this, whileShown] {
          const DWORD start = GetTickCount();
          HWND menuWindow = nullptr;
          while (!(menuWindow = FindMenuWindow()) && GetTickCount() - start < 10000) Sleep(20);
          sawMenu_ = menuWindow != nullptr;
          if (menuWindow) whileShown(menuWindow);
        }) {}
  ~MenuWatcher() {
    if (thread_.joinable()) thread_.join();
  }
  bool SawMenu() {
    if (thread_.joinable()) thread_.join();
    return sawMenu_;
  }

 private:
  std::atomic<bool> sawMenu_{false};
  std::thread thread_;
};

void PostKey(HWND menuWindow, WPARAM key) {
  PostMessageW(menuWindow, WM_KEYDOWN, key, 1);
  PostMessageW(menuWindow, WM_KEYUP, key, 0xC0000001);
}

// The screen under `rect`, one COLORREF per pixel, rows top to bottom.
struct Grab {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Grab GrabScreen(const RECT& rect) {
  Grab grab;
  grab.width = rect.right - rect.left;
  grab.height = rect.bottom - rect.top;
  ui::WindowDC screen(nullptr);
  ui::MemoryDC memory(screen);
  ui::Bitmap bitmap(CreateCompatibleBitmap(screen, grab.width, grab.height));
  {
    ui::SelectGuard select(memory, bitmap);
    BitBlt(memory, 0, 0, grab.width, grab.height, screen, rect.left, rect.top, SRCCOPY);
  }
  BITMAPINFOHEADER header = {sizeof header, grab.width, -grab.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<RGBQUAD> quads(static_cast<size_t>(grab.width) * grab.height);
  GetDIBits(screen, bitmap, 0, grab.height, quads.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  for (const RGBQUAD& q : quads) grab.pixels.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
  return grab;
}

// True when the picture's pixels, its magenta see-through key left out, show
// somewhere in the grab.
bool ShowsPicture(const Grab& grab, HBITMAP picture) {
  const SIZE size = ui::BitmapSize(picture);
  ui::MemoryDC dc(nullptr);
  ui::SelectGuard select(dc, picture);
  std::vector<POINT> points;
  std::vector<COLORREF> colours;
  for (int y = 0; y < size.cy; ++y) {
    for (int x = 0; x < size.cx; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      if (c == ui::kColourKey) continue;
      points.push_back({x, y});
      colours.push_back(c);
    }
  }
  for (int top = 0; top + size.cy <= grab.height; ++top) {
    for (int left = 0; left + size.cx <= grab.width; ++left) {
      size_t i = 0;
      while (i < points.size() && grab.At(left + points[i].x, top + points[i].y) == colours[i]) ++i;
      if (i == points.size()) return true;
    }
  }
  return false;
}

int CountColour(const Grab& grab, COLORREF colour) {
  int count = 0;
  for (COLORREF c : grab.pixels) count += c == colour;
  return count;
}

// Grabs the window until `condition` holds for the grab (it has painted), at most 5 s.
bool WaitForGrab(HWND window, const std::function<bool(const Grab&)>& condition) {
  const DWORD start = GetTickCount();
  for (;;) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    if (condition(GrabScreen(rect))) return true;
    if (GetTickCount() - start > 5000) return false;
    Sleep(20);
  }
}

void SaveScreenshot(const RECT& rect, const std::string& name) {
  char folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("FRAMLET_SCREENSHOTS", folder, sizeof folder)) return;
  CreateDirectoryA(folder, nullptr);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  ui::WindowDC screen(nullptr);
  ui::MemoryDC memory(screen);
  ui::Bitmap bitmap(CreateCompatibleBitmap(screen, w, h));
  {
    ui::SelectGuard select(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, rect.left, rect.top, SRCCOPY);
  }
  BITMAPINFOHEADER header = {sizeof header, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD stride = ((w * 3 + 3) & ~3);
  std::vector<BYTE> bytes(stride * h);
  GetDIBits(screen, bitmap, 0, h, bytes.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof header + bytes.size()), 0, 0,
                           sizeof file + sizeof header};
  FILE* out = fopen((std::string(folder) + "\\" + name).c_str(), "wb");
  if (!out) return;
  fwrite(&file, sizeof file, 1, out);
  fwrite(&header, sizeof header, 1, out);
  fwrite(bytes.data(), 1, bytes.size(), out);
  fclose(out);
}

// The tracked notification menu draws every icon at its item, the grey strip
// and the highlight; the arrow keys step over the rule and Enter chooses.
TEST_F(PopupMenuTrack, DrawsIconsAndHighlightAndArrowKeysSkipTheRule) {
  MenuOwner owner;
  ui::PopupMenu menu = app::BuildNotifyMenu(true, false);  // recorder, rule, open folder, ...
  ASSERT_TRUE(menu);
  ui::Picture icon(IDB_MENU_RECORD);
  ASSERT_TRUE(icon);
  ui::Picture helpIcon(IDB_MENU_HELP);
  ASSERT_TRUE(icon && helpIcon);
  // The highlight's border: the highlight grey darkened, drawn nowhere else.
  const COLORREF highlightBorder = RGB(132, 132, 132);
  std::atomic<int> menuWidth{0};
  std::atomic<bool> iconsDrawn{false}, stripDrawn{false}, unhighlighted{false}, highlighted{false};
  MenuWatcher watcher([&](HWND menuWindow) {
    iconsDrawn = WaitForGrab(menuWindow, [&](const Grab& g) {
      return ShowsPicture(g, icon.Handle()) && ShowsPicture(g, helpIcon.Handle());
    });
    stripDrawn = WaitForGrab(menuWindow, [](const Grab& g) { return CountColour(g, RGB(188, 188, 188)) > 0; });
    unhighlighted = WaitForGrab(menuWindow, [&](const Grab& g) { return CountColour(g, highlightBorder) == 0; });
    PostKey(menuWindow, VK_DOWN);  // first item
    PostKey(menuWindow, VK_DOWN);  // over the rule to the open-folder item
    highlighted = WaitForGrab(menuWindow, [&](const Grab& g) { return CountColour(g, highlightBorder) > 100; });
    RECT shown = {};
    GetWindowRect(menuWindow, &shown);
    menuWidth = shown.right - shown.left;
    SaveScreenshot(shown, "notify_menu_hidden_web.bmp");
    PostKey(menuWindow, VK_RETURN);
  });
  const UINT chosen = menu.Track(owner.Get(), 100, 100, TPM_RIGHTBUTTON);
  ASSERT_TRUE(watcher.SawMenu());
  EXPECT_TRUE(iconsDrawn);
  EXPECT_TRUE(stripDrawn);
  EXPECT_TRUE(unhighlighted);
  EXPECT_TRUE(highlighted);
  EXPECT_GE(menuWidth.load(), 150);
  EXPECT_EQ(chosen, unsigned{ID_OPEN_SAVE_FOLDER});
  // Without TPM_RETURNCMD the owner also gets the choice as a command.
  MSG msg = {};
  bool commandPosted = false;
  while (PeekMessageW(&msg, owner.Get(), 0, 0, PM_REMOVE)) {
    if (msg.message == WM_COMMAND && LOWORD(msg.wParam) == ID_OPEN_SAVE_FOLDER) commandPosted = true;
  }
  EXPECT_TRUE(commandPosted);
}

// The full menu is one column (the first item's break starts none) and closes
// without a choice when the owner cancels it.
TEST_F(PopupMenuTrack, FullMenuIsOneColumnAndClosesWithoutChoice) {
  MenuOwner owner;
  ui::PopupMenu menu = app::BuildNotifyMenu(false, true);
  ui::Picture exitIcon(IDB_MENU_CLOSE_FRAMLET);
  std::atomic<bool> painted{false};
  RECT shown = {};
  MenuWatcher watcher([&](HWND menuWindow) {
    painted = WaitForGrab(menuWindow, [&](const Grab& g) { return ShowsPicture(g, exitIcon.Handle()); });
    GetWindowRect(menuWindow, &shown);
    SaveScreenshot(shown, "notify_menu_visible_normal.bmp");
    PostMessageW(owner.Get(), WM_CANCELMODE, 0, 0);
  });
  EXPECT_EQ(menu.Track(owner.Get(), 100, 100, TPM_RIGHTBUTTON | TPM_RETURNCMD), 0u);
  ASSERT_TRUE(watcher.SawMenu());
  EXPECT_TRUE(painted);
  EXPECT_GT(2 * (shown.bottom - shown.top), 3 * (shown.right - shown.left)) << "more than one column";
}

// ---- options menu (menu 215) ------------------------------------------------------

using OptionsMenu = wintest::WinTest;

TEST_F(OptionsMenu, ItemsAndCheckMarksFromTheSettings) {
  struct Row {
    UINT id;
    const wchar_t* text;
  };
  const Row rows[] = {{ID_OPTMENU_1, L"위치 자동기억"},
                      {ID_OPTMENU_2, L"캡쳐 후 미리보기"},
                      {ID_OPTMENU_3, L"항상 위 유지"},
                      {ID_OPTMENU_4, L"파일명 자동저장"},
                      {ID_OPTMENU_5, L"환경설정      (Alt+O)"}};
  struct Case {
    const char* situation;
    const char* alwaysTop;  // nullptr: not written
    const char* autoSave;
    bool checked[5];
  };
  const Case cases[] = {
      {"fresh settings: the defaults", nullptr, nullptr, {true, true, true, false, false}},
      {"auto save True, always on top off", "FALSE", "True", {true, true, false, true, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    if (c.alwaysTop) settings::WriteText(keys::kAlwaysTop, c.alwaysTop);
    if (c.autoSave) settings::WriteText(keys::kAutoSave, c.autoSave);
    ui::Menu menu = app::LoadOptionsMenu();
    ASSERT_TRUE(menu);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    wchar_t name[64] = {};
    GetMenuStringW(menu, 0, name, 64, MF_BYPOSITION);
    EXPECT_STREQ(name, L"OPTIONMENU");
    ASSERT_EQ(GetMenuItemCount(popup), 5);
    for (int i = 0; i < 5; ++i) {
      SCOPED_TRACE(i);
      const BuiltItem item = ItemAt(popup, i);
      EXPECT_EQ(item.id, rows[i].id);
      EXPECT_EQ(item.text, rows[i].text);
      EXPECT_EQ((item.state & MFS_CHECKED) != 0, c.checked[i]);
    }
  }
}

}  // namespace

namespace {

// A checked item is framed in the strip (and gets a drawn check mark when it
// has no icon); an unchecked menu shows neither.
TEST_F(PopupMenuTrack, CheckedItemsAreMarked) {
  const COLORREF checkFrame = RGB(113, 113, 113);  // the highlight grey darkened, used for check frames only
  struct Case {
    const char* situation;
    bool checked;
  };
  for (const Case& c : {Case{"checked", true}, Case{"unchecked", false}}) {
    SCOPED_TRACE(c.situation);
    MenuOwner owner;
    std::vector<ui::PopupMenuItem> items = {ui::MenuCommand(ID_OPTMENU_1, 0, L"위치 자동기억"),
                                            ui::MenuCommand(ID_OPTMENU_4, IDB_MENU_COPY, L"파일명 자동저장")};
    items[0].checked = c.checked;
    items[1].checked = c.checked;
    ui::PopupMenu menu = ui::PopupMenu::Build(items);
    ui::Picture icon(IDB_MENU_COPY);
    std::atomic<int> frames{-1}, blackInStrip{-1};
    MenuWatcher watcher([&](HWND menuWindow) {
      WaitForGrab(menuWindow, [&](const Grab& g) { return ShowsPicture(g, icon.Handle()); });
      RECT shown = {};
      GetWindowRect(menuWindow, &shown);
      const Grab g = GrabScreen(shown);
      frames = CountColour(g, checkFrame);
      int black = 0;
      for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < 28 && x < g.width; ++x) black += g.At(x, y) == RGB(0, 0, 0);
      }
      blackInStrip = black;
      SaveScreenshot(shown, std::string("menu_") + c.situation + ".bmp");
      PostMessageW(owner.Get(), WM_CANCELMODE, 0, 0);
    });
    menu.Track(owner.Get(), 100, 100, TPM_RETURNCMD);
    ASSERT_TRUE(watcher.SawMenu());
    if (c.checked) {
      EXPECT_GT(frames.load(), 2 * 4 * 16);  // two frames around 16-pixel icon places
      EXPECT_GT(blackInStrip.load(), 5);     // the drawn check mark
    } else {
      EXPECT_EQ(frames.load(), 0);
      EXPECT_EQ(blackInStrip.load(), 0);
    }
  }
}

}  // namespace

namespace {

// A greyed item's icon is drawn pale, not in its own colours.
TEST_F(PopupMenuTrack, GreyedItemsHavePaleIcons) {
  MenuOwner owner;
  std::vector<ui::PopupMenuItem> items = {ui::MenuCommand(ID_MORE_COPY, IDB_MENU_COPY, L" 복사하기"),
                                          ui::MenuCommand(ID_MORE_PRINT, IDB_MENU_PRINT, L" 인쇄")};
  items[1].disabled = true;
  ui::PopupMenu menu = ui::PopupMenu::Build(items);
  ui::Picture enabledIcon(IDB_MENU_COPY), greyedIcon(IDB_MENU_PRINT);
  std::atomic<bool> painted{false}, greyedInColour{true};
  MenuWatcher watcher([&](HWND menuWindow) {
    painted = WaitForGrab(menuWindow, [&](const Grab& g) { return ShowsPicture(g, enabledIcon.Handle()); });
    RECT shown = {};
    GetWindowRect(menuWindow, &shown);
    greyedInColour = ShowsPicture(GrabScreen(shown), greyedIcon.Handle());
    SaveScreenshot(shown, "menu_greyed.bmp");
    PostMessageW(owner.Get(), WM_CANCELMODE, 0, 0);
  });
  menu.Track(owner.Get(), 100, 100, TPM_RETURNCMD);
  ASSERT_TRUE(watcher.SawMenu());
  EXPECT_TRUE(painted);
  EXPECT_FALSE(greyedInColour);
}

}  // namespace
