#include "app/frame_parts.h"

#include "app/frame_commands.h"
#include "windows/print_setting_dlg.h"

namespace {

// F8: prints the frame's area, grabbed when the print button is pressed.
class CPrintingPart final : public CFramePart, public IPrinting {
 public:
  explicit CPrintingPart(IFrameCommandHost& host) : host_(host) {}

  void PrintArea() override {
    CPrintSettingDlg dialog(PrintSource::FrameArea, nullptr, host_.CaptureRect());
    dialog.DoModal(host_.FrameWindow());
  }

 private:
  IFrameCommandHost& host_;
};

}  // namespace

std::unique_ptr<CFramePart> MakePrintingPart(IFrameCommandHost& host, CommandSeams& seams) {
  auto part = std::make_unique<CPrintingPart>(host);
  seams.printing = part.get();
  return part;
}
