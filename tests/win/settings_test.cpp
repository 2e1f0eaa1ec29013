// The settings store against the real profile API: defaults, the flag and
// number rules, write-through, cut values and unwritable files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/settings.h"
#include "core/settings_keys.h"
#include "win_test_util.h"

using namespace framlet;

namespace {

class SettingsStore : public wintest::WinTest {
 protected:
  void WriteFile(const std::string& text) { std::ofstream(Ini(), std::ios::binary) << text; }
  std::string FileText() {
    std::ifstream in(Ini(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(SettingsStore, NoFileGivesEveryDefault) {
  using namespace keys;
  EXPECT_TRUE(settings::ReadFlag(kRememberPosition));
  EXPECT_TRUE(settings::ReadFlag(kAlwaysTop));
  EXPECT_TRUE(settings::ReadFlag(kCaptureReview));
  EXPECT_FALSE(settings::ReadFlag(kAutoSave));
  EXPECT_TRUE(settings::ReadFlag(kAutoSave, true));  // the region selection's own default
  EXPECT_TRUE(settings::ReadFlag(kPopCloseState));
  EXPECT_EQ(settings::ReadInt(kJpegQuality), 100);
  EXPECT_EQ(settings::ReadInt(kCaptureTime), 1000);
  EXPECT_EQ(settings::ReadText(kSelectFolder), settings::DefaultSaveFolder());
  const settings::FrameRect r = settings::ReadFrameRect();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.width, 836);
  EXPECT_EQ(r.height, 721);
  // Reading never creates the file.
  EXPECT_EQ(GetFileAttributesA(settings::FilePath().c_str()), INVALID_FILE_ATTRIBUTES);
}

// The platform's profile reader drops trailing blanks from a default it is
// handed (Windows does, Wine does not), so a default of one blank only
// survives when our code puts it in: this fails on both systems otherwise.
TEST_F(SettingsStore, DefaultsWithBlanksSurviveTheProfileReader) {
  EXPECT_EQ(settings::ReadText(keys::kLastAutoPass), " ");
  WriteFile("[OPTION]\r\nLASTAUTOPASS=\r\n");
  EXPECT_EQ(settings::ReadText(keys::kLastAutoPass), "");  // an emptied value stays empty
}

TEST_F(SettingsStore, FlagsAsAUserLeftThem) {
  WriteFile(
      "[option]\r\nAlways_Top=true\r\nREMEMBER_POSITION=1\r\nCAPTURE_REVIEW=yes\r\nAUTO_SAVE=True\r\n"
      "POPCLOSESTATE=true\r\n");
  EXPECT_TRUE(settings::ReadFlag(keys::kAlwaysTop));  // section and key names ignore case
  EXPECT_FALSE(settings::ReadFlag(keys::kRememberPosition));
  EXPECT_FALSE(settings::ReadFlag(keys::kCaptureReview));
  EXPECT_TRUE(settings::ReadFlag(keys::kAutoSave));
  EXPECT_TRUE(settings::ReadFlag(keys::kAutoSave, false));  // a present value ignores the other default
  // The guide-popup flag alone compares capitals too.
  EXPECT_FALSE(settings::ReadFlag(keys::kPopCloseState));
}

TEST_F(SettingsStore, NumbersFollowTheLeadingDigitsRule) {
  WriteFile("[OPTION]\r\nJPEG_QUALITY=75x\r\nCAPTURE_TIME=\r\n[AUTOPOS_HISTORY]\r\nLEFT=-20\r\nTOP=75x\r\nWIDTH=\r\n"
            "HEIGHT=abc\r\n");
  EXPECT_EQ(settings::ReadInt(keys::kJpegQuality), 75);
  EXPECT_EQ(settings::ReadInt(keys::kCaptureTime), 0);  // an empty number text has no digits
  EXPECT_EQ(settings::ReadInt(keys::kLeft), -20);
  EXPECT_EQ(settings::ReadInt(keys::kTop), 75);
  // An empty position value (the options dialog's "forget the position") reads as missing.
  EXPECT_EQ(settings::ReadInt(keys::kWidth), 836);
  EXPECT_EQ(settings::ReadInt(keys::kHeight), 0);
}

TEST_F(SettingsStore, AFrameRectangleBeyondTheCoordinateRangeReadsAtItsEdge) {
  WriteFile("[AUTOPOS_HISTORY]\r\nLEFT=2147483647\r\nTOP=-99999999999\r\nWIDTH=40000\r\nHEIGHT=515\r\n");
  const settings::FrameRect r = settings::ReadFrameRect();
  EXPECT_EQ(r.left, 32767);
  EXPECT_EQ(r.top, -32768);
  EXPECT_EQ(r.width, 32767);
  EXPECT_EQ(r.height, 515);
}

TEST_F(SettingsStore, LongValuesAreCutAt259Characters) {
  const std::string longValue(300, 'p');
  ASSERT_TRUE(settings::WriteText(keys::kSelectFolder, longValue));
  const std::string read = settings::ReadText(keys::kSelectFolder);
  EXPECT_EQ(read.size(), 259u);
  EXPECT_EQ(read, longValue.substr(0, 259));
}

TEST_F(SettingsStore, WritesGoStraightToTheFileAndOutsideEditsShowAtOnce) {
  settings::WriteFrameRect({12, -3, 640, 480});
  EXPECT_NE(FileText().find("[AUTOPOS_HISTORY]\r\nLEFT=12\r\nTOP=-3\r\nWIDTH=640\r\nHEIGHT=480"), std::string::npos)
      << FileText();
  WriteFile("[AUTOPOS_HISTORY]\r\nLEFT=34\r\n");  // a user editing the file while the program runs
  EXPECT_EQ(settings::ReadFrameRect().left, 34);
}

TEST_F(SettingsStore, KoreanFolderNamesKeepTheirCodePageBytes) {
  // "C:\캡쳐" in code page 949.
  const std::string folder = "C:\\\xC4\xB8\xC3\xC4";
  ASSERT_TRUE(settings::WriteText(keys::kSelectFolder, folder));
  EXPECT_EQ(settings::ReadText(keys::kSelectFolder), folder);
  EXPECT_NE(FileText().find("SELECT_FOLDER=" + folder), std::string::npos);
}

TEST_F(SettingsStore, ToggleTurnsAnythingButTrueIntoTrue) {
  WriteFile("[OPTION]\r\nAUTO_SAVE=yes\r\n");
  EXPECT_TRUE(settings::ToggleFlag(keys::kAutoSave));
  EXPECT_EQ(settings::ReadText(keys::kAutoSave), "TRUE");
  EXPECT_FALSE(settings::ToggleFlag(keys::kAutoSave));
  EXPECT_EQ(settings::ReadText(keys::kAutoSave), "FALSE");
  // A missing key toggles from its default.
  EXPECT_FALSE(settings::ToggleFlag(keys::kAlwaysTop));
}

TEST_F(SettingsStore, UnwritableFileFailsSilentlyAndDefaultsStay) {
  // A settings path inside a folder that does not exist cannot be written.
  settings::SetFilePathForTesting(folder_.File("missing\\framlet.ini"));
  EXPECT_FALSE(settings::WriteText(keys::kJpegQuality, "20"));
  EXPECT_EQ(settings::ReadInt(keys::kJpegQuality), 100);
}

TEST(SettingsLocation, FileSitsBesideTheProgram) {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string expected(exe);
  expected = expected.substr(0, expected.find_last_of('\\') + 1) + "framlet.ini";
  EXPECT_EQ(settings::FilePath(), expected);
  EXPECT_NE(settings::DefaultSaveFolder().find("\\Framlet"), std::string::npos);
  EXPECT_EQ(settings::DefaultSaveFolder().find("\\\\"), std::string::npos) << settings::DefaultSaveFolder();
  EXPECT_EQ(settings::DefaultSaveFolder().rfind("\\Framlet"), settings::DefaultSaveFolder().size() - 8);
}

}  // namespace
