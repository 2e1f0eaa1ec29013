#include "web/page_capture.h"

#include <vector>

#include "capture/capture_engine.h"
#include "ui/gdi.h"

namespace pagecap = framlet::pagecap;

namespace {

// Draws the document into a new picture of w x h filled with the backdrop colour.
bool DrawPage(IPageDocument& page, int width, int height, CCapturedImage& out) {
  out.Reset();
  if (!pagecap::DrawableSize(width, height)) return false;
  CCapturedImage image;
  if (!image.CreateScreenCompatible(width, height)) return false;
  framlet::ui::MemoryDC memory(nullptr);
  if (!memory) return false;
  {
    framlet::ui::SelectGuard select(memory, image.Bitmap());
    const RECT bounds = {0, 0, width, height};
    framlet::ui::Brush backdrop(
        CreateSolidBrush(RGB(pagecap::kBackdropRed, pagecap::kBackdropGreen, pagecap::kBackdropBlue)));
    FillRect(memory, &bounds, backdrop);
    // A page that cannot draw leaves the backdrop: the picture shows what the page painted, nothing.
    page.Draw(memory, bounds);
  }
  out = std::move(image);
  return true;
}

// Puts the window back where and as it was, whatever happened in between.
class ViewRestorer {
 public:
  explicit ViewRestorer(IPageDocument& page) : page_(page), place_(page.ViewPlace()), visible_(page.ViewVisible()) {}
  ~ViewRestorer() {
    page_.PlaceView(place_);
    page_.ShowView(visible_);
  }
  ViewRestorer(const ViewRestorer&) = delete;
  ViewRestorer& operator=(const ViewRestorer&) = delete;

 private:
  IPageDocument& page_;
  RECT place_;
  bool visible_;
};

}  // namespace

namespace framlet::web {

bool RenderView(IPageDocument& page, CCapturedImage& out) {
  out.Reset();
  if (!page.HasDocument()) return false;
  const SIZE client = page.ClientSize();
  return DrawPage(page, client.cx, client.cy, out);
}

WholePageResult CaptureWholePage(IPageDocument& page, CCaptureEngine& engine, HWND owner, bool review) {
  WholePageResult result;
  if (!page.HasDocument()) return result;
  CCapturedImage image;
  int cropHeight = 0;
  {
    ViewRestorer restore(page);
    page.ShowView(false);
    pagecap::EnlargeToWholePage(page);
    const SIZE client = page.ClientSize();
    if (!DrawPage(page, client.cx, client.cy, image)) return result;
    int stride = 0;
    const std::vector<uint8_t> rows = image.ReadRows(32, &stride);
    const int trailing =
        rows.empty() ? 0 : pagecap::TrailingBackdropRows(rows.data(), image.Width(), image.Height(), stride);
    cropHeight = pagecap::CroppedHeight(image.Height(), trailing);
  }
  result.captured = true;
  if (review) {
    result.onClipboard = CCaptureEngine::PutOnClipboard(owner, image);
    result.picture = std::move(image);
  } else {
    result.path = engine.SaveCroppedViaDialog(image, owner, 0, cropHeight, 100);
  }
  return result;
}

std::string RenderViewAndAutoSave(IPageDocument& page, CCaptureEngine& engine, int quality) {
  CCapturedImage image;
  if (!RenderView(page, image)) return {};
  return engine.SaveUnderNextName(image, quality);
}

}  // namespace framlet::web

// ---- web page capture (the engine's part) ----

std::string CCaptureEngine::SaveUnderNextName(const CCapturedImage& image, int quality) {
  if (image.Empty()) return {};
  return NextFreeName(quality, image);
}
