// The settings store against the real profile API: defaults, the flag and
// number rules, write-through, cut values and unwritable files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/settings.h"
#include "core/settings_keys.h"
#include "core/settings_rules.h"
#include "win_test_util.h"

using namespace framlet;

namespace {

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override { settings::SetFilePathForTesting(folder_.File("framlet.ini")); }
  void TearDown() override { settings::SetFilePathForTesting(""); }

  void WriteFile(const std::string& text) {
    std::ofstream(folder_.File("framlet.ini"), std::ios::binary) << text;
  }
  std::string FileText() {
    std::ifstream in(folder_.File("framlet.ini"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  wintest::TempFolder folder_{"settings"};
};

TEST_F(SettingsStore, NoFileGivesEveryDefault) {
  using namespace keys;
  EXPECT_TRUE(settings::ReadFlag(kOption, kRememberPosition, kTrueText));
  EXPECT_TRUE(settings::ReadFlag(kOption, kAlwaysTop, kTrueText));
  EXPECT_TRUE(settings::ReadFlag(kOption, kCaptureReview, kTrueText));
  EXPECT_FALSE(settings::ReadFlag(kOption, kAutoSave, kFalseText));
  EXPECT_EQ(LeadingInt(settings::ReadText(kOption, kJpegQuality, kDefaultJpegQuality)), 100);
  EXPECT_EQ(LeadingInt(settings::ReadText(kOption, kCaptureTime, kDefaultCaptureTime)), 1000);
  EXPECT_EQ(settings::ReadText(kOption, kLastAutoPass, kDefaultLastAutoPass), " ");
  EXPECT_EQ(settings::ReadInt(kAutoPos, kLeft, kDefaultLeft), 0);
  EXPECT_EQ(settings::ReadInt(kAutoPos, kTop, kDefaultTop), 0);
  EXPECT_EQ(settings::ReadInt(kAutoPos, kWidth, kDefaultWidth), 836);
  EXPECT_EQ(settings::ReadInt(kAutoPos, kHeight, kDefaultHeight), 721);
  // Reading never creates the file.
  EXPECT_EQ(GetFileAttributesA(settings::FilePath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsStore, FlagsAsAUserLeftThem) {
  WriteFile(
      "[OPTION]\r\nALWAYS_TOP=true\r\nREMEMBER_POSITION=1\r\nCAPTURE_REVIEW=yes\r\nAUTO_SAVE=True\r\n"
      "POPCLOSESTATE=true\r\n");
  EXPECT_TRUE(settings::ReadFlag("OPTION", "ALWAYS_TOP", "TRUE"));
  EXPECT_FALSE(settings::ReadFlag("OPTION", "REMEMBER_POSITION", "TRUE"));
  EXPECT_FALSE(settings::ReadFlag("OPTION", "CAPTURE_REVIEW", "TRUE"));
  EXPECT_TRUE(settings::ReadFlag("OPTION", "AUTO_SAVE", "FALSE"));
  // The guide-popup flag alone compares capitals too.
  EXPECT_FALSE(ExactTrue(settings::ReadText("OPTION", "POPCLOSESTATE", "TRUE")));
  // Section and key names are case-insensitive.
  EXPECT_TRUE(settings::ReadFlag("option", "always_top", "FALSE"));
}

TEST_F(SettingsStore, NumbersFollowTheLeadingDigitsRule) {
  WriteFile("[OPTION]\r\nJPEG_QUALITY=75x\r\n[AUTOPOS_HISTORY]\r\nLEFT=-20\r\nTOP=75x\r\nWIDTH=\r\nHEIGHT=abc\r\n");
  EXPECT_EQ(LeadingInt(settings::ReadText("OPTION", "JPEG_QUALITY", "100")), 75);
  EXPECT_EQ(settings::ReadInt("AUTOPOS_HISTORY", "LEFT", 0), -20);
  EXPECT_EQ(settings::ReadInt("AUTOPOS_HISTORY", "TOP", 0), 75);
  // An empty value (the options dialog's "forget the position") reads as missing.
  EXPECT_EQ(settings::ReadInt("AUTOPOS_HISTORY", "WIDTH", 836), 836);
  EXPECT_EQ(settings::ReadInt("AUTOPOS_HISTORY", "HEIGHT", 721), 0);
  EXPECT_EQ(settings::ReadInt("AUTOPOS_HISTORY", "MISSING", 123), 123);
}

TEST_F(SettingsStore, LongValuesAreCutAt259Characters) {
  const std::string longValue(300, 'p');
  ASSERT_TRUE(settings::WriteText("OPTION", "SELECT_FOLDER", longValue.c_str()));
  const std::string read = settings::ReadText("OPTION", "SELECT_FOLDER", "");
  EXPECT_EQ(read.size(), 259u);
  EXPECT_EQ(read, longValue.substr(0, 259));
}

TEST_F(SettingsStore, WritesGoStraightToTheFileAndOutsideEditsShowAtOnce) {
  ASSERT_TRUE(settings::WriteInt("AUTOPOS_HISTORY", "LEFT", 12));
  EXPECT_NE(FileText().find("LEFT=12"), std::string::npos);
  EXPECT_EQ(settings::ReadInt("AUTOPOS_HISTORY", "LEFT", 0), 12);
  WriteFile("[AUTOPOS_HISTORY]\r\nLEFT=34\r\n");  // a user editing the file while the program runs
  EXPECT_EQ(settings::ReadInt("AUTOPOS_HISTORY", "LEFT", 0), 34);
}

TEST_F(SettingsStore, KoreanFolderNamesKeepTheirCodePageBytes) {
  // "C:\캡쳐" in code page 949.
  const std::string folder = "C:\\\xC4\xB8\xC3\xC4";
  ASSERT_TRUE(settings::WriteText("OPTION", "SELECT_FOLDER", folder.c_str()));
  EXPECT_EQ(settings::ReadText("OPTION", "SELECT_FOLDER", ""), folder);
  EXPECT_NE(FileText().find("SELECT_FOLDER=" + folder), std::string::npos);
}

TEST_F(SettingsStore, ToggleTurnsAnythingButTrueIntoTrue) {
  WriteFile("[OPTION]\r\nAUTO_SAVE=yes\r\n");
  EXPECT_TRUE(settings::ToggleFlag("OPTION", "AUTO_SAVE", "FALSE"));
  EXPECT_EQ(settings::ReadText("OPTION", "AUTO_SAVE", ""), "TRUE");
  EXPECT_FALSE(settings::ToggleFlag("OPTION", "AUTO_SAVE", "FALSE"));
  EXPECT_EQ(settings::ReadText("OPTION", "AUTO_SAVE", ""), "FALSE");
  // A missing key toggles from its default.
  EXPECT_FALSE(settings::ToggleFlag("OPTION", "ALWAYS_TOP", "TRUE"));
}

TEST_F(SettingsStore, UnwritableFileFailsSilentlyAndDefaultsStay) {
  // A settings path inside a folder that does not exist cannot be written.
  settings::SetFilePathForTesting(folder_.File("missing\\framlet.ini"));
  EXPECT_FALSE(settings::WriteText("OPTION", "JPEG_QUALITY", "20"));
  EXPECT_EQ(settings::ReadText("OPTION", "JPEG_QUALITY", "100"), "100");
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
