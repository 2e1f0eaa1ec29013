// The area dialog over a stand-in frame, worked from a second thread: the
// numbers it opens with, its controls and spins, what OK does to the frame,
// and the refusal of a corner off the virtual screen.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "core/command_ids.h"
#include "core/settings.h"
#include "dialog_test_util.h"
#include "win_test_util.h"
#include "windows/area_setting_dlg.h"

using namespace framlet;
using wintest::Click;
using wintest::ItemText;
using wintest::SetItemText;

namespace {

constexpr wchar_t kTitle[] = L"영역지정";

RECT WindowRectOf(HWND hwnd) {
  RECT r = {};
  GetWindowRect(hwnd, &r);
  return r;
}

// The message box the dialog shows (owned by it), found within ms.
HWND WaitMessageBox(HWND owner, int ms) {
  const DWORD start = GetTickCount();
  while (static_cast<int>(GetTickCount() - start) < ms) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
      wchar_t cls[32] = {};
      GetClassNameW(w, cls, 32);
      if (GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w) && std::wstring(cls) == L"#32770") return w;
    }
    Sleep(20);
  }
  return nullptr;
}

void TypeArea(HWND d, const wchar_t* x, const wchar_t* y, const wchar_t* w, const wchar_t* h) {
  SetItemText(d, IDC_AREA_X, x);
  SetItemText(d, IDC_AREA_Y, y);
  SetItemText(d, IDC_AREA_WIDTH, w);
  SetItemText(d, IDC_AREA_HEIGHT, h);
}

class AreaSettingDlgTest : public wintest::WinTest {
 protected:
  INT_PTR Run(CAreaSettingDlg& dialog, HWND frame, const std::function<void(HWND)>& steps) {
    bool found = false;
    const INT_PTR result = wintest::RunModal([&] { return dialog.DoModal(frame); }, kTitle, frame, steps, &found);
    EXPECT_TRUE(found) << "the area dialog never appeared";
    return result;
  }
};

TEST_F(AreaSettingDlgTest, OpensWithTheStoredHoleAndItsControls) {
  wintest::FakeFrame frame(50, 40, 700, 500);
  const int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  CAreaSettingDlg dialog;

  // No stored placement: the default frame's hole. The frame's real place does not count.
  std::wstring caption;
  std::string texts;
  RECT window = {};
  int lower[4] = {}, upper[4] = {};
  bool buddied[4] = {}, noThousands[4] = {};
  const int edits[] = {IDC_AREA_X, IDC_AREA_Y, IDC_AREA_WIDTH, IDC_AREA_HEIGHT};
  const int spins[] = {IDC_AREA_X_SPIN, IDC_AREA_Y_SPIN, IDC_AREA_WIDTH_SPIN, IDC_AREA_HEIGHT_SPIN};
  EXPECT_EQ(Run(dialog, frame.Hwnd(),
                [&](HWND d) {
                  caption = wintest::Text(d);
                  window = WindowRectOf(d);
                  texts = wintest::ControlDifferences(d, {
                                                             {IDC_AREA_X, -1, -1, -1, -1, L"4"},
                                                             {IDC_AREA_Y, -1, -1, -1, -1, L"121"},
                                                             {IDC_AREA_WIDTH, -1, -1, -1, -1, L"828"},
                                                             {IDC_AREA_HEIGHT, -1, -1, -1, -1, L"577"},
                                                             {IDC_AREA_X_LABEL, -1, -1, -1, -1, L"가로위치"},
                                                             {IDC_AREA_Y_LABEL, -1, -1, -1, -1, L"세로위치"},
                                                             {IDC_AREA_WIDTH_LABEL, -1, -1, -1, -1, L"가로크기"},
                                                             {IDC_AREA_HEIGHT_LABEL, -1, -1, -1, -1, L"세로크기"},
                                                         });
                  for (int i = 0; i < 4; ++i) {
                    HWND spin = GetDlgItem(d, spins[i]);
                    SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower[i]),
                                 reinterpret_cast<LPARAM>(&upper[i]));
                    buddied[i] =
                        reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)) == GetDlgItem(d, edits[i]);
                    noThousands[i] = (GetWindowLongW(spin, GWL_STYLE) & UDS_NOTHOUSANDS) != 0;
                  }
                  wintest::HoldForScreenshot("area_setting", d);
                  Click(d, IDC_AREA_CANCEL);
                }),
            IDCANCEL);
  EXPECT_EQ(caption, kTitle);
  EXPECT_EQ(texts, "");
  EXPECT_EQ(window.right - window.left, 210);
  EXPECT_EQ(window.bottom - window.top, 215);
  EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - 210) / 2);
  const int uppers[] = {screenWidth, screenHeight, screenWidth, screenHeight};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(lower[i], 0) << i;
    EXPECT_EQ(upper[i], uppers[i]) << i;
    EXPECT_TRUE(buddied[i]) << i;
    EXPECT_TRUE(noThousands[i]) << i;
  }
  // Cancel leaves the frame alone.
  const RECT after = WindowRectOf(frame.Hwnd());
  EXPECT_EQ(after.left, 50);
  EXPECT_EQ(after.right - after.left, 700);

  // A stored placement.
  settings::WriteFrameRect({96, 79, 648, 624});
  Run(dialog, frame.Hwnd(), [&](HWND d) {
    texts = wintest::ControlDifferences(d, {
                                               {IDC_AREA_X, -1, -1, -1, -1, L"100"},
                                               {IDC_AREA_Y, -1, -1, -1, -1, L"200"},
                                               {IDC_AREA_WIDTH, -1, -1, -1, -1, L"640"},
                                               {IDC_AREA_HEIGHT, -1, -1, -1, -1, L"480"},
                                           });
    PostMessageW(d, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(texts, "");
}

TEST_F(AreaSettingDlgTest, SpinArrowsStepByOneWithoutAThousandsSeparator) {
  wintest::FakeFrame frame(50, 40, 700, 500);
  CAreaSettingDlg dialog;
  std::wstring up, down;
  Run(dialog, frame.Hwnd(), [&](HWND d) {
    SetItemText(d, IDC_AREA_WIDTH, L"1199");
    HWND edit = GetDlgItem(d, IDC_AREA_WIDTH);
    SendMessageW(edit, WM_KEYDOWN, VK_UP, 0);
    SendMessageW(edit, WM_KEYUP, VK_UP, 0);
    up = ItemText(d, IDC_AREA_WIDTH);
    SendMessageW(edit, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(edit, WM_KEYUP, VK_DOWN, 0);
    SendMessageW(edit, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(edit, WM_KEYUP, VK_DOWN, 0);
    down = ItemText(d, IDC_AREA_WIDTH);
    Click(d, IDC_AREA_CANCEL);
  });
  EXPECT_EQ(up, L"1200");
  EXPECT_EQ(down, L"1198");
}

// The frame for a typed hole is the host rule AreaOk; here the typed numbers reach it.
TEST_F(AreaSettingDlgTest, OkPutsTheFramesHoleOverTheTypedRectangle) {
  struct Case {
    const wchar_t *x, *y, *w, *h;
    RECT frame;
  };
  const Case cases[] = {
      {L"100", L"200", L"640", L"480", {96, 79, 96 + 648, 79 + 624}},
  };
  for (const Case& c : cases) {
    wintest::FakeFrame frame(50, 40, 700, 500);
    CAreaSettingDlg dialog;
    const INT_PTR result = Run(dialog, frame.Hwnd(), [&](HWND d) {
      TypeArea(d, c.x, c.y, c.w, c.h);
      Click(d, IDC_AREA_OK);
    });
    EXPECT_EQ(result, IDOK);
    const RECT r = WindowRectOf(frame.Hwnd());
    EXPECT_EQ(r.left, c.frame.left) << c.x;
    EXPECT_EQ(r.top, c.frame.top) << c.x;
    EXPECT_EQ(r.right, c.frame.right) << c.x;
    EXPECT_EQ(r.bottom, c.frame.bottom) << c.x;
  }
}

// Which corners are accepted is the host rule AreaCorner; here the dialog hands
// it the virtual screen's width (the pair either side of its limit) and refuses
// with its message, keeping what was typed.
TEST_F(AreaSettingDlgTest, ACornerOffTheVirtualScreenIsRefusedAndTheDialogKeepsTheTypedValues) {
  const int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const std::wstring lastAccepted = std::to_wstring(screenWidth - 30);
  const std::wstring firstRefused = std::to_wstring(screenWidth - 29);
  struct Case {
    std::wstring x, y;
    bool refused;
  };
  const Case cases[] = {{firstRefused, L"200", true}, {lastAccepted, L"200", false}};
  for (const Case& c : cases) {
    wintest::FakeFrame frame(50, 40, 700, 500);
    CAreaSettingDlg dialog;
    std::wstring message, keptX;
    bool stillOpen = false;
    const INT_PTR result = Run(dialog, frame.Hwnd(), [&](HWND d) {
      TypeArea(d, c.x.c_str(), c.y.c_str(), L"640", L"480");
      PostMessageW(GetDlgItem(d, IDC_AREA_OK), BM_CLICK, 0, 0);
      if (!c.refused) return;
      HWND box = WaitMessageBox(d, 5000);
      if (!box) return;
      message = wintest::ItemText(box, 0xFFFF);
      SendMessageW(box, WM_COMMAND, IDOK, 0);
      stillOpen = wintest::WaitDialog(kTitle, frame.Hwnd(), 1000) == d;
      keptX = ItemText(d, IDC_AREA_X);
      Click(d, IDC_AREA_CANCEL);
    });
    const RECT r = WindowRectOf(frame.Hwnd());
    if (c.refused) {
      EXPECT_EQ(message, L"선택하신 영역은 모니터 해상도가 지원하지 않습니다.") << c.x;
      EXPECT_TRUE(stillOpen) << c.x;
      EXPECT_EQ(keptX, c.x);
      EXPECT_EQ(result, IDCANCEL) << c.x;
      EXPECT_EQ(r.left, 50) << c.x;
    } else {
      EXPECT_EQ(result, IDOK) << c.x;
      EXPECT_EQ(r.left, screenWidth - 34) << c.x;
    }
  }
}

}  // namespace
