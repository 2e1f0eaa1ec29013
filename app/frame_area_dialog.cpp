#include "app/frame_parts.h"

#include "app/frame_commands.h"
#include "windows/area_setting_dlg.h"

namespace {

// The frame's one area dialog. OK moves and sizes the frame; the frame writes
// its new rectangle itself when it moves and repaints.
class CAreaDialogPart final : public CFramePart, public IAreaDialog {
 public:
  explicit CAreaDialogPart(IFrameCommandHost& host) : host_(host) {}

  void OpenAreaDialog(bool onlyWhenClosed) override {
    if (dialog_.IsOpen()) {
      // One window per object: an open dialog is brought forward instead of
      // opened again (the popup item leaves it alone).
      if (!onlyWhenClosed) SetForegroundWindow(dialog_.Hwnd());
      return;
    }
    dialog_.DoModal(host_.FrameWindow());
  }

 private:
  IFrameCommandHost& host_;
  CAreaSettingDlg dialog_;
};

}  // namespace

std::unique_ptr<CFramePart> MakeAreaDialogPart(IFrameCommandHost& host, CommandSeams& seams) {
  auto part = std::make_unique<CAreaDialogPart>(host);
  seams.areaDialog = part.get();
  return part;
}
