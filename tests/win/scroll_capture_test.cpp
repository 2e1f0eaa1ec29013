// Scroll capture against a window that scrolls by a known step: every row of
// its content differs from every other, so the stitched picture must be the
// content, row for row, with one scroll message per step.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <thread>
#include <vector>

#include "app/capture_frame_dlg.h"
#include "capture/capture_engine.h"
#include "capture/preview_opener.h"
#include "core/command_ids.h"
#include "core/settings.h"
#include "test_windows.h"
#include "web/external_dispatch.h"
#include "web/script_runner.h"
#include "web/web_page.h"
#include "web_test_util.h"
#include "win_test_util.h"

namespace {

constexpr int kWidth = 160;
constexpr int kView = 120;     // rows the window shows
constexpr int kContent = 400;  // rows of content
constexpr int kStep = 7;       // rows per line-down

uint32_t ContentAt(int x, int row) {
  return (static_cast<uint32_t>(row & 0xFF) << 16) | (static_cast<uint32_t>((row >> 8) * 40 + x) << 8) |
         static_cast<uint32_t>((x * 3 + row) & 0xFF);
}

class ScrollCapture : public wintest::WinTest {
 protected:
  void SetUp() override {
    testwin::RowsLook look;
    look.x = kLeft;
    look.y = kTop;
    look.width = kWidth;
    look.height = kView;
    look.contentRows = kContent;
    look.step = kStep;
    look.colourAt = ContentAt;
    // Each scroll posts a message to this thread, handled during the step's
    // wait when a case meddles.
    look.onScroll = [this](HWND) { PostMessageW(meddler_.Hwnd(), kMeddle, 0, 0); };
    ASSERT_TRUE(rows_.Open(look));
    window_ = rows_.Hwnd();
    ASSERT_TRUE(ShowsRow(0));
  }

  // Whether the screen shows content row `row` at the window's top.
  bool ShowsRow(int row) {
    CCaptureEngine probe(window_);
    CCapturedImage line;
    int stride = 0;
    if (!probe.Grab(kLeft, kTop, kWidth, 1, line, ExcludeLayered)) return false;
    const std::vector<uint8_t> bytes = line.ReadRows(24, &stride);
    return bytes.size() >= 3 && ((static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[1]) << 8) |
                                 bytes[0]) == ContentAt(0, row);
  }
  // When set, the message each scroll posts tries to start a step inside the
  // step and grabs into workingImage.
  bool Meddle(HWND, UINT message, WPARAM, LPARAM, LRESULT* result) {
    if (message != kMeddle) return false;
    if (meddling_) {
      RECT r;
      GetWindowRect(window_, &r);
      nestedResults_ += meddling_->ScrollStep(r.left, r.top, r.right, r.bottom, window_, 100, 100, 1);
      meddling_->Grab(0, 0, 33, 17, meddling_->workingImage, ExcludeLayered);
    }
    *result = 0;
    return true;
  }

  // Steps until the engine reports the capture finished; the step count.
  int RunUntilFinished(CCaptureEngine& engine, int maxSteps) {
    for (int i = 1; i <= maxSteps; ++i)
      if (engine.ScrollStep(kLeft, kTop, kLeft + kWidth, kTop + kView, window_, 100, 100, 1)) return i;
    return -1;
  }

  // The picture's rows against content rows 0 .. rows - 1.
  void ExpectContentRows(const CCapturedImage& picture, int rows) {
    ASSERT_FALSE(picture.Empty());
    ASSERT_EQ(picture.Width(), kWidth);
    ASSERT_EQ(picture.Height(), rows);
    int stride = 0;
    const std::vector<uint8_t> bytes = picture.ReadRows(24, &stride);
    ASSERT_FALSE(bytes.empty());
    for (int y = 0; y < rows; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const uint8_t* p = &bytes[static_cast<size_t>(y) * stride + 3 * static_cast<size_t>(x)];
        const uint32_t got = (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
        ASSERT_EQ(got, ContentAt(x, y)) << "row " << y << " column " << x;
      }
    }
  }

  static constexpr int kLeft = 40;
  static constexpr int kTop = 60;
  static constexpr UINT kMeddle = WM_APP + 7;
  CCaptureEngine* meddling_ = nullptr;
  int nestedResults_ = 0;
  testwin::Window meddler_{[this] {
    testwin::Look look;
    look.visible = false;
    look.handler = [this](HWND h, UINT m, WPARAM w, LPARAM l, LRESULT* r) { return Meddle(h, m, w, l, r); };
    return look;
  }()};
  testwin::ScrollingRows rows_;
  HWND window_ = nullptr;
};

TEST_F(ScrollCapture, StitchesTheWholeContentAndEndsWhereTheWindowStopsScrolling) {
  CCaptureEngine engine(window_);
  const int steps = RunUntilFinished(engine, 100);
  // 40 steps that move (the last one by the 280th row's remainder), then one
  // that finds nothing new.
  const int moving = (kContent - kView + kStep - 1) / kStep;
  EXPECT_EQ(steps, moving + 1);
  EXPECT_EQ(rows_.Scrolls(), moving + 1);
  ExpectContentRows(engine.workingImage, kContent);
  // The clipboard has its own copy of the same size.
  ASSERT_TRUE(OpenClipboard(window_));
  HBITMAP clip = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP info = {};
  if (clip) GetObject(clip, sizeof info, &info);
  CloseClipboard();
  EXPECT_EQ(info.bmWidth, kWidth);
  EXPECT_EQ(info.bmHeight, kContent);
}

TEST_F(ScrollCapture, StopBetweenStepsDeliversTheRowsGatheredAndStartsAfreshNextTime) {
  CCaptureEngine engine(window_);
  for (int i = 0; i < 5; ++i)
    ASSERT_EQ(engine.ScrollStep(kLeft, kTop, kLeft + kWidth, kTop + kView, window_, 100, 100, 1), 0);
  EXPECT_EQ(engine.FinishScrollCapture(100, 1), 1);
  ExpectContentRows(engine.workingImage, kView + 5 * kStep);
  engine.workingImage.Reset();
  // Nothing left over: the next capture starts with a plain first grab.
  ASSERT_TRUE(rows_.ScrollTo(0));
  ASSERT_TRUE(ShowsRow(0));
  EXPECT_EQ(engine.FinishScrollCapture(100, 1), 0);
  ASSERT_EQ(engine.ScrollStep(kLeft, kTop, kLeft + kWidth, kTop + kView, window_, 0, 100, 1), 1);
  ExpectContentRows(engine.workingImage, kView + kStep);
}

TEST_F(ScrollCapture, CapturesDuringAStepsWaitNeitherNestNorReplaceTheRowsGathered) {
  CCaptureEngine engine(window_);
  meddling_ = &engine;
  const int moving = (kContent - kView + kStep - 1) / kStep;
  EXPECT_EQ(RunUntilFinished(engine, 100), moving + 1);
  meddling_ = nullptr;
  EXPECT_EQ(nestedResults_, 0) << "no step ran inside a step";
  EXPECT_EQ(rows_.Scrolls(), moving + 1) << "one scroll per outer step only";
  ExpectContentRows(engine.workingImage, kContent);
}

TEST_F(ScrollCapture, AHungTargetDoesNotHangTheStep) {
  // The target's thread stops answering until the step is over; the step
  // still returns (its scroll message gives up), and the content that did not
  // move finishes the capture.
  HANDLE hung = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HWND target = nullptr;
  std::thread owner([&] {
    target = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    SetEvent(hung);
    WaitForSingleObject(release, INFINITE);
    DestroyWindow(target);
  });
  WaitForSingleObject(hung, INFINITE);
  CCaptureEngine engine(window_);
  EXPECT_EQ(engine.ScrollStep(kLeft, kTop, kLeft + kWidth, kTop + kView, target, 100, 100, 1), 1);
  ExpectContentRows(engine.workingImage, kView);
  SetEvent(release);
  owner.join();
  CloseHandle(hung);
  CloseHandle(release);
}

TEST_F(ScrollCapture, EmptyAreaDeliversNothing) {
  CCaptureEngine engine(window_);
  EXPECT_EQ(engine.ScrollStep(kLeft, kTop, kLeft, kTop + kView, window_, 100, 100, 1), 1);
  EXPECT_TRUE(engine.workingImage.Empty());
}

TEST_F(ScrollCapture, AStepShortOfMemoryEndsTheCaptureWithTheRowsGatheredAndTheNextStartsAfresh) {
  CCaptureEngine engine(window_);
  // The third step's grab after its scroll runs out of memory.
  struct Failure {
    testwin::ScrollingRows* rows;
    bool thrown = false;
  } failure{&rows_};
  engine.scrollHookContext = &failure;
  engine.scrollGrabHook = [](void* context, bool grabbing) {
    auto* f = static_cast<Failure*>(context);
    if (grabbing && !f->thrown && f->rows->Scrolls() == 3) {
      f->thrown = true;
      throw std::bad_alloc();
    }
  };
  for (int i = 0; i < 2; ++i)
    ASSERT_EQ(engine.ScrollStep(kLeft, kTop, kLeft + kWidth, kTop + kView, window_, 100, 100, 1), 0);
  EXPECT_EQ(engine.ScrollStep(kLeft, kTop, kLeft + kWidth, kTop + kView, window_, 100, 100, 1), 1);
  ASSERT_TRUE(failure.thrown);
  EXPECT_FALSE(engine.ScrollStepRunning());
  ExpectContentRows(engine.workingImage, kView + 2 * kStep);
  engine.workingImage.Reset();
  // Nothing left over: the next capture starts with a plain first grab.
  ASSERT_TRUE(rows_.ScrollTo(0));
  ASSERT_TRUE(ShowsRow(0));
  ASSERT_EQ(engine.ScrollStep(kLeft, kTop, kLeft + kWidth, kTop + kView, window_, 0, 100, 1), 1);
  ExpectContentRows(engine.workingImage, kView + kStep);
}

TEST_F(ScrollCapture, EachEngineCapsItsStepsByItsOwnFirstStep) {
  // A second window beside the first that moves 11 rows a line, captured by
  // another engine between two steps of the first.
  testwin::RowsLook look;
  look.x = kLeft + kWidth + 20;
  look.y = kTop;
  look.width = kWidth;
  look.height = kView;
  look.contentRows = kContent;
  look.step = 11;
  look.colourAt = ContentAt;
  testwin::ScrollingRows other;
  ASSERT_TRUE(other.Open(look));
  CCaptureEngine first(window_), second(other.Hwnd());
  ASSERT_EQ(first.ScrollStep(kLeft, kTop, kLeft + kWidth, kTop + kView, window_, 100, 100, 1), 0);
  const int right = look.x + kWidth;
  int steps = 0;
  while (steps < 100 && !second.ScrollStep(look.x, kTop, right, kTop + kView, other.Hwnd(), 100, 100, 1)) ++steps;
  ExpectContentRows(second.workingImage, kContent);
  ASSERT_EQ(first.ScrollStep(kLeft, kTop, kLeft + kWidth, kTop + kView, window_, 100, 100, 1), 0);
  EXPECT_EQ(first.FinishScrollCapture(100, 1), 1);
  ExpectContentRows(first.workingImage, kView + 2 * kStep);
  other.Close();
}

// The frame's scroll capture stopped between two steps, which only a test
// running the frame's own loop can time for certain: the stop comes as the
// timer for the next step comes up, and the capture ends at once with every
// step's rows and no further scroll, and a key pressed during a step runs
// no command in it. (A stop during a step's wait, which ends
// the capture after that step and one more scroll, is tested end to end.) The
// page in the hole is a window of this process, so web capture, whose target
// is the window at the hole's centre; no browser is made.
TEST(ScrollCaptureFrame, AStopBetweenStepsDeliversEveryStepsRowsAndScrollsNoMore) {
  static constexpr int kRowsPerScroll = 5, kSteps = 3, kHoleWidth = 828, kHoleHeight = 577;
  static constexpr POINT kHole = {104, 201};  // the frame at 100, 80, 836 x 721
  static constexpr auto kColour = [](int x, int row) {
    return (static_cast<uint32_t>(row & 0xFF) << 16) | (static_cast<uint32_t>((row >> 8) & 0xFF) << 8) |
           static_cast<uint32_t>(x & 0xFF);
  };
  static int top, scrolls;
  top = scrolls = 0;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_VSCROLL && LOWORD(wParam) == SB_LINEDOWN) {
      // A key pressed during the first step's wait: the frame's F2 (area
      // capture) must not run inside the step.
      if (++scrolls == 1) PostMessageW(GetParent(hwnd), WM_KEYDOWN, VK_F2, 0);
      top += kRowsPerScroll;
      InvalidateRect(hwnd, nullptr, FALSE);
      UpdateWindow(hwnd);
      return 0;
    }
    if (message != WM_PAINT) return message == WM_ERASEBKGND ? 1 : DefWindowProcW(hwnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    std::vector<uint32_t> pixels(static_cast<size_t>(kHoleWidth) * kHoleHeight);
    for (int y = 0; y < kHoleHeight; ++y)
      for (int x = 0; x < kHoleWidth; ++x) pixels[static_cast<size_t>(y) * kHoleWidth + x] = kColour(x, top + y);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kHoleWidth, -kHoleHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, 0, 0, kHoleWidth, kHoleHeight, 0, 0, 0, kHoleHeight, pixels.data(), &info, DIB_RGB_COLORS);
    EndPaint(hwnd, &ps);
    return 0;
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"FramletPageRows";
  RegisterClassW(&wc);
  // The preview would run modally: its openings are counted instead.
  struct Previews : IPreviewOpener {
    int opened = 0;
    void OpenPreview(HWND, CCapturedImage) override { ++opened; }
  } previews;
  struct Restore {
    IPreviewOpener* opener = CCaptureEngine::PreviewOpener();
    ~Restore() {
      CCaptureEngine::SetPreviewOpener(opener);
      CWebPage::SetControlClassForTesting(nullptr);
      framlet::settings::SetFilePathForTesting("");
      UnregisterClassW(L"FramletPageRows", GetModuleHandleW(nullptr));
    }
  } restore;
  const CLSID noBrowser = {0x0badf00d, 0x1234, 0x5678, {0x9a, 0xbc, 0xde, 0xf0, 0x12, 0x34, 0x56, 0x78}};
  CWebPage::SetControlClassForTesting(&noBrowser);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  webtest::OleScope ole;
  wintest::TempFolder folder("scroll-frame");
  framlet::settings::SetFilePathForTesting(folder.File("framlet.ini"));
  framlet::settings::WriteInt(framlet::keys::kLeft, 100);
  framlet::settings::WriteInt(framlet::keys::kTop, 80);
  CExternalDispatch external;
  CCaptureFrameDlg frame(&external);
  ASSERT_TRUE(frame.Create(nullptr));
  const HWND hwnd = frame.Hwnd();
  CCaptureEngine::SetPreviewOpener(&previews);
  ASSERT_TRUE(framlet::web::RunJScript(L"external.FL_Login();", &external).ok);
  CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, kHole.x - 100, kHole.y - 80, kHoleWidth,
                  kHoleHeight, hwnd, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(webtest::WaitFor([&] {
    HDC screen = GetDC(nullptr);
    const COLORREF shown = GetPixel(screen, kHole.x + 3, kHole.y + 1);
    ReleaseDC(nullptr, screen);
    return shown == RGB(1, 0, 3);
  })) << "the page is not on the screen";

  SendMessageW(hwnd, WM_COMMAND, ID_SCROLL_CAPTURE, 0);
  bool stopped = false;
  for (const DWORD start = GetTickCount(); !stopped && GetTickCount() - start < 20000;) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    } else if (msg.message == WM_TIMER && msg.hwnd == hwnd && msg.wParam == 1 && scrolls == kSteps) {
      // Step timer 1: the next step is due and none runs.
      SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_STOP_SCROLL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDC_STOP_SCROLL)));
      stopped = true;
    } else {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  ASSERT_TRUE(stopped) << scrolls << " scrolls";
  EXPECT_EQ(scrolls, kSteps) << "no scroll after the stop";
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd, IDC_STOP_SCROLL)));
  EXPECT_EQ(previews.opened, 1) << "one preview: the scroll capture's, no area capture";
  // The picture on the clipboard, read as 32-bit rows top first.
  ASSERT_TRUE(OpenClipboard(hwnd));
  HBITMAP clip = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP size = {};
  if (clip) GetObject(clip, sizeof size, &size);
  std::vector<uint32_t> pixels(static_cast<size_t>(size.bmWidth) * size.bmHeight);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.bmWidth, -size.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  const int read = clip ? GetDIBits(screen, clip, 0, size.bmHeight, pixels.data(), &info, DIB_RGB_COLORS) : 0;
  ReleaseDC(nullptr, screen);
  CloseClipboard();
  ASSERT_EQ(size.bmWidth, kHoleWidth);
  ASSERT_EQ(size.bmHeight, kHoleHeight + kSteps * kRowsPerScroll);
  ASSERT_EQ(read, size.bmHeight);
  for (int y = 0; y < size.bmHeight; ++y)
    for (int x = 0; x < kHoleWidth; ++x)
      ASSERT_EQ(pixels[static_cast<size_t>(y) * kHoleWidth + x] & 0xFFFFFF, kColour(x, y))
          << "row " << y << " column " << x;
}

}  // namespace
