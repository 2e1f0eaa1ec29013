// Windows-side benchmark of scroll capture (run under Wine by scripts/bench.sh):
//   speed:  the frame (836 x 721, web mode) scroll-captures a page of 3,000
//           distinct rows moving 40 rows a line; steps per second and the time
//           of each step, measured between the page's line-down messages.
//   memory: the engine scroll-captures a window 1920 wide until the picture
//           is 65,535 rows tall, with review on, and hands it to the preview
//           as the frame does; the peak working set from the first step to
//           the preview's first paint, against the final picture's size.
// Prints one line per measure.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/capture_frame_dlg.h"
#include "capture/capture_engine.h"
#include "capture/preview_opener.h"
#include "core/command_ids.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "web/external_dispatch.h"
#include "web/script_runner.h"
#include "web/web_page.h"
#include "windows/capture_preview_dlg.h"

namespace {

double NowMs() {
  LARGE_INTEGER frequency, count;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Rows that differ from one another in their left part for 65,536 rows.
uint32_t RowColour(int x, int row) {
  return (static_cast<uint32_t>(row & 0xFF) << 16) | (static_cast<uint32_t>((row >> 8) & 0xFF) << 8) |
         static_cast<uint32_t>((x * 7) & 0xFF);
}

// A window showing rows top.. of RowColour, scrolled `step` rows by each
// line-down until `contentRows` are shown; notes the time of each scroll.
struct RowsWindow {
  int width = 0, height = 0, step = 0, contentRows = 0, top = 0;
  std::vector<double> scrollTimes;
  std::vector<uint32_t> pixels;

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<RowsWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
      self = static_cast<RowsWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
      case WM_VSCROLL:
        if (LOWORD(wParam) == SB_LINEDOWN) {
          self->scrollTimes.push_back(NowMs());
          self->top = std::min(self->top + self->step, self->contentRows - self->height);
          InvalidateRect(hwnd, nullptr, FALSE);
          UpdateWindow(hwnd);
        }
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        const int first = ps.rcPaint.top, last = std::min<int>(ps.rcPaint.bottom, self->height);
        for (int y = first; y < last; ++y)
          for (int x = 0; x < self->width; ++x)
            self->pixels[static_cast<size_t>(y) * self->width + x] = RowColour(x, self->top + y);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), self->width, -self->height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        SetDIBitsToDevice(dc, 0, 0, self->width, self->height, 0, 0, 0, self->height, self->pixels.data(), &info,
                          DIB_RGB_COLORS);
        EndPaint(hwnd, &ps);
        return 0;
      }
      default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
  }

  HWND Open(HWND parent, int x, int y) {
    pixels.assign(static_cast<size_t>(width) * height, 0);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &RowsWindow::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FramletBenchRows";
    RegisterClassW(&wc);
    const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE;
    HWND hwnd = CreateWindowExW(parent ? 0 : WS_EX_TOPMOST, wc.lpszClassName, L"", style, x, y, width, height, parent,
                                nullptr, wc.hInstance, this);
    UpdateWindow(hwnd);
    return hwnd;
  }
};

// Dispatches this thread's messages until `done` holds or `ms` pass.
template <typename Done>
bool PumpUntil(Done done, DWORD ms) {
  const ULONGLONG start = GetTickCount64();
  while (!done()) {
    if (GetTickCount64() - start > ms) return false;
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool ScreenShows(int x, int y, uint32_t colour) {
  HDC screen = GetDC(nullptr);
  const COLORREF shown = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return shown == RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

int Speed() {
  constexpr int kFrameLeft = 100, kFrameTop = 80;
  constexpr POINT kHole = {kFrameLeft + 4, kFrameTop + 121};  // the frame's 836 x 721 hole
  RowsWindow page;
  page.width = 828;
  page.height = 577;
  page.step = 40;
  page.contentRows = 3000;

  // The preview would run modally: the picture handed to it is kept instead.
  struct Opener final : IPreviewOpener {
    int width = 0, height = 0;
    void OpenPreview(HWND, CCapturedImage picture) override {
      width = picture.Width();
      height = picture.Height();
    }
  } opener;
  // No browser: the page in the hole is a window of this process.
  static const CLSID kNoBrowser = {0x0badf00d, 0x1234, 0x5678, {0x9a, 0xbc, 0xde, 0xf0, 0x12, 0x34, 0x56, 0x78}};
  CWebPage::SetControlClassForTesting(&kNoBrowser);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  OleInitialize(nullptr);
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string ini = std::string(folder) + "framlet-scroll-bench.ini";
  DeleteFileA(ini.c_str());
  framlet::settings::SetFilePathForTesting(ini);
  framlet::settings::WriteInt(framlet::keys::kLeft, kFrameLeft);
  framlet::settings::WriteInt(framlet::keys::kTop, kFrameTop);
  int result = 0;
  {
    CExternalDispatch external;
    CCaptureFrameDlg frame(&external);
    if (!frame.Create(nullptr)) {
      std::printf("no frame\n");
      return 1;
    }
    CCaptureEngine::SetPreviewOpener(&opener);
    framlet::web::RunJScript(L"external.FL_Login();", &external);
    page.Open(frame.Hwnd(), kHole.x - kFrameLeft, kHole.y - kFrameTop);
    if (!PumpUntil([&] { return ScreenShows(kHole.x + 3, kHole.y + 1, RowColour(3, 1)); }, 10000)) {
      std::printf("the page is not on the screen\n");
      return 1;
    }
    const double start = NowMs();
    SendMessageW(frame.Hwnd(), WM_COMMAND, ID_SCROLL_CAPTURE, 0);
    const bool finished = PumpUntil([&] { return opener.height != 0; }, 120000);
    const double total = NowMs() - start;
    CCaptureEngine::SetPreviewOpener(nullptr);
    std::vector<double> steps;
    for (size_t i = 1; i < page.scrollTimes.size(); ++i) steps.push_back(page.scrollTimes[i] - page.scrollTimes[i - 1]);
    if (!finished || opener.height != page.contentRows || opener.width != page.width) {
      std::printf("scroll capture: picture %d x %d after %zu scrolls (want %d x %d)\n", opener.width, opener.height,
                  page.scrollTimes.size(), page.width, page.contentRows);
      result = 1;
    }
    std::printf("scroll capture 836x721 frame, %d rows at %d a line: %zu steps in %.0f ms, %.2f steps/s; "
                "step median %.1f ms, worst %.1f ms\n",
                page.contentRows, page.step, page.scrollTimes.size(), total,
                1000.0 * static_cast<double>(page.scrollTimes.size()) / total, Median(steps),
                steps.empty() ? 0.0 : *std::max_element(steps.begin(), steps.end()));
  }
  framlet::settings::SetFilePathForTesting("");
  DeleteFileA(ini.c_str());
  OleUninitialize();
  return result;
}

SIZE_T WorkingSet(bool peak) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize;
}

// The real preview, closed after its first paint; the peak then.
class CMeasuredPreview final : public CCapturePreviewDlg {
 public:
  using CCapturePreviewDlg::CCapturePreviewDlg;
  SIZE_T peakAtPaint = 0;

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    const INT_PTR result = CCapturePreviewDlg::HandleMessage(message, wParam, lParam);
    if (message == WM_PAINT && peakAtPaint == 0) {
      GdiFlush();
      peakAtPaint = WorkingSet(true);
      PostMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_PV_CLOSE, BN_CLICKED), 0);
    }
    return result;
  }
};

int Memory() {
  constexpr int kWidth = 1920, kView = 1100, kRows = 65535;
  RowsWindow window;
  window.width = kWidth;
  window.height = kView;
  window.step = 540;  // under half the view: the largest shift a step finds
  window.contentRows = kRows;
  HWND hwnd = window.Open(nullptr, 0, 0);
  if (!PumpUntil([&] { return ScreenShows(3, 1, RowColour(3, 1)); }, 10000)) {
    std::printf("the window is not on the screen\n");
    return 1;
  }
  struct Opener final : IPreviewOpener {
    int width = 0, height = 0;
    SIZE_T peakAtPaint = 0;
    void OpenPreview(HWND owner, CCapturedImage picture) override {
      width = picture.Width();
      height = picture.Height();
      CMeasuredPreview preview(std::move(picture));
      preview.DoModal(owner);
      peakAtPaint = preview.peakAtPaint;
    }
  } opener;
  CCaptureEngine::SetPreviewOpener(&opener);
  const SIZE_T before = WorkingSet(false);
  const double start = NowMs();
  int steps = 0;
  {
    CCaptureEngine engine(hwnd);
    while (steps < 1000 && !engine.ScrollStep(0, 0, kWidth, kView, hwnd, 100, 90, 1)) ++steps;
    // As the frame ends a capture with review on.
    engine.OpenPreview(std::move(engine.workingImage));
    engine.workingImage.Reset();
  }
  const double total = NowMs() - start;
  CCaptureEngine::SetPreviewOpener(nullptr);
  const double picture = 3.0 * kWidth * kRows;  // the 24-bit picture's pixels
  const double peak = static_cast<double>(opener.peakAtPaint > before ? opener.peakAtPaint - before : 0);
  std::printf("scroll capture %d x %d, review on: %d steps in %.0f ms; picture %.0f MB; peak working set from the "
              "first step to the preview's first paint %.0f MB above the start, %.2f x the picture\n",
              opener.width, opener.height, steps + 1, total, picture / 1e6, peak / 1e6, peak / picture);
  DestroyWindow(hwnd);
  return opener.height == kRows && opener.width == kWidth ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  SetProcessDPIAware();
  if (argc > 1 && std::strcmp(argv[1], "memory") == 0) return Memory();
  return Speed();
}
