// The real common save dialog, worked from a second thread: the name typed and
// the filter chosen decide the file and its format, automatic saves continue
// the series stem_0, stem_1, ... skipping names that exist, a cancelled
// proposal still advances the counter, and a save whose writer failed is not
// reported as saved.
#include <gtest/gtest.h>

#include <memory>

#include "core/settings.h"
#include "core/settings_keys.h"
#include "capture/capture_engine.h"
#include "image_test_util.h"
#include "win_test_util.h"

using namespace imagetest;

namespace {

const std::vector<std::string> kListA = {"JPEG Files (*.jpg)", "Bitmap Files (*.bmp)", "PNG Files (*.png)",
                                         "GIF Files (*.gif)"};

class SaveDialog : public wintest::WinTest {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
    engine_ = std::make_unique<CCaptureEngine>(owner_);
    framlet::settings::WriteText(framlet::keys::kSelectFolder, pictures_.Path());
  }
  void TearDown() override {
    engine_.reset();
    DestroyWindow(owner_);
  }

  std::string AutoSave() { return engine_->GrabAndAutoSave(0, 0, 40, 30, 100); }

  // The folder as the dialog reports it (its own spelling of the path).
  static bool SameFolder(const std::string& a, const std::string& b) {
    char fa[MAX_PATH] = {}, fb[MAX_PATH] = {};
    GetLongPathNameA(a.c_str(), fa, MAX_PATH);
    GetLongPathNameA(b.c_str(), fb, MAX_PATH);
    return _stricmp(fa, fb) == 0;
  }

  HWND owner_ = nullptr;
  std::unique_ptr<CCaptureEngine> engine_;
  // The save folder holds only the pictures.
  wintest::TempFolder pictures_{"dialog-pictures"};
};

TEST_F(SaveDialog, TypedNameAndFilterThenAutomaticSeriesSkippingExistingNames) {
  // The first automatic save of an engine asks.
  DialogDriver driver({"desk", 2, false});
  const std::string first = AutoSave();
  const DialogSeen& seen = driver.Seen();
  ASSERT_TRUE(seen.found) << "no save dialog appeared";
  ASSERT_TRUE(seen.closed);
  EXPECT_EQ(seen.owner, owner_);
  EXPECT_EQ(seen.filters, kListA);
  EXPECT_EQ(seen.selectedFilter, 0);
  EXPECT_EQ(seen.proposal, "");
  EXPECT_TRUE(SameFolder(seen.folder, pictures_.Path())) << seen.folder;

  EXPECT_EQ(first, pictures_.File("desk.png"));
  EXPECT_EQ(Signature(first), "PNG");
  const Pixels decoded = Decode(first);
  EXPECT_EQ(decoded.width, 40);
  EXPECT_EQ(decoded.height, 30);
  EXPECT_EQ(engine_->formatIndex, 3);
  EXPECT_STREQ(engine_->baseName, "desk");
  EXPECT_EQ(engine_->counter, 0);

  // Later ones do not: desk_0, (desk_1 taken), desk_2, as PNG.
  { std::ofstream(pictures_.File("desk_1.png"), std::ios::binary) << "someone else's"; }
  EXPECT_EQ(AutoSave(), pictures_.File("desk_0.png"));
  EXPECT_EQ(AutoSave(), pictures_.File("desk_2.png"));
  EXPECT_EQ(Signature(pictures_.File("desk_0.png")), "PNG");
  EXPECT_EQ(Signature(pictures_.File("desk_2.png")), "PNG");
  EXPECT_EQ(FileBytes(pictures_.File("desk_1.png")), "someone else's");
  EXPECT_EQ(engine_->counter, 3);
}

TEST_F(SaveDialog, CancelledProposalAdvancesTheCounterAndAKeptProposalContinuesTheSeries) {
  {
    DialogDriver driver({"shot", 1, false});  // BMP
    ASSERT_NE(AutoSave(), "");
    ASSERT_TRUE(driver.Seen().closed);
  }
  EXPECT_EQ(AutoSave(), pictures_.File("shot_0.bmp"));

  // A save through the dialog proposes the next name of the series; cancelled.
  {
    DialogDriver driver({"", -1, true});
    EXPECT_EQ(engine_->GrabAndDeliver(0, 0, 40, 30, 100, 0, ExcludeLayered), 0);
    const DialogSeen& seen = driver.Seen();
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(seen.proposal, "shot_1");
  }
  EXPECT_EQ(engine_->currentPath, pictures_.File("shot_0.bmp"));
  EXPECT_FALSE(Exists(pictures_.File("shot_1.bmp")));
  EXPECT_EQ(AutoSave(), pictures_.File("shot_2.bmp")) << "the cancelled proposal used up shot_1";

  // Proposal kept, JPEG filter (the first, selected again): the series goes on as JPEG.
  {
    DialogDriver driver({"", -1, false});
    EXPECT_EQ(engine_->GrabAndDeliver(0, 0, 40, 30, 80, 0, ExcludeLayered), 1);
    const DialogSeen& seen = driver.Seen();
    ASSERT_TRUE(seen.closed);
    EXPECT_EQ(seen.proposal, "shot_3");
  }
  EXPECT_EQ(Signature(pictures_.File("shot_3.jpg")), "JPEG");
  EXPECT_EQ(engine_->formatIndex, 1);
  EXPECT_EQ(AutoSave(), pictures_.File("shot_4.jpg"));
  EXPECT_EQ(Signature(pictures_.File("shot_4.jpg")), "JPEG");
}

TEST_F(SaveDialog, ExtensionAndFormatAreNotReconciledAndKoreanNamesWork) {
  // "캡처.jpg" typed under the GIF filter: the file keeps the name, the format follows the filter.
  const std::string korean = "\xC4\xB8\xC3\xB3";
  DialogDriver driver({korean + ".jpg", 3, false});
  const std::string first = AutoSave();
  ASSERT_TRUE(driver.Seen().closed);
  EXPECT_EQ(first, pictures_.File(korean + ".jpg"));
  EXPECT_EQ(Signature(first), "GIF89a");
  EXPECT_EQ(AutoSave(), pictures_.File(korean + "_0.jpg"));
  EXPECT_EQ(Signature(pictures_.File(korean + "_0.jpg")), "GIF89a");
}

TEST_F(SaveDialog, AFolderTheCodePageCannotNameIsReachedByItsShortForm) {
  // Thai has no place in code page 949: the folder's name would come back as '?'.
  const std::wstring folder = Wide(pictures_.Path()) + L"\\\u0E01\u0E02";
  const std::wstring file = folder + L"\\shot.bmp";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  DialogDriver driver({"", 1, false}, file);  // BMP
  const std::string saved = AutoSave();
  ASSERT_TRUE(driver.Seen().closed);
  EXPECT_EQ(saved.find('?'), std::string::npos) << saved;
  EXPECT_EQ(Signature(saved), "BMP");
  EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << "written into that folder";
  DeleteFileW(file.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST_F(SaveDialog, SaveViaDialogProposesNothingAndReportsOnlyWrittenFiles) {
  const Pixels source = FewColours(30, 20, 40);
  const CCapturedImage image = MakeImage(source);
  {
    DialogDriver driver({"kept", 2, false});
    const std::string path = engine_->SaveViaDialog(image, 100);
    const DialogSeen& seen = driver.Seen();
    ASSERT_TRUE(seen.closed);
    EXPECT_EQ(seen.proposal, "");
    EXPECT_EQ(path, pictures_.File("kept.png"));
    EXPECT_EQ(MaxChannelError(Decode(path), source), 0);
  }
  {
    // Confirmed, but nothing could be written: not a saved capture.
    DialogDriver driver({"lost", 1, false});
    EXPECT_EQ(engine_->SaveViaDialog(CCapturedImage(), 100), "");
    EXPECT_TRUE(driver.Seen().closed);
    EXPECT_FALSE(Exists(pictures_.File("lost.bmp")));
  }
  {
    DialogDriver driver({"", -1, true});
    EXPECT_EQ(engine_->SaveViaDialog(image, 100), "");
    EXPECT_TRUE(driver.Seen().closed);
  }
}

TEST_F(SaveDialog, CroppedSaveWritesTheTopLeftPartAndFailsOnAReadOnlyFile) {
  const Pixels source = ManyColours(64, 48);
  const CCapturedImage image = MakeImage(source);
  {
    DialogDriver driver({"crop", 1, false});  // BMP
    const std::string path = engine_->SaveCroppedViaDialog(image, owner_, 20, 10, 100);
    const DialogSeen& seen = driver.Seen();
    ASSERT_TRUE(seen.closed);
    EXPECT_EQ(seen.filters, kListA);
    EXPECT_EQ(seen.owner, owner_);
    EXPECT_TRUE(SameFolder(seen.folder, pictures_.Path())) << seen.folder;
    ASSERT_EQ(path, pictures_.File("crop.bmp"));
    const Pixels back = Decode(path);
    ASSERT_EQ(back.width, 20);
    ASSERT_EQ(back.height, 10);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x) ASSERT_EQ(back.At(x, y), source.At(x, y)) << x << "," << y;
  }
  {
    DialogDriver driver({"whole", 2, false});  // sizes below 1: the whole picture
    const std::string path = engine_->SaveCroppedViaDialog(image, owner_, 0, -3, 100);
    ASSERT_TRUE(driver.Seen().closed);
    EXPECT_EQ(MaxChannelError(Decode(path), source), 0);
  }
  {
    const std::string locked = pictures_.File("locked.bmp");
    { std::ofstream(locked, std::ios::binary) << "keep"; }
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    DialogDriver driver({"locked.bmp", 1, false});
    EXPECT_EQ(engine_->SaveCroppedViaDialog(image, owner_, 20, 10, 100), "");
    EXPECT_TRUE(driver.Seen().closed) << "no overwrite prompt for this dialog";
    EXPECT_EQ(FileBytes(locked), "keep");
  }
}

TEST_F(SaveDialog, ShortDialogOffersThreeFormatsAndReportsWhetherTheFileWasWritten) {
  const Pixels source = ManyColours(24, 16);
  const CCapturedImage image = MakeImage(source);
  {
    DialogDriver driver({pictures_.File("scroll"), 2, false});  // PNG
    EXPECT_EQ(engine_->SaveViaShortDialog(image, owner_, 100), 1);
    const DialogSeen& seen = driver.Seen();
    ASSERT_TRUE(seen.closed);
    EXPECT_EQ(seen.filters, std::vector<std::string>(kListA.begin(), kListA.begin() + 3));
    EXPECT_EQ(seen.owner, owner_);
    EXPECT_EQ(MaxChannelError(Decode(pictures_.File("scroll.png")), source), 0);
  }
  {
    const std::string locked = pictures_.File("locked.jpg");
    { std::ofstream(locked, std::ios::binary) << "keep"; }
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    DialogDriver driver({locked, 0, false});
    EXPECT_EQ(engine_->SaveViaShortDialog(image, owner_, 100), 0);
    EXPECT_TRUE(driver.Seen().closed);
    EXPECT_EQ(FileBytes(locked), "keep");
  }
  {
    DialogDriver driver({"", -1, true});
    EXPECT_EQ(engine_->SaveViaShortDialog(image, owner_, 100), 0);
    EXPECT_TRUE(driver.Seen().closed);
  }
  // The naming state is not touched by these saves.
  EXPECT_EQ(engine_->currentPath, "");
  EXPECT_EQ(engine_->formatIndex, 0);
}

TEST_F(SaveDialog, StampedSaveAsksForANameWhenTheStoredPathIsEmpty) {
  // The preview stores an empty path after a failed save; the next one asks.
  framlet::settings::WriteText(framlet::keys::kLastAutoPass, "");
  const Pixels source = FewColours(16, 12, 9);
  DialogDriver driver({"first", 2, false});
  const std::string path = engine_->SaveWithLastPath(MakeImage(source), 100);
  const DialogSeen& seen = driver.Seen();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.proposal, "");
  EXPECT_EQ(seen.filters, kListA);
  EXPECT_EQ(path, pictures_.File("first.png"));
  EXPECT_EQ(MaxChannelError(Decode(path), source), 0);
}

TEST_F(SaveDialog, OnlyTheNamingDialogAsksBeforeReplacingAFile) {
  const std::string old = pictures_.File("old.bmp");
  { std::ofstream(old, std::ios::binary) << "old"; }
  {
    DialogDriver driver({"old", 1, false});
    EXPECT_EQ(AutoSave(), old);
    const DialogSeen& seen = driver.Seen();
    ASSERT_TRUE(seen.closed);
    EXPECT_TRUE(seen.prompted);
    EXPECT_EQ(Signature(old), "BMP");
  }
  { std::ofstream(old, std::ios::binary) << "old"; }
  {
    DialogDriver driver({"old", 1, false});
    EXPECT_EQ(engine_->SaveCroppedViaDialog(MakeImage(FewColours(8, 8, 3)), owner_, 0, 0, 100), old);
    const DialogSeen& seen = driver.Seen();
    ASSERT_TRUE(seen.closed);
    EXPECT_FALSE(seen.prompted);
    EXPECT_EQ(Signature(old), "BMP");
  }
}

TEST_F(SaveDialog, AutomaticSaveWithTheDialogCancelledWritesNothing) {
  DialogDriver driver({"", -1, true});
  EXPECT_EQ(AutoSave(), "");
  ASSERT_TRUE(driver.Seen().closed);
  EXPECT_EQ(engine_->currentPath, "");
  EXPECT_EQ(engine_->formatIndex, 0);
}

}  // namespace
