// Windows-side benchmark (run under Wine by scripts/bench.sh): the preview of
// a very tall capture, opened and painted maximised, resized live a pixel at a
// time, and that capture printed fitted to the default printer's page. Prints
// one line per measure.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "capture/capture_engine.h"
#include "capture/captured_image.h"
#include "capture/preview_opener.h"
#include "ui/gdi.h"
#include "core/command_ids.h"
#include "windows/capture_preview_dlg.h"
#include "windows/print_setting_dlg.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// A capture like a long web page: bands of colour with lines of text.
CCapturedImage TallCapture(int width, int height) {
  CCapturedImage image;
  if (!image.CreateScreenCompatible(width, height)) return image;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  const HGDIOBJ old = SelectObject(dc, image.Bitmap());
  for (int y = 0; y < height; y += 40) {
    RECT band = {0, y, width, std::min(height, y + 40)};
    HBRUSH brush = CreateSolidBrush(RGB((y / 40 * 37) % 256, 230, (y / 40 * 91) % 256));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
    wchar_t line[96];
    wsprintfW(line, L"%d 번째 줄: 화면 캡쳐 미리보기와 인쇄의 시간을 잽니다.", y / 40);
    TextOutW(dc, 20, y + 12, line, lstrlenW(line));
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return image;
}

// The preview, timed from the call to its first finished paint; then
// maximised and painted again and again.
class CTimedPreview final : public CCapturePreviewDlg {
 public:
  using CCapturePreviewDlg::CCapturePreviewDlg;
  Clock::time_point started;
  double openMs = 0;
  double createdMs = 0;
  double initMs = 0;
  std::vector<double> paintMs;
  // Live resizing: each step one pixel wider and higher, painted at once.
  std::vector<double> stepMs;
  double stepPeakMb = 0;

 protected:
  BOOL OnInitDialog() override {
    const auto from = Clock::now();
    const BOOL result = CCapturePreviewDlg::OnInitDialog();
    initMs = Ms(from, Clock::now());
    createdMs = Ms(started, from);
    return result;
  }
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT && openMs == 0) {
      const INT_PTR result = CCapturePreviewDlg::HandleMessage(message, wParam, lParam);
      openMs = Ms(started, Clock::now());
      PostMessageW(Hwnd(), WM_APP, 0, 0);
      return result;
    }
    if (message == WM_APP) {
      SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_PV_MAXIMIZE, BN_CLICKED), 0);
      UpdateWindow(Hwnd());
      for (int i = 0; i < 20; ++i) {
        const auto from = Clock::now();
        RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        paintMs.push_back(Ms(from, Clock::now()));
      }
      SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_PV_RESTORE, BN_CLICKED), 0);
      UpdateWindow(Hwnd());
      ResizeLive();
      Close(IDCANCEL);
      return TRUE;
    }
    return CCapturePreviewDlg::HandleMessage(message, wParam, lParam);
  }

 private:
  // As a drag of the bottom-right corner does: a size step of one pixel on
  // each side, painted before the next. The memory a step holds at once is
  // sampled from a second thread (the process's private memory above what it
  // held before the steps; the peak counter cannot be reset).
  void ResizeLive() {
    RECT r = {};
    GetWindowRect(Hwnd(), &r);
    const auto privateBytes = [] {
      PROCESS_MEMORY_COUNTERS counters = {};
      GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
      return counters.PagefileUsage;
    };
    const SIZE_T base = privateBytes();
    std::atomic<bool> sampling{true};
    std::atomic<SIZE_T> most{base};
    std::thread sampler([&] {
      while (sampling) {
        const SIZE_T now = privateBytes();
        if (now > most) most = now;
        Sleep(1);
      }
    });
    for (int i = 1; i <= 40; ++i) {
      const auto from = Clock::now();
      SetWindowPos(Hwnd(), nullptr, 0, 0, r.right - r.left + i, r.bottom - r.top + i,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      UpdateWindow(Hwnd());
      GdiFlush();
      stepMs.push_back(Ms(from, Clock::now()));
    }
    sampling = false;
    sampler.join();
    stepPeakMb = static_cast<double>(most - base) / 1e6;
  }
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  SetProcessDPIAware();
  const int width = 1920, height = 20000;
  CCapturedImage capture = TallCapture(width, height);
  if (capture.Empty()) {
    std::printf("no %d x %d picture\n", width, height);
    return 1;
  }
  HWND owner = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  CCaptureEngine::PutOnClipboard(owner, capture);

  if (GetEnvironmentVariableW(L"FRAMLET_BENCH_PIECES", nullptr, 0)) {
    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    HDC tileDC = CreateCompatibleDC(screen);
    HBITMAP tile = CreateCompatibleBitmap(screen, 20, 20);
    SelectObject(tileDC, tile);
    auto time = [](const char* what, auto&& f) {
      const auto from = Clock::now();
      for (int i = 0; i < 10; ++i) f();
      GdiFlush();
      std::printf("  %s: %.2f ms\n", what, Ms(from, Clock::now()) / 10);
    };
    HBITMAP surface = nullptr;
    time("surface 1600x1200", [&] { if (surface) DeleteObject(surface); surface = CreateCompatibleBitmap(screen, 1600, 1200); });
    SelectObject(target, surface);
    time("tiles one by one", [&] {
      for (int y = 0; y < 1100; y += 20)
        for (int x = 0; x < 1450; x += 20) BitBlt(target, x, y, 20, 20, tileDC, 0, 0, SRCCOPY);
    });
    HBRUSH pattern = CreatePatternBrush(tile);
    RECT area = {10, 38, 1460, 1138};
    time("tiles as a pattern", [&] { FillRect(target, &area, pattern); });
    time("stretch of a strip", [&] { StretchBlt(target, 4, 28, 1592, 1100, tileDC, 0, 0, 10, 10, SRCCOPY); });
    time("surface to screen", [&] { BitBlt(screen, 0, 0, 1600, 1200, target, 0, 0, SRCCOPY); });
    {
      BITMAPINFO info = {};
      info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      info.bmiHeader.biWidth = width;
      info.bmiHeader.biHeight = -height;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      void* bits = nullptr;
      auto from = Clock::now();
      HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
      std::printf("  section made: %.1f ms\n", Ms(from, Clock::now()));
      from = Clock::now();
      GetDIBits(screen, capture.Bitmap(), 0, static_cast<UINT>(height), bits, &info, DIB_RGB_COLORS);
      std::printf("  picture read into it: %.1f ms\n", Ms(from, Clock::now()));
      {
        HDC fromDC = CreateCompatibleDC(screen);
        HDC toDC = CreateCompatibleDC(screen);
        HGDIOBJ oldFrom = SelectObject(fromDC, capture.Bitmap());
        HGDIOBJ old = SelectObject(toDC, section);
        from = Clock::now();
        BitBlt(toDC, 0, 0, width, height, fromDC, 0, 0, SRCCOPY);
        GdiFlush();
        std::printf("  picture copied into it: %.1f ms\n", Ms(from, Clock::now()));
        SelectObject(toDC, old);
        SelectObject(fromDC, oldFrom);
        DeleteDC(fromDC);
        DeleteDC(toDC);
      }
      from = Clock::now();
      void* small = nullptr;
      framlet::ui::Bitmap shrunk = ShrinkBitmap(section, 110, 1146, false, &small);
      std::printf("  shrunk to 110 x 1146: %.1f ms\n", Ms(from, Clock::now()));
      DeleteObject(section);
    }
    DeleteObject(pattern);
    DeleteDC(target);
    DeleteDC(tileDC);
    DeleteObject(tile);
    DeleteObject(surface);
    ReleaseDC(nullptr, screen);
  }

  // Opened as a capture opens it: the engine puts the picture on the
  // clipboard and runs the preview through its opener (timed from there).
  struct Opener final : IPreviewOpener {
    std::unique_ptr<CTimedPreview> preview;
    void OpenPreview(HWND window, CCapturedImage picture) override {
      const Clock::time_point started = Clock::now();
      preview = std::make_unique<CTimedPreview>(std::move(picture));
      preview->started = started;
      preview->DoModal(window);
    }
  };
  Opener opener;
  CCaptureEngine::SetPreviewOpener(&opener);
  {
    CCaptureEngine engine(owner);
    engine.GrabAndDeliver(0, 0, width, height, 90, 1, ExcludeLayered);
  }
  CCaptureEngine::SetPreviewOpener(nullptr);
  if (!opener.preview) return 1;
  CTimedPreview& preview = *opener.preview;
  std::printf("  preview window made after %.1f ms, its set-up %.1f ms\n", preview.createdMs, preview.initMs);
  std::printf("preview %dx%d: open %.1f ms; maximised paint median %.1f ms, worst %.1f ms (%zu paints)\n", width,
              height, preview.openMs, Median(preview.paintMs),
              preview.paintMs.empty() ? 0.0 : *std::max_element(preview.paintMs.begin(), preview.paintMs.end()),
              preview.paintMs.size());
  std::printf("preview %dx%d live resize: step median %.1f ms, worst %.1f ms (%zu steps); memory held by a step "
              "at most %.1f MB\n",
              width, height, Median(preview.stepMs),
              preview.stepMs.empty() ? 0.0 : *std::max_element(preview.stepMs.begin(), preview.stepMs.end()),
              preview.stepMs.size(), preview.stepPeakMb);

  // Printed from the preview, the picture is the preview's own copy: a
  // 32-bit section like this one.
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC screen = GetDC(nullptr);
  if (section) GetDIBits(screen, capture.Bitmap(), 0, static_cast<UINT>(height), bits, &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  const auto from = Clock::now();
  const PrintResult printed = PrintPicture(section, true, true);
  std::printf("print %dx%d fitted: %.0f ms, %s\n", width, height, Ms(from, Clock::now()),
              printed == PrintResult::Printed ? "printed" : "NOT printed");
  DeleteObject(section);
  DestroyWindow(owner);
  return printed == PrintResult::Printed ? 0 : 1;
}
