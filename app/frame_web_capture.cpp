#include "app/frame_parts.h"

#include "app/frame_commands.h"
#include "app/frame_geometry.h"
#include "capture/capture_engine.h"
#include "web/page_capture.h"
#include "web/web_document.h"
#include "web/web_page.h"

namespace {

// The web-mode toolbar's whole-page capture and continuous capture's
// rendering of the page as shown, both over the frame's primary view.
class CWebCapturePart final : public CFramePart, public IWholePageCapture {
 public:
  explicit CWebCapturePart(IFrameCommandHost& host) : host_(host) {}

  void WholePageCapture() override {
    if (host_.HiddenToTray()) host_.ShowRestored();
    CWebPage* view = host_.PrimaryView();
    CCaptureEngine* engine = host_.Engine();
    if (!view || !engine) return;
    const bool review = host_.CaptureSettings().captureReview;
    framlet::web::WholePageResult result;
    {
      CWebDocument document(*view);
      result = framlet::web::CaptureWholePage(document, *engine, host_.FrameWindow(), review);
    }
    // Without a document nothing was drawn and nothing is shown.
    if (!result.captured) return;
    // The view belongs in the hole of the frame as it is now.
    RECT client = {};
    GetClientRect(host_.FrameWindow(), &client);
    const framlet::frame::Place hole = framlet::frame::BrowserPlace(client.right, client.bottom);
    view->Move(hole.x, hole.y, hole.width, hole.height, true);
    RedrawWindow(host_.FrameWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (!result.picture.Empty()) engine->OpenPreview(std::move(result.picture));
  }

  std::string RenderViewAndAutoSave(int quality) override {
    CWebPage* view = host_.PrimaryView();
    CCaptureEngine* engine = host_.Engine();
    if (!view || !engine) return {};
    CWebDocument document(*view);
    return framlet::web::RenderViewAndAutoSave(document, *engine, quality);
  }

 private:
  IFrameCommandHost& host_;
};

}  // namespace

std::unique_ptr<CFramePart> MakeWebCapturePart(IFrameCommandHost& host, CommandSeams& seams) {
  auto part = std::make_unique<CWebCapturePart>(host);
  seams.wholePageCapture = part.get();
  return part;
}
