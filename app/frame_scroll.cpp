#include <string>

#include "app/commands_rules.h"
#include "app/frame_commands.h"
#include "app/frame_parts.h"
#include "capture/capture_engine.h"
#include "core/command_ids.h"
#include "core/module_dir.h"

// Scroll capture: the step timer runs one engine step per tick, scrolling the window
// seen through the hole one line at a time and stitching the rows that come
// into view, until the content stops moving or the user stops it. The stop
// button sits in the hole while a capture runs.
namespace {

constexpr wchar_t kMaximizedRefusal[] =
    L"전체창 모드에서는 스크롤캡쳐를 지원하지 않습니다.\n\n기본창 모드에서 창사이즈를 조정하신 후 스크롤캡쳐를 "
    L"진행해 주세요.";

constexpr UINT_PTR kStepTimer = kScrollStepTimer;
constexpr UINT kStepDelay = 1;
constexpr int kStepWait = 100;

class TickFlag {
 public:
  explicit TickFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~TickFlag() { flag_ = false; }
  TickFlag(const TickFlag&) = delete;
  TickFlag& operator=(const TickFlag&) = delete;

 private:
  bool& flag_;
};

class CScrollPart final : public CFramePart, public IScrollCapture {
 public:
  explicit CScrollPart(IFrameCommandHost& host) : host_(host) {
    if (CCaptureEngine* engine = host_.Engine()) {
      engine->scrollGrabHook = &CScrollPart::OnGrab;
      engine->scrollHookContext = this;
    }
  }
  ~CScrollPart() override {
    KillTimer(host_.FrameWindow(), kStepTimer);
    if (CCaptureEngine* engine = host_.Engine()) {
      engine->scrollGrabHook = nullptr;
      engine->scrollHookContext = nullptr;
    }
  }

  void StartScrollCapture() override {
    HWND frame = host_.FrameWindow();
    target_ = TargetAtCentre();
    running_ = false;
    if (host_.Maximized()) {
      const std::wstring title = framlet::ProgramTitle();
      MessageBoxW(frame, kMaximizedRefusal, title.c_str(), MB_OK);
      // No capture starts, so none would give the scroll button's tips back.
      host_.ClearScrollTipsSuppressed();
      return;
    }
    if (host_.HiddenToTray()) host_.ShowRestored();
    running_ = true;
    // Inside a step's wait the timer only fires once that step is over.
    SetTimer(frame, kStepTimer, kStepDelay, nullptr);
  }

  // The stop button and Escape: a running capture stops and delivers what it
  // has gathered (at once between steps, else after the step under way); a
  // stopped one whose last step is still to come goes on.
  void ToggleScrollCapture() override {
    HWND frame = host_.FrameWindow();
    target_ = TargetAtCentre();
    if (!running_) {
      running_ = true;
      SetTimer(frame, kStepTimer, kStepDelay, nullptr);
      return;
    }
    running_ = false;
    if (inTick_) return;
    KillTimer(frame, kStepTimer);
    CCaptureEngine* engine = host_.Engine();
    const int review = host_.CaptureSettings().captureReview ? 1 : 0;
    if (engine) engine->FinishScrollCapture(host_.CaptureSettings().jpegQuality, review);
    Finished(review);
  }

  bool ScrollRunning() const override { return running_; }

  bool OnTimer(UINT_PTR id) override {
    if (id != kStepTimer) return false;
    HWND frame = host_.FrameWindow();
    KillTimer(frame, kStepTimer);
    // A tick arriving during a step's wait: the running step re-arms the timer.
    if (inTick_) return true;
    CCaptureEngine* engine = host_.Engine();
    if (!engine) return true;
    const RECT r = host_.CaptureRect();
    const int review = host_.CaptureSettings().captureReview ? 1 : 0;
    int finished = 0;
    {
      // Cleared on every way out of the step, so a failed step leaves later
      // ticks and the stop button working.
      const TickFlag ticking(inTick_);
      finished = engine->ScrollStep(r.left, r.top, r.right, r.bottom, target_, running_ ? kStepWait : 0,
                                    host_.CaptureSettings().jpegQuality, review);
    }
    if (finished) {
      Finished(review);
    } else {
      SetTimer(frame, kStepTimer, kStepDelay, nullptr);
      host_.ShowStopButton(StopButton::Scroll, true);
    }
    return true;
  }

 private:
  // In normal mode the window under the see-through hole; in web mode the
  // page in the hole.
  HWND TargetAtCentre() const {
    HWND frame = host_.FrameWindow();
    RECT client = {};
    GetClientRect(frame, &client);
    POINT centre = {client.right / 2, client.bottom / 2};
    ClientToScreen(frame, &centre);
    return host_.NormalMode() ? WindowUnderFrame(frame, centre) : WindowFromPoint(centre);
  }

  void Finished(int review) {
    running_ = false;
    target_ = nullptr;
    KillTimer(host_.FrameWindow(), kStepTimer);
    host_.ShowStopButton(StopButton::Scroll, false);
    host_.ClearScrollTipsSuppressed();
    CCaptureEngine* engine = host_.Engine();
    if (!engine) return;
    if (review != 0 && !engine->workingImage.Empty()) engine->OpenPreview(std::move(engine->workingImage));
    engine->workingImage.Reset();
  }

  // The engine's grabs: the stop button stays out of every picture, and is
  // back for the wait in between so that it can be pressed.
  static void OnGrab(void* context, bool grabbing) {
    auto* self = static_cast<CScrollPart*>(context);
    if (grabbing) {
      self->buttonWasShown_ = self->host_.StopButtonShown(StopButton::Scroll);
      self->host_.ShowStopButton(StopButton::Scroll, false);
    } else if (self->buttonWasShown_ && self->running_) {
      self->host_.ShowStopButton(StopButton::Scroll, true);
    }
  }

  IFrameCommandHost& host_;
  HWND target_ = nullptr;
  bool running_ = false;
  bool inTick_ = false;
  bool buttonWasShown_ = false;
};

}  // namespace

std::unique_ptr<CFramePart> MakeScrollPart(IFrameCommandHost& host, CommandSeams& seams) {
  auto part = std::make_unique<CScrollPart>(host);
  seams.scrollCapture = part.get();
  return part;
}
