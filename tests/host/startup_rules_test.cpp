// Start-up and settings rules: the "-s" start switch, flag and number reading,
// path splitting.
#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include "app/command_line.h"
#include "core/paths.h"
#include "core/settings_rules.h"

namespace framlet {
namespace {

struct CommandLineCase {
  const char* commandLine;
  bool opensFrame;
};

TEST(StartSwitch, OnlyTheWholeArgumentTextMinusSOpensTheFrame) {
  const CommandLineCase cases[] = {
      {R"("C:\Program Files\Framlet\framlet5.exe" -s)", true},
      {R"("C:\Program Files\Framlet\framlet5.exe" -S)", true},
      {R"(C:\Framlet\framlet5.exe -s)", true},
      {"framlet5.exe     -s", true},             // blanks before the switch do not matter
      {"framlet5.exe\t-s", true},                // nor a tab
      {R"("C:\a b\framlet5.exe"-s)", true},      // nothing between the quote and the switch
      {"framlet5.exe", false},                   // plain start: hand over
      {R"("C:\Framlet\framlet5.exe")", false},
      {"framlet5.exe -s ", false},               // trailing blank
      {"framlet5.exe -s x", false},              // further argument
      {"framlet5.exe -sx", false},
      {"framlet5.exe /s", false},
      {"framlet5.exe s", false},
      {"framlet5.exe -", false},
      {"", false},
      {R"("unterminated -s)", false},            // the quote swallows everything
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsFrameStart(c.commandLine), c.opensFrame) << "[" << c.commandLine << "]";
  }
}

TEST(StartSwitch, ArgumentsSkipTheProgramNameQuotedOrNot) {
  EXPECT_EQ(ArgumentsOf(R"("C:\Program Files\x.exe"  a b)"), "a b");
  EXPECT_EQ(ArgumentsOf("x.exe a "), "a ");
  EXPECT_EQ(ArgumentsOf("x.exe"), "");
}

TEST(SettingsFlags, TrueInAnyCaseIsOnEverythingElseOff) {
  for (const char* on : {"TRUE", "true", "True", "tRuE"}) EXPECT_TRUE(FlagIsOn(on)) << on;
  for (const char* off : {"FALSE", "1", "yes", "", " true", "true ", "truex", "tru"})
    EXPECT_FALSE(FlagIsOn(off)) << "[" << off << "]";
}

TEST(SettingsFlags, GuidePopupFlagComparesCapitalsToo) {
  EXPECT_TRUE(ExactTrue("TRUE"));
  EXPECT_FALSE(ExactTrue("true"));
  EXPECT_FALSE(ExactTrue("True"));
  EXPECT_FALSE(ExactTrue(""));
}

TEST(SettingsNumbers, LeadingDigitsRule) {
  const std::pair<const char*, int> cases[] = {
      {"75x", 75},   {"100", 100},   {"abc", 0},      {"", 0},          {"  42", 42},
      {"-5", -5},    {"+7", 7},      {"0", 0},        {"12 34", 12},    {"1e3", 1},
      {"- 5", 0},    {"99999999999", 2147483647},     {"-99999999999", -2147483647 - 1},
      {"1800000", 1800000},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(LeadingInt(text), value) << "[" << text << "]";
}

TEST(SettingsNumbers, StoredFrameNumbersStayInTheCoordinateRange) {
  // A hand-edited LEFT=2147483647 would overflow the capture rectangle worked out from it.
  const std::pair<int, int> cases[] = {{0, 0},           {-20, -20},        {32767, 32767},   {32768, 32767},
                                       {-32768, -32768}, {-32769, -32768}, {INT_MAX, 32767}, {INT_MIN, -32768}};
  for (const auto& [stored, used] : cases) EXPECT_EQ(StoredPlaceNumber(stored), used) << stored;
}

TEST(SettingsValues, ReadsHoldAtMost259Characters) {
  EXPECT_EQ(CutToValueBuffer(std::string(300, 'a')).size(), 259u);
  EXPECT_EQ(CutToValueBuffer("short"), "short");
}

TEST(PathSplit, DriveFolderStemExtension) {
  struct Case {
    const char* path;
    const char* drive;
    const char* dir;
    const char* stem;
    const char* ext;
  };
  const Case cases[] = {
      {R"(C:\cap\shot.jpg)", "C:", R"(\cap\)", "shot", ".jpg"},
      {R"(C:\cap\shot)", "C:", R"(\cap\)", "shot", ""},
      {R"(C:\cap.d\shot)", "C:", R"(\cap.d\)", "shot", ""},       // a dot in the folder is no extension
      {R"(C:\cap\my.shot.png)", "C:", R"(\cap\)", "my.shot", ".png"},
      {R"(\\server\share\a.bmp)", "", R"(\\server\share\)", "a", ".bmp"},
      {"shot.gif", "", "", "shot", ".gif"},
      {R"(C:\)", "C:", R"(\)", "", ""},
      {"", "", "", "", ""},
      {" ", "", "", " ", ""},
  };
  for (const auto& c : cases) {
    PathParts p = SplitPath(c.path);
    EXPECT_EQ(p.drive, c.drive) << c.path;
    EXPECT_EQ(p.dir, c.dir) << c.path;
    EXPECT_EQ(p.stem, c.stem) << c.path;
    EXPECT_EQ(p.ext, c.ext) << c.path;
    EXPECT_EQ(p.drive + p.dir + p.stem + p.ext, c.path);
  }
}

TEST(PathSplit, KoreanTrailByteThatLooksLikeABackslashStaysInTheName) {
  // "\x95\x5C" is one Korean character in code page 949 whose second byte is '\'.
  const std::string path = "C:\\\xC4\xB8\\\x95\x5C.png";
  PathParts withLead = SplitPath(path, IsCp949LeadByte);
  EXPECT_EQ(withLead.dir, "\\\xC4\xB8\\");
  EXPECT_EQ(withLead.stem, "\x95\x5C");
  EXPECT_EQ(withLead.ext, ".png");
  EXPECT_EQ(FolderOf("C:\\\xC4\xB8\\framlet5.exe", IsCp949LeadByte), "C:\\\xC4\xB8\\");
}

}  // namespace
}  // namespace framlet
