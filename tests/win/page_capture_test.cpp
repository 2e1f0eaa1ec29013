// Page capture against a stand-in document: the picture of the page as shown,
// the whole page drawn after the hidden window has grown to it, the unpainted
// rows the saved file loses (but the clipboard keeps), and the window put back
// on every path. Without a document, or with nothing to draw into, nothing
// is touched and no picture is made.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "capture/capture_engine.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "image_test_util.h"
#include "web/page_capture.h"
#include "win_test_util.h"

using namespace imagetest;
namespace pagecap = framlet::pagecap;

namespace {

constexpr uint32_t kBackdrop = 0x64696E;  // RGB(100, 105, 110)
constexpr uint32_t kPageColour = 0x2080C0;

// A page of pageW x pageH in a window with a 2-pixel border; the page paints
// its colour over its top `paintedRows` rows (all its rows by default).
class StandInPage : public IPageDocument {
 public:
  StandInPage(long long pageW, long long pageH, pagecap::Element scroller = pagecap::Element::Root)
      : pageW_(pageW), pageH_(pageH), scroller_(scroller), paintedRows(static_cast<int>(std::min(pageH, 100000LL))) {}

  bool HasDocument() override { return hasDocument; }
  void ScrollTo(int x, int y) override {
    x_ = std::clamp<long long>(x, 0, std::max(0LL, pageW_ - ClientW()));
    y_ = std::clamp<long long>(y, 0, std::max(0LL, pageH_ - ClientH()));
  }
  pagecap::Scroll Read(pagecap::Element element) override {
    if (element != scroller_) return {0, 0, ClientW(), ClientH()};
    return {x_, y_, std::max(pageW_, ClientW()), std::max(pageH_, ClientH())};
  }
  pagecap::Size ViewSize() override { return {place.right - place.left, place.bottom - place.top}; }
  void ResizeView(int width, int height) override {
    SetRect(&place, 0, 0, width, height);
    ++changes;
  }
  SIZE ClientSize() override { return {static_cast<LONG>(ClientW()), static_cast<LONG>(ClientH())}; }
  RECT ViewPlace() override { return place; }
  bool ViewVisible() override { return visible; }
  void PlaceView(const RECT& p) override {
    place = p;
    ++changes;
  }
  void ShowView(bool show) override {
    if (!show) hiddenWhileDrawn = true;
    visible = show;
    ++changes;
  }
  bool Draw(HDC dc, const RECT& bounds) override {
    ++draws;
    drawnBounds = bounds;
    drawnHidden = !visible;
    if (paintedRows <= 0) return true;
    const RECT painted = {bounds.left, bounds.top, bounds.right, bounds.top + paintedRows};
    HBRUSH brush = CreateSolidBrush(RGB(kPageColour >> 16, (kPageColour >> 8) & 0xFF, kPageColour & 0xFF));
    FillRect(dc, &painted, brush);
    DeleteObject(brush);
    return true;
  }

  long long ClientW() const { return std::max(0L, place.right - place.left - 4); }
  long long ClientH() const { return std::max(0L, place.bottom - place.top - 4); }

  bool hasDocument = true;
  RECT place = {4, 121, 4 + 400, 121 + 300};
  bool visible = true;
  int changes = 0;
  int draws = 0;
  RECT drawnBounds = {};
  bool drawnHidden = false;
  bool hiddenWhileDrawn = false;

 private:
  long long pageW_, pageH_;
  pagecap::Element scroller_;
  long long x_ = 0, y_ = 0;

 public:
  int paintedRows;
};

class PageCapture : public wintest::WinTest {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
    engine_ = std::make_unique<CCaptureEngine>(owner_);
    framlet::settings::WriteText(framlet::keys::kSelectFolder, pictures_.Path());
    PutMarkerOnClipboard();
  }
  void TearDown() override {
    engine_.reset();
    DestroyWindow(owner_);
  }

  // A 3 x 3 bitmap on the clipboard, to see whether a capture replaced it.
  void PutMarkerOnClipboard() {
    CCapturedImage marker = MakeImage(FewColours(3, 3, 2));
    ASSERT_TRUE(CCaptureEngine::PutOnClipboard(owner_, marker));
  }
  static SIZE ClipboardBitmap() {
    SIZE size = {0, 0};
    if (!OpenClipboard(nullptr)) return size;
    if (HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
      BITMAP info = {};
      GetObjectW(bitmap, sizeof(info), &info);
      size = {info.bmWidth, info.bmHeight};
    }
    CloseClipboard();
    return size;
  }
  static int BmpHeight(const std::string& path) {
    const std::string bytes = FileBytes(path);
    if (bytes.size() < 26) return -1;
    int32_t h = 0;
    memcpy(&h, bytes.data() + 22, 4);
    return h < 0 ? -h : h;
  }

  HWND owner_ = nullptr;
  std::unique_ptr<CCaptureEngine> engine_;
  // The save folder holds only the pictures.
  wintest::TempFolder pictures_{"page-pictures"};
};

TEST_F(PageCapture, ViewAsShownIsTheClientSizeOverTheBackdrop) {
  StandInPage page(396, 5000);
  page.paintedRows = 150;
  CCapturedImage image;
  ASSERT_TRUE(framlet::web::RenderView(page, image));
  ASSERT_EQ(image.Width(), 396);
  ASSERT_EQ(image.Height(), 296);
  const Pixels pixels = ReadImage(image);
  EXPECT_EQ(pixels.rgb[0], kPageColour);
  EXPECT_EQ(pixels.rgb[149 * 396 + 395], kPageColour);
  EXPECT_EQ(pixels.rgb[150 * 396], kBackdrop);
  EXPECT_EQ(pixels.rgb[295 * 396 + 395], kBackdrop);
  EXPECT_EQ(page.changes, 0) << "the view as shown is not moved or hidden";

  // No document, or a window with no client area: no picture, nothing drawn.
  StandInPage none(396, 5000);
  none.hasDocument = false;
  EXPECT_FALSE(framlet::web::RenderView(none, image));
  EXPECT_TRUE(image.Empty());
  EXPECT_EQ(none.draws, 0);
  StandInPage flat(396, 5000);
  SetRect(&flat.place, 4, 121, 4 + 400, 121 + 4);  // border only: 396 x 0
  EXPECT_FALSE(framlet::web::RenderView(flat, image));
  EXPECT_TRUE(image.Empty());

  // Continuous capture's save of it: nothing written without a picture.
  EXPECT_EQ(framlet::web::RenderViewAndAutoSave(none, *engine_, 90), "");
}

TEST_F(PageCapture, WholePageWithReviewPutsTheUntrimmedPictureOnTheClipboard) {
  StandInPage page(1200, 2500);
  page.paintedRows = 2000;
  const RECT before = page.place;
  const framlet::web::WholePageResult result = framlet::web::CaptureWholePage(page, *engine_, owner_, true);
  EXPECT_TRUE(result.captured);
  EXPECT_TRUE(result.onClipboard);
  EXPECT_EQ(result.path, "");
  // Drawn once, hidden, at the grown client size, which holds the whole page (widened too).
  EXPECT_EQ(page.draws, 1);
  EXPECT_TRUE(page.drawnHidden);
  EXPECT_GE(page.drawnBounds.right, 1200);
  EXPECT_GE(page.drawnBounds.bottom, 2500);
  const SIZE clip = ClipboardBitmap();
  EXPECT_EQ(clip.cx, page.drawnBounds.right);
  EXPECT_EQ(clip.cy, page.drawnBounds.bottom) << "the clipboard keeps the unpainted rows";
  // Back at its place and shown.
  EXPECT_TRUE(EqualRect(&page.place, &before));
  EXPECT_TRUE(page.visible);
}

TEST_F(PageCapture, WholePageSavedWithoutTheUnpaintedRowsOrWholeWhenNothingWasPainted) {
  {
    StandInPage page(300, 900, pagecap::Element::Body);
    page.paintedRows = 700;
    DialogDriver driver({"trimmed", 1, false});  // BMP
    const framlet::web::WholePageResult result = framlet::web::CaptureWholePage(page, *engine_, owner_, false);
    ASSERT_TRUE(driver.Seen().found) << "no save dialog appeared";
    ASSERT_FALSE(result.path.empty());
    EXPECT_FALSE(result.onClipboard);
    EXPECT_EQ(BmpHeight(result.path), 700);
    EXPECT_EQ(ClipboardBitmap().cx, 3) << "the clipboard is left alone";
    EXPECT_TRUE(page.visible);
  }
  {
    StandInPage blank(300, 900);
    blank.paintedRows = 0;
    DialogDriver driver({"blank", 1, false});
    const framlet::web::WholePageResult result = framlet::web::CaptureWholePage(blank, *engine_, owner_, false);
    ASSERT_TRUE(driver.Seen().found);
    ASSERT_FALSE(result.path.empty());
    EXPECT_EQ(BmpHeight(result.path), blank.drawnBounds.bottom);
  }
  {
    // A cancelled dialog saves nothing and still puts the view back.
    StandInPage page(300, 900);
    const RECT before = page.place;
    DialogDriver driver({"", -1, true});
    const framlet::web::WholePageResult result = framlet::web::CaptureWholePage(page, *engine_, owner_, false);
    ASSERT_TRUE(driver.Seen().found);
    EXPECT_EQ(result.path, "");
    EXPECT_TRUE(EqualRect(&page.place, &before));
    EXPECT_TRUE(page.visible);
  }
}

TEST_F(PageCapture, NoDocumentOrNoDrawablePictureTouchesNothingButPutsTheViewBack) {
  StandInPage none(800, 4000);
  none.hasDocument = false;
  const framlet::web::WholePageResult nothing = framlet::web::CaptureWholePage(none, *engine_, owner_, true);
  EXPECT_FALSE(nothing.captured);
  EXPECT_EQ(none.changes, 0) << "the view is neither hidden nor moved";
  EXPECT_EQ(none.draws, 0);
  EXPECT_EQ(ClipboardBitmap().cx, 3);

  // A page claiming an enormous size: the window stops at the largest side,
  // no 4 GB picture is made, and the view is back where and as it was.
  StandInPage huge(1LL << 40, 1LL << 40);
  const RECT before = huge.place;
  const framlet::web::WholePageResult refused = framlet::web::CaptureWholePage(huge, *engine_, owner_, true);
  EXPECT_FALSE(refused.captured);
  EXPECT_EQ(huge.draws, 0);
  EXPECT_TRUE(huge.hiddenWhileDrawn);
  EXPECT_TRUE(EqualRect(&huge.place, &before));
  EXPECT_TRUE(huge.visible);
  EXPECT_EQ(ClipboardBitmap().cx, 3);

  // A hidden view stays hidden afterwards.
  StandInPage hidden(300, 300);
  hidden.visible = false;
  framlet::web::CaptureWholePage(hidden, *engine_, owner_, true);
  EXPECT_FALSE(hidden.visible);
}

}  // namespace
