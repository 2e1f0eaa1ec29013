// The full-capture notice, the area outline and the sign-in prompt: where they
// open, what they draw, and what their buttons do to the frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/command_ids.h"
#include "core/settings.h"
#include "dialog_test_util.h"
#include "resource.h"
#include "win_test_util.h"
#include "windows/area_outline_dlg.h"
#include "windows/full_capture_notice_dlg.h"
#include "windows/login_prompt_dlg.h"

using namespace framlet;

using wintest::ScreenPixel;

namespace {

// The colour of a bitmap resource's pixel.
COLORREF BitmapPixel(UINT id, int x, int y) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return c;
}

using NoticeWindows = wintest::WinTest;

// Records what the notice asks of the frame.
class FakeHost : public INoticeHost {
 public:
  explicit FakeHost(HWND frame) : frame_(frame) {}
  HWND FrameWindow() const override { return frame_; }
  void CaptureArea() override {
    ++captures;
    frameVisibleDuringCapture = IsWindowVisible(frame_) != FALSE;
    noticeVisibleDuringCapture = notice && IsWindowVisible(notice);
  }
  void ApplyModeLayering() override { ++modeLayering; }
  void HideAreaOutline() override { ++outlineHidden; }
  void ClearMaximized() override { ++maximizedCleared; }

  HWND notice = nullptr;
  int captures = 0;
  bool frameVisibleDuringCapture = true;
  bool noticeVisibleDuringCapture = true;
  int modeLayering = 0;
  int outlineHidden = 0;
  int maximizedCleared = 0;

 private:
  HWND frame_;
};

TEST_F(NoticeWindows, NoticeOpensBelowTheFrameCornerAsAKeyedBar) {
  wintest::FakeFrame frame(60, 40, 900, 700);
  FakeHost host(frame.Hwnd());
  CFullCaptureNoticeDlg notice(host);
  RECT r = {};
  LONG_PTR exStyle = 0;
  COLORREF key = 0;
  DWORD flags = 0;
  std::string differences;
  bool found = false;
  const INT_PTR result = wintest::RunModal(
      [&] { return notice.DoModal(frame.Hwnd()); }, nullptr, frame.Hwnd(),
      [&](HWND d) {
        GetWindowRect(d, &r);
        exStyle = GetWindowLongPtrW(d, GWL_EXSTYLE);
        BYTE alpha = 0;
        GetLayeredWindowAttributes(d, &key, &alpha, &flags);
        differences = wintest::ControlDifferences(
            d, {
                   {IDC_NOTICE_CAPTURE, 393, 32, 40, -1},
                   {IDC_NOTICE_CLOSE, 438, -1, -1, -1},
                   {IDC_NOTICE_LABEL, -1, -1, -1, -1, L"전체 캡쳐를 종료하실려면 닫기 버튼을 누르세요"},
               });
        wintest::Click(d, IDC_NOTICE_CLOSE);
      },
      &found);
  ASSERT_TRUE(found);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(r.left, 68);
  EXPECT_EQ(r.top, 140);
  EXPECT_EQ(r.right - r.left, 479);
  EXPECT_EQ(r.bottom - r.top, 75);
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  EXPECT_EQ(flags & (LWA_COLORKEY | LWA_ALPHA), static_cast<DWORD>(LWA_COLORKEY));
  EXPECT_EQ(key, RGB(255, 0, 255));
  EXPECT_EQ(differences, "");
}

TEST_F(NoticeWindows, NoticeCaptureHidesBothWindowsForTheCaptureAndShowsThemAgain) {
  wintest::FakeFrame frame(0, 0, 1024, 768);
  FakeHost host(frame.Hwnd());
  CFullCaptureNoticeDlg notice(host);
  bool noticeVisibleAfter = false, frameVisibleAfter = false;
  wintest::RunModal([&] { return notice.DoModal(frame.Hwnd()); }, nullptr, frame.Hwnd(),
                    [&](HWND d) {
                      host.notice = d;
                      wintest::Click(d, IDC_NOTICE_CAPTURE);
                      noticeVisibleAfter = IsWindowVisible(d) != FALSE;
                      frameVisibleAfter = IsWindowVisible(frame.Hwnd()) != FALSE;
                      wintest::Click(d, IDC_NOTICE_CLOSE);
                    });
  EXPECT_EQ(host.captures, 1);
  EXPECT_FALSE(host.frameVisibleDuringCapture);
  EXPECT_FALSE(host.noticeVisibleDuringCapture);
  EXPECT_TRUE(noticeVisibleAfter);
  EXPECT_TRUE(frameVisibleAfter);
}

TEST_F(NoticeWindows, NoticeCloseAndEscapeReturnTheFrameToItsDefaultPlaceAndLayering) {
  for (int way = 0; way < 2; ++way) {
    wintest::FakeFrame frame(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    FakeHost host(frame.Hwnd());
    CFullCaptureNoticeDlg notice(host);
    const DWORD start = GetTickCount();
    const INT_PTR result = wintest::RunModal([&] { return notice.DoModal(frame.Hwnd()); }, nullptr, frame.Hwnd(),
                                             [&](HWND d) {
                                               if (way == 0) {
                                                 wintest::Click(d, IDC_NOTICE_CLOSE);
                                               } else {
                                                 PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
                                                 PostMessageW(d, WM_KEYUP, VK_ESCAPE, 0);
                                               }
                                             });
    EXPECT_EQ(result, IDOK) << way;
    EXPECT_LT(GetTickCount() - start, 6000u) << way;
    RECT r = {};
    GetWindowRect(frame.Hwnd(), &r);
    EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 418) << way;
    EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 360) << way;
    EXPECT_EQ(r.right - r.left, 836) << way;
    EXPECT_EQ(r.bottom - r.top, 721) << way;
    EXPECT_TRUE(frame.Topmost()) << way;
    EXPECT_EQ(host.modeLayering, 1) << way;
    EXPECT_EQ(host.outlineHidden, 1) << way;
    EXPECT_EQ(host.maximizedCleared, 1) << way;
    EXPECT_EQ(host.captures, 0) << way;
  }
}

TEST_F(NoticeWindows, NoticePaintsItsBar) {
  wintest::FakeFrame frame(0, 0, 900, 700);
  FakeHost host(frame.Hwnd());
  CFullCaptureNoticeDlg notice(host);
  const COLORREF bar = BitmapPixel(IDB_NOTICE_BAR, 30, 40);
  COLORREF shown = CLR_INVALID;
  wintest::RunModal([&] { return notice.DoModal(frame.Hwnd()); }, nullptr, frame.Hwnd(),
                    [&](HWND d) {
                      // The bar is judged by the screen as last read while waiting for it.
                      // (Under Wine, a colour-keyed window uncovered when a window of an
                      // earlier case leaves the display is not always drawn again, so a
                      // later look may find what lay above it.)
                      wintest::WaitUntil([&] { return (shown = ScreenPixel(d, 30, 40)) == bar; });
                      wintest::HoldForScreenshot("full_capture_notice");
                      wintest::Click(d, IDC_NOTICE_CLOSE);
                    });
  EXPECT_EQ(shown, bar);
}

TEST_F(NoticeWindows, OutlineIsCreatedHiddenAndShownOverTheHoleWithARedFrame) {
  wintest::FakeFrame frame(0, 0, 836, 721);
  CAreaOutlineDlg outline;
  ASSERT_TRUE(outline.Create(frame.Hwnd()));
  HWND o = outline.Hwnd();
  ASSERT_TRUE(o);
  EXPECT_EQ(GetParent(o), frame.Hwnd());
  EXPECT_FALSE(IsWindowVisible(o));
  RECT r = {};
  GetWindowRect(o, &r);
  MapWindowPoints(nullptr, frame.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 4);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, 828);
  EXPECT_EQ(r.bottom - r.top, 577);

  // Follows a frame resized to the whole screen.
  SetWindowPos(frame.Hwnd(), nullptr, 0, 0, 1000, 700, SWP_NOZORDER);
  outline.Show();
  // The 5-pixel pen straddles the rectangle from (2,0): columns 0..4 are red,
  // and so is the bottom edge around y = 556; the inside is not painted. The
  // screen is judged as last read while waiting for the whole outline.
  COLORREF left = CLR_INVALID, bottom = CLR_INVALID, inside = CLR_INVALID;
  wintest::PumpUntil(
      [&] {
        left = ScreenPixel(o, 2, 300);
        bottom = ScreenPixel(o, 500, 554);
        inside = ScreenPixel(o, 500, 300);
        return wintest::Painted(o) && left == RGB(250, 0, 0) && bottom == RGB(250, 0, 0);
      },
      5000, "the outline on the screen");
  wintest::HoldForScreenshot("area_outline", o);
  EXPECT_TRUE(IsWindowVisible(o));
  GetWindowRect(o, &r);
  MapWindowPoints(nullptr, frame.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 121);
  EXPECT_EQ(r.right - r.left, 992);
  EXPECT_EQ(r.bottom - r.top, 556);
  EXPECT_EQ(left, RGB(250, 0, 0));
  EXPECT_EQ(bottom, RGB(250, 0, 0));
  EXPECT_NE(inside, RGB(250, 0, 0));
  outline.Hide();
  EXPECT_FALSE(IsWindowVisible(o));
}

TEST_F(NoticeWindows, PromptCentresOnTheStoredFramePlacement) {
  struct Case {
    const char* ini;
    int x, y;
  };
  const Case cases[] = {
      {nullptr, 233, 248},  // nothing stored: the default frame at 0, 0
      {"[AUTOPOS_HISTORY]\r\nLEFT=100\r\nTOP=50\r\nWIDTH=836\r\nHEIGHT=721\r\n", 333, 298},
      {"[AUTOPOS_HISTORY]\r\nLEFT=\r\nTOP=\r\nWIDTH=\r\nHEIGHT=\r\n", 233, 248},  // emptied by the options dialog
  };
  for (const Case& c : cases) {
    if (c.ini)
      wintest::WriteFileBytes(folder_.File("framlet.ini"), c.ini);
    else
      DeleteFileA(folder_.File("framlet.ini").c_str());
    wintest::FakeFrame frame(0, 0, 836, 721);
    CLoginPromptDlg prompt;
    RECT r = {};
    std::string button;
    COLORREF shown = CLR_INVALID;
    const INT_PTR result = wintest::RunModal([&] { return prompt.DoModal(frame.Hwnd()); }, nullptr, frame.Hwnd(),
                                             [&](HWND d) {
                                               GetWindowRect(d, &r);
                                               button = wintest::ControlDifferences(d, {{IDOK, 143, 145, 84, -1}});
                                               const COLORREF art = BitmapPixel(IDB_LOGIN_PROMPT, 20, 20);
                                               wintest::WaitUntil([&] { return (shown = ScreenPixel(d, 20, 20)) == art; });
                                               if (!c.ini) wintest::HoldForScreenshot("login_prompt");
                                               wintest::Click(d, IDOK);
                                             });
    const char* label = c.ini ? c.ini : "(no file)";
    EXPECT_EQ(result, IDOK) << label;
    EXPECT_EQ(r.left, c.x) << label;
    EXPECT_EQ(r.top, c.y) << label;
    EXPECT_EQ(r.right - r.left, 370) << label;
    EXPECT_EQ(r.bottom - r.top, 225) << label;
    EXPECT_EQ(button, "") << label;
    EXPECT_EQ(shown, BitmapPixel(IDB_LOGIN_PROMPT, 20, 20)) << label;
  }
}

TEST_F(NoticeWindows, PromptEscapeCancels) {
  wintest::FakeFrame frame(0, 0, 836, 721);
  CLoginPromptDlg prompt;
  const INT_PTR result = wintest::RunModal([&] { return prompt.DoModal(frame.Hwnd()); }, nullptr, frame.Hwnd(),
                                           [&](HWND d) {
                                             PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
                                             PostMessageW(d, WM_KEYUP, VK_ESCAPE, 0);
                                           });
  EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
