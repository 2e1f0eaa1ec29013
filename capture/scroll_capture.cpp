#include <windows.h>

#include <new>
#include <vector>

#include "capture/capture_engine.h"
#include "capture/scroll_match.h"
#include "capture/scroll_stitch.h"
#include "ui/message_pump.h"

// One engine's scroll capture under way.
struct ScrollWork {
  framlet::scroll::ScrollMatcher matcher;
  framlet::scroll::ScrollStitcher picture;
  // The first step's shift caps the later ones; 0 while no capture is under way.
  int firstStepShift = 0;
  // The screen rectangle as the last step left it (its grab after the wait):
  // the next step's picture before its scroll, while the rectangle stays put.
  std::vector<uint8_t> lastRows;
  int lastStride = 0;
  RECT lastRect = {};
  bool inStep = false;

  void ForgetLastRows() {
    lastRows.clear();
    lastRows.shrink_to_fit();
  }
};

namespace {

// How long the target may take to answer a scroll before it counts as hung.
constexpr UINT kScrollAnswerTimeout = 1000;
// The wait of a step that finishes the capture.
constexpr DWORD kFinishingWait = 100;

class StepFlag {
 public:
  explicit StepFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~StepFlag() { flag_ = false; }
  StepFlag(const StepFlag&) = delete;
  StepFlag& operator=(const StepFlag&) = delete;

 private:
  bool& flag_;
};

// The owner's grab hook told of a grab for as long as the scope lasts, on
// every way out of it.
class GrabbingScope {
 public:
  explicit GrabbingScope(const CCaptureEngine& engine) : engine_(engine) { Tell(true); }
  ~GrabbingScope() { Tell(false); }
  GrabbingScope(const GrabbingScope&) = delete;
  GrabbingScope& operator=(const GrabbingScope&) = delete;

 private:
  void Tell(bool grabbing) const {
    if (engine_.scrollGrabHook) engine_.scrollGrabHook(engine_.scrollHookContext, grabbing);
  }
  const CCaptureEngine& engine_;
};

// The screen rectangle's rows, top first, 3 bytes per pixel; empty when
// they cannot be had.
std::vector<uint8_t> GrabRows(CCaptureEngine& engine, const RECT& r, int* stride) {
  CCapturedImage image;
  engine.Grab(r.left, r.top, r.right - r.left, r.bottom - r.top, image, ExcludeLayered);
  if (image.Empty()) return {};
  return image.ReadRows(24, stride);
}

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
  try {
    const RECT r = {left, top, right, bottom};
    const int width = right - left;
    const int height = bottom - top;

    // The picture before the scroll: the last step's, unless the rectangle
    // moved or this is the first step. Each grab hides the owner's controls
    // once; only the rows are kept, so a step holds two pictures' worth.
    int beforeStride = 0;
    std::vector<uint8_t> beforeRows;
    if (!work->lastRows.empty() && EqualRect(&work->lastRect, &r)) {
      beforeRows = std::move(work->lastRows);
      beforeStride = work->lastStride;
    } else {
      const GrabbingScope grabbing(*this);
      beforeRows = GrabRows(*this, r, &beforeStride);
    }
    work->ForgetLastRows();
    if (target && IsWindow(target)) {
      DWORD_PTR answer = 0;
      SendMessageTimeoutW(target, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                          kScrollAnswerTimeout, &answer);
    }
    framlet::ui::PumpMessagesFor(wait != 0 ? static_cast<DWORD>(wait) : kFinishingWait);

    // The new rows come from the screen as it is after the wait.
    int afterStride = 0;
    std::vector<uint8_t> afterRows;
    {
      const GrabbingScope grabbing(*this);
      afterRows = GrabRows(*this, r, &afterStride);
    }
    const bool readable = !beforeRows.empty() && !afterRows.empty();
    const int matched = readable ? work->matcher.FindShift(beforeRows.data(), static_cast<size_t>(beforeStride),
                                                           afterRows.data(), static_cast<size_t>(afterStride),
                                                           width, height)
                                 : 0;
    const framlet::scroll::ScrollStepPlan plan =
        framlet::scroll::PlanScrollStep(matched, height, wait == 0, work->firstStepShift);
    const uint8_t* freshRows =
        plan.shift > 0 ? afterRows.data() + static_cast<size_t>(plan.sourceRow) * static_cast<size_t>(afterStride)
                       : nullptr;
    const bool deliver = framlet::scroll::ApplyScrollStep(
        work->picture, plan, work->firstStepShift, beforeRows.data(), static_cast<size_t>(beforeStride), freshRows,
        static_cast<size_t>(afterStride), width, readable ? height : 0);
    if (!deliver) {
      work->lastRows = std::move(afterRows);
      work->lastStride = afterStride;
      work->lastRect = r;
      return 0;
    }
  } catch (const std::bad_alloc&) {
    // A step short of memory ends the capture with the rows gathered so far.
  }
  try {
    FinishScrollCapture(quality, review);
  } catch (const std::bad_alloc&) {
    work->picture.Clear();
    workingImage.Reset();
  }
  return 1;
}

int CCaptureEngine::FinishScrollCapture(int quality, int review) {
  if (!scrollWork) return 0;
  ScrollWork& work = *scrollWork;
  work.firstStepShift = 0;
  work.ForgetLastRows();
  if (work.picture.Empty()) return 0;
  framlet::scroll::ScrollStitcher& picture = work.picture;
  // A section of its own, so the clipboard shares its pixels; filled bottom
  // row first as the stitcher frees its blocks.
  CCapturedImage image;
  void* bits = nullptr;
  if (!image.CreateSection(picture.Width(), static_cast<int>(picture.Height()), 24, &bits)) {
    picture.Clear();
    return 0;
  }
  picture.TakeBottomUp(static_cast<uint8_t*>(bits));
  workingImage = std::move(image);
  if (review != 0) {
    PutOnClipboard(owner, workingImage);
  } else {
    SaveViaShortDialog(workingImage, owner, quality);
  }
  return 1;
}
