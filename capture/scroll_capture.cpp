#include <windows.h>

#include <vector>

#include "capture/capture_engine.h"
#include "capture/scroll_match.h"
#include "capture/scroll_stitch.h"
#include "ui/message_pump.h"

struct ScrollWork {
  framlet::scroll::ScrollMatcher matcher;
  framlet::scroll::ScrollStitcher picture;
  bool inStep = false;
};

namespace {

// The first step's shift caps the later ones; 0 while no capture is under way.
int g_firstStepShift = 0;

// How long the target may take to answer a scroll before it counts as hung.
constexpr UINT kScrollAnswerTimeout = 1000;
// The wait of a step that finishes the capture.
constexpr DWORD kFinishingWait = 100;

// The picture's rows, top first, 3 bytes per pixel; empty when unreadable.
std::vector<uint8_t> Rows(const CCapturedImage& image, int* stride) {
  if (image.Empty()) return {};
  return image.ReadRows(24, stride);
}

class StepFlag {
 public:
  explicit StepFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~StepFlag() { flag_ = false; }
  StepFlag(const StepFlag&) = delete;
  StepFlag& operator=(const StepFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

bool CCaptureEngine::ScrollStepRunning() const {
  return scrollWork && scrollWork->inStep;
}

int CCaptureEngine::ScrollStep(int left, int top, int right, int bottom, HWND target, int wait, int quality,
                               int review) {
  if (!scrollWork) scrollWork = std::make_shared<ScrollWork>();
  // A step asked for from inside a step's wait would stitch the same rows
  // twice; the running step goes on instead.
  if (scrollWork->inStep) return 0;
  const std::shared_ptr<ScrollWork> work = scrollWork;
  StepFlag stepping(work->inStep);
  auto grabbing = [this](bool on) {
    if (scrollGrabHook) scrollGrabHook(scrollHookContext, on);
  };
  const int width = right - left;
  const int height = bottom - top;

  grabbing(true);
  // Only the rows are kept: a step holds two pictures' worth of memory.
  int beforeStride = 0, afterStride = 0;
  std::vector<uint8_t> beforeRows;
  {
    CCapturedImage before;
    Grab(left, top, width, height, before, ExcludeLayered);
    beforeRows = Rows(before, &beforeStride);
  }
  grabbing(false);
  if (target && IsWindow(target)) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(target, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                        kScrollAnswerTimeout, &answer);
  }
  framlet::ui::PumpMessagesFor(wait != 0 ? static_cast<DWORD>(wait) : kFinishingWait);

  grabbing(true);
  std::vector<uint8_t> afterRows;
  {
    CCapturedImage after;
    Grab(left, top, width, height, after, ExcludeLayered);
    afterRows = Rows(after, &afterStride);
  }
  const bool readable = !beforeRows.empty() && !afterRows.empty();
  const int matched = readable
                          ? work->matcher.FindShift(beforeRows.data(), static_cast<size_t>(beforeStride),
                                                    afterRows.data(), static_cast<size_t>(afterStride), width, height)
                          : 0;
  framlet::scroll::ScrollStepPlan plan = framlet::scroll::PlanScrollStep(matched, height, wait == 0, g_firstStepShift);
  // The new rows come from the screen as it is now, after the wait.
  std::vector<uint8_t> freshRows;
  int freshStride = 0;
  if (plan.shift > 0) {
    CCapturedImage strip;
    if (Grab(left, top + plan.sourceRow, width, plan.shift, strip, ExcludeLayered))
      freshRows = Rows(strip, &freshStride);
    if (freshRows.empty()) {
      plan.shift = 0;
      plan.finish = true;
    }
  }
  grabbing(false);
  const bool deliver = framlet::scroll::ApplyScrollStep(work->picture, plan, g_firstStepShift, beforeRows.data(),
                                                        static_cast<size_t>(beforeStride), freshRows.data(),
                                                        static_cast<size_t>(freshStride), width, readable ? height : 0);
  if (!deliver) return 0;
  FinishScrollCapture(quality, review);
  return 1;
}

int CCaptureEngine::FinishScrollCapture(int quality, int review) {
  g_firstStepShift = 0;
  if (!scrollWork || scrollWork->picture.Empty()) return 0;
  framlet::scroll::ScrollStitcher& picture = scrollWork->picture;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.Width();
  info.bmiHeader.biHeight = static_cast<LONG>(picture.Height());  // bottom row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    picture.Clear();
    return 0;
  }
  picture.TakeBottomUp(static_cast<uint8_t*>(bits));
  workingImage.Attach(bitmap);
  if (review != 0) {
    PutOnClipboard(owner, workingImage);
  } else {
    SaveViaShortDialog(workingImage, owner, quality);
  }
  return 1;
}
