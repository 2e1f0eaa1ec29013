#include <string>

#include "app/frame_commands.h"
#include "app/frame_parts.h"
#include "capture/capture_engine.h"
#include "core/command_ids.h"
#include "core/module_dir.h"

// Continuous capture: after a confirmation and the interval dialog, the
// capture area is saved under the next automatic name again and again until
// the stop button or Escape ends the series, or a shot writes nothing.
namespace {

constexpr wchar_t kStartQuestion[] =
    L"연속캡쳐를 시작 하시겠습니까?\n\n연속캡쳐를 멈추실때는 중지버튼 또는  ESC키를 누르시면 됩니다. ";

constexpr UINT_PTR kShotTimer = kContinuousShotTimer;
constexpr UINT_PTR kStopButtonTimer = kStopButtonRepaintTimer;
constexpr UINT kFirstShotDelay = 1;
constexpr UINT kStopButtonRepaint = 100;

class CContinuousPart final : public CFramePart, public IContinuousCapture {
 public:
  CContinuousPart(IFrameCommandHost& host, const CommandSeams& seams) : host_(host), seams_(seams) {}
  ~CContinuousPart() override {
    HWND frame = host_.FrameWindow();
    KillTimer(frame, kShotTimer);
    KillTimer(frame, kStopButtonTimer);
  }

  void StartContinuousCapture() override {
    HWND frame = host_.FrameWindow();
    const std::wstring title = framlet::ProgramTitle();
    if (MessageBoxW(frame, kStartQuestion, title.c_str(), MB_YESNO) != IDYES) return;
    if (host_.HiddenToTray()) host_.ShowRestored();
    // Over a web page the stop button is repainted all the time, since the
    // page draws over it.
    if (!host_.NormalMode() && !repaintTimerStarted_) {
      SetTimer(frame, kStopButtonTimer, kStopButtonRepaint, nullptr);
      repaintTimerStarted_ = true;
    }
    if (!host_.AskContinuousOptions()) return;
    running_ = true;
    SetTimer(frame, kShotTimer, kFirstShotDelay, nullptr);
    host_.ShowStopButton(StopButton::Continuous, true);
  }

  void StopContinuousCapture() override {
    running_ = false;
    KillTimer(host_.FrameWindow(), kShotTimer);
    host_.ShowStopButton(StopButton::Continuous, false);
  }

  bool ContinuousRunning() const override { return running_; }

  bool OnTimer(UINT_PTR id) override {
    if (id == kStopButtonTimer) {
      if (host_.StopButtonShown(StopButton::Continuous)) {
        HWND button = GetDlgItem(host_.FrameWindow(), IDC_STOP_CONTINUOUS);
        RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      }
      return true;
    }
    if (id != kShotTimer) return false;
    Shoot();
    return true;
  }

 private:
  void Shoot() {
    HWND frame = host_.FrameWindow();
    KillTimer(frame, kShotTimer);
    if (!running_) return;
    const RECT r = host_.CaptureRect();
    const int quality = host_.CaptureSettings().jpegQuality;
    std::string written;
    if (host_.NormalMode()) {
      // The button sits in the hole: out of the picture while it is taken.
      host_.ShowStopButton(StopButton::Continuous, false);
      if (CCaptureEngine* engine = host_.Engine()) written = engine->GrabAndAutoSave(r.left, r.top, r.right, r.bottom, quality);
      if (running_) host_.ShowStopButton(StopButton::Continuous, true);
    } else {
      written = seams_.wholePageCapture->RenderViewAndAutoSave(quality);
    }
    // Nothing written (a cancelled first save dialog, a failed write, a
    // deleted folder) ends the series without a message.
    if (written.empty()) {
      running_ = false;
      host_.ShowStopButton(StopButton::Continuous, false);
    }
    if (running_) {
      const int interval = host_.CaptureSettings().captureInterval;
      SetTimer(frame, kShotTimer, static_cast<UINT>(interval > 0 ? interval : 0), nullptr);
    }
  }

  IFrameCommandHost& host_;
  const CommandSeams& seams_;
  bool running_ = false;
  bool repaintTimerStarted_ = false;
};

}  // namespace

std::unique_ptr<CFramePart> MakeContinuousPart(IFrameCommandHost& host, CommandSeams& seams) {
  auto part = std::make_unique<CContinuousPart>(host, seams);
  seams.continuousCapture = part.get();
  return part;
}
