#include "app/frame_parts.h"

#include "app/commands_rules.h"
#include "app/frame_commands.h"
#include "capture/capture_engine.h"
#include "capture/window_bounds.h"
#include "core/settings.h"
#include "ui/picture.h"
#include "windows/region_select_dlg.h"
#include "windows/window_picker_dlg.h"

// Region selection and window capture: the selection window, made hidden when
// the frame starts and shown by Ctrl+D, and the window picker run by Ctrl+F.
namespace {

namespace commands = framlet::commands;

class CRegionPart final : public CFramePart, public IRegionSelection, public IWindowPick, public IRegionSelectHost {
 public:
  explicit CRegionPart(IFrameCommandHost& host) : host_(host), selection_(*this) {
    selection_.Create(host_.FrameWindow());
  }

  void StartRegionSelection(bool hideFrame) override {
    // Only the selection's release shows a hidden frame again: without the
    // window nothing would.
    if (!selection_.IsOpen()) return;
    if (hideFrame) ShowWindow(host_.FrameWindow(), SW_HIDE);
    selection_.Show();
  }

  bool FrameSeeThrough() const override { return host_.NormalMode(); }

  void RestoreFrame() override {
    host_.ApplyModeLayering();
    ShowWindow(host_.FrameWindow(), SW_SHOW);
  }

  void PickWindowCapture() override {
    HWND frame = host_.FrameWindow();
    const framlet::settings::FrameRect stored = framlet::settings::ReadFrameRect();
    RECT client = {};
    GetClientRect(frame, &client);
    const bool normal = host_.NormalMode();
    auto putBack = [&] {
      SetWindowPos(frame, nullptr, stored.left, stored.top, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    // Out of the picture while the desktop is frozen.
    if (normal) SetWindowPos(frame, nullptr, 0, 0, 1, 1, SWP_NOZORDER | SWP_NOACTIVATE);

    CWindowPickerDlg picker;
    const INT_PTR ended = picker.DoModal(frame);
    if (ended != IDOK || !picker.clicked || !picker.pickedWindow) {
      putBack();
      return;
    }
    const RECT p = picker.pickedRect;
    const framlet::frame::Rect picked = {p.left, p.top, p.right, p.bottom};
    const RECT work = framlet::screen::MonitorWorkArea(p);
    if (commands::CoversScreen(picked, {work.left, work.top, work.right, work.bottom})) {
      host_.CoverWholeScreen(p);
      return;
    }
    // The frame stays out of the picture until the grab is done; leaving the
    // maximised state shows it, so that comes after.
    if (normal) ShowWindow(frame, SW_HIDE);
    const bool wasMaximized = host_.Maximized();
    // The overlay and its outline are gone from the screen before it is read.
    LetScreenRepaint();
    const framlet::CaptureOptions& options = host_.CaptureSettings();
    if (CCaptureEngine* engine = host_.Engine()) {
      if (options.captureReview) {
        engine->GrabAndDeliver(p.left, p.top, p.right, p.bottom, options.jpegQuality, 1, IncludeLayered);
      } else if (options.autoSave) {
        engine->PrintWindowAndAutoSave(picker.pickedWindow, options.jpegQuality);
      } else {
        engine->PrintWindowAndDeliver(picker.pickedWindow, options.jpegQuality, 0);
      }
    }
    // A maximised frame comes back at its place from before; the stored
    // rectangle is the maximised one.
    if (wasMaximized) {
      const framlet::frame::Place& r = host_.RestoreRect();
      SetWindowPos(frame, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      putBack();
    }
    host_.LeaveMaximized();
  }

 private:
  IFrameCommandHost& host_;
  CRegionSelectDlg selection_;
};

}  // namespace

std::unique_ptr<CFramePart> MakeRegionPart(IFrameCommandHost& host, CommandSeams& seams) {
  auto part = std::make_unique<CRegionPart>(host);
  seams.regionSelection = part.get();
  seams.windowPick = part.get();
  return part;
}
