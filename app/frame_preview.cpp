#include "app/frame_parts.h"

#include "app/frame_commands.h"
#include "capture/capture_engine.h"
#include "capture/preview_opener.h"
#include "windows/capture_preview_dlg.h"

namespace {

// Opens the capture preview for every capture engine of the program, in front
// of the engine's owner; installed while the frame lives.
class CPreviewPart final : public CFramePart, private IPreviewOpener {
 public:
  CPreviewPart() { CCaptureEngine::SetPreviewOpener(this); }
  ~CPreviewPart() override {
    if (CCaptureEngine::PreviewOpener() == this) CCaptureEngine::SetPreviewOpener(nullptr);
  }

 private:
  void OpenPreview(HWND owner, CCapturedImage picture) override {
    CCapturePreviewDlg preview(std::move(picture));
    // Closing by a close button has the owner repaint its strips (the tab
    // strip draws over what the preview covered).
    if (preview.DoModal(owner) == CCapturePreviewDlg::ClosedByButton && owner)
      RedrawWindow(owner, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
};

}  // namespace

std::unique_ptr<CFramePart> MakePreviewPart(IFrameCommandHost&, CommandSeams&) {
  return std::make_unique<CPreviewPart>();
}
