// Automatic file names: the stem_N series after a confirmed dialog, skipping
// names that exist, the dialog's proposal and what a confirmed or cancelled
// choice changes, the minute-second stamp, the writer chosen by extension,
// the filter lists and long stems.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/paths.h"
#include "capture/naming.h"

namespace framlet {
namespace {

// A folder as a set of existing paths; records every probe.
struct FakeFolder {
  std::set<std::string> files;
  std::vector<std::string> probes;
  ExistsProbe Probe() {
    return [this](const std::string& path) {
      probes.push_back(path);
      return files.count(path) != 0;
    };
  }
};

// Successive automatic saves: the path each one writes.
std::vector<std::string> AutoSaves(NamingState& state, FakeFolder& folder, int count) {
  std::vector<std::string> written;
  for (int i = 0; i < count; ++i) {
    state.currentPath = AdvanceSeries(state, state.currentPath, folder.Probe(), IsCp949LeadByte).path;
    folder.files.insert(state.currentPath);  // the writer made it
    written.push_back(state.currentPath);
  }
  return written;
}

TEST(AutoNaming, SeriesFollowsTheConfirmedNameSkippingExistingFiles) {
  struct Case {
    const char* situation;
    std::set<std::string> existing;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"empty folder", {}, {R"(C:\cap\shot_0.jpg)", R"(C:\cap\shot_1.jpg)", R"(C:\cap\shot_2.jpg)"}},
      {"first two taken",
       {R"(C:\cap\shot.jpg)", R"(C:\cap\shot_0.jpg)", R"(C:\cap\shot_1.jpg)"},
       {R"(C:\cap\shot_2.jpg)", R"(C:\cap\shot_3.jpg)", R"(C:\cap\shot_4.jpg)"}},
      {"a gap in the middle",
       {R"(C:\cap\shot_1.jpg)", R"(C:\cap\shot_2.jpg)"},
       {R"(C:\cap\shot_0.jpg)", R"(C:\cap\shot_3.jpg)", R"(C:\cap\shot_4.jpg)"}},
      {"other extension does not count", {R"(C:\cap\shot_0.png)"}, {R"(C:\cap\shot_0.jpg)", R"(C:\cap\shot_1.jpg)", R"(C:\cap\shot_2.jpg)"}},
  };
  for (const Case& c : cases) {
    NamingState state;
    FakeFolder folder{c.existing, {}};
    ConfirmSaveChoice(state, R"(C:\cap\shot.jpg)", kPngFormat, "", IsCp949LeadByte);
    EXPECT_EQ(AutoSaves(state, folder, 3), c.expected) << c.situation;
    EXPECT_EQ(state.formatIndex, kPngFormat) << "the format stays the dialog's, whatever the extension";
  }
}

TEST(AutoNaming, KeepsTheSeriesStemAndTakesOnlyFolderAndExtensionFromThePath) {
  NamingState state;
  state.baseName = "shot";
  state.counter = 7;
  FakeFolder folder;
  const SeriesStep step = AdvanceSeries(state, R"(D:\other\picture_3.png)", folder.Probe(), IsCp949LeadByte);
  EXPECT_EQ(step.path, R"(D:\other\shot_7.png)");
  EXPECT_EQ(step.name, "shot_7");
  EXPECT_EQ(state.counter, 8);
  EXPECT_EQ(folder.probes, std::vector<std::string>{R"(D:\other\shot_7.png)"});
}

TEST(AutoNaming, PathsWithoutDriveOrExtensionAndKoreanFolders) {
  struct Case {
    const char* path;
    const char* firstName;
  };
  // A Korean folder and file name ("캡처\\캡" in code page 949).
  const Case cases[] = {
      {R"(\\server\share\shot.bmp)", R"(\\server\share\shot_0.bmp)"},
      {R"(C:\cap\noext)", R"(C:\cap\noext_0)"},
      {R"(C:\cap.d\shot)", R"(C:\cap.d\shot_0)"},
      {R"(C:\my.shots\a.b.jpg)", R"(C:\my.shots\a.b_0.jpg)"},
      {"C:\\\xC4\xB8\xC3\xB3\\\xC4\xB8.png", "C:\\\xC4\xB8\xC3\xB3\\\xC4\xB8_0.png"},
  };
  for (const Case& c : cases) {
    NamingState state;
    FakeFolder folder;
    EXPECT_EQ(AdvanceSeries(state, c.path, folder.Probe(), IsCp949LeadByte).path, c.firstName) << c.path;
  }
}

TEST(AutoNaming, CounterWrapsInsteadOfOverflowing) {
  NamingState state;
  state.baseName = "s";
  state.counter = INT32_MAX;
  FakeFolder folder;
  EXPECT_EQ(AdvanceSeries(state, R"(C:\s.jpg)", folder.Probe(), IsCp949LeadByte).name, "s_2147483647");
  EXPECT_EQ(state.counter, INT32_MIN);
}

// The dialog's proposal and the choice that follows it, as a user goes on.
TEST(SaveDialogNaming, KeepingTheProposalContinuesTheSeriesANewStemRestartsAtZero) {
  NamingState state;
  FakeFolder folder;
  // First dialog: nothing proposed, the counter untouched.
  EXPECT_EQ(ProposeName(state, "", folder.Probe(), IsCp949LeadByte), "");
  EXPECT_TRUE(folder.probes.empty());
  EXPECT_EQ(ConfirmSaveChoice(state, R"(C:\cap\shot.jpg)", kJpegFormat, "", IsCp949LeadByte), kJpegFormat);
  EXPECT_EQ(state.baseName, "shot");
  EXPECT_EQ(state.counter, 0);
  folder.files.insert(R"(C:\cap\shot.jpg)");

  AutoSaves(state, folder, 2);  // shot_0, shot_1
  EXPECT_EQ(state.counter, 2);

  // A proposal from the last path; the user keeps it (the dialog may put it in another folder).
  std::string proposal = ProposeName(state, state.currentPath, folder.Probe(), IsCp949LeadByte);
  EXPECT_EQ(proposal, "shot_2");
  EXPECT_EQ(state.counter, 3);
  ConfirmSaveChoice(state, R"(E:\elsewhere\shot_2.png)", kPngFormat, proposal, IsCp949LeadByte);
  EXPECT_EQ(state.baseName, "shot");
  EXPECT_EQ(state.counter, 3);
  EXPECT_EQ(state.formatIndex, kPngFormat);
  EXPECT_EQ(state.currentPath, R"(E:\elsewhere\shot_2.png)");
  EXPECT_EQ(AutoSaves(state, folder, 1), std::vector<std::string>{R"(E:\elsewhere\shot_3.png)"});

  // A typed stem starts a new series at 0.
  proposal = ProposeName(state, state.currentPath, folder.Probe(), IsCp949LeadByte);
  EXPECT_EQ(proposal, "shot_4");
  ConfirmSaveChoice(state, R"(E:\elsewhere\desk.bmp)", kBmpFormat, proposal, IsCp949LeadByte);
  EXPECT_EQ(state.baseName, "desk");
  EXPECT_EQ(state.counter, 0);
  EXPECT_EQ(AutoSaves(state, folder, 2),
            (std::vector<std::string>{R"(E:\elsewhere\desk_0.bmp)", R"(E:\elsewhere\desk_1.bmp)"}));

  // Case matters: the proposal compared byte for byte.
  proposal = ProposeName(state, state.currentPath, folder.Probe(), IsCp949LeadByte);
  ConfirmSaveChoice(state, R"(E:\elsewhere\Desk_2.bmp)", kBmpFormat, proposal, IsCp949LeadByte);
  EXPECT_EQ(state.baseName, "Desk_2");
  EXPECT_EQ(state.counter, 0);
}

TEST(SaveDialogNaming, ACancelledProposalStillAdvancesTheCounter) {
  NamingState state;
  state.baseName = "shot";
  state.counter = 5;
  state.formatIndex = kGifFormat;
  state.currentPath = R"(C:\cap\shot_4.gif)";
  FakeFolder folder{{R"(C:\cap\shot_5.gif)"}, {}};
  // Proposed and cancelled: nothing else is recorded.
  EXPECT_EQ(ProposeName(state, state.currentPath, folder.Probe(), IsCp949LeadByte), "shot_6");
  EXPECT_EQ(state.counter, 7);
  EXPECT_EQ(ProposeName(state, state.currentPath, folder.Probe(), IsCp949LeadByte), "shot_7");
  EXPECT_EQ(state.counter, 8);
  EXPECT_EQ(state.currentPath, R"(C:\cap\shot_4.gif)");
  EXPECT_EQ(state.formatIndex, kGifFormat);
  EXPECT_EQ(state.baseName, "shot");
}

TEST(SaveDialogNaming, TheFirstProposalTakesTheStemOfThePathWhenNoSeriesIsSet) {
  NamingState state;
  FakeFolder folder;
  EXPECT_EQ(ProposeName(state, R"(C:\cap\morning.jpg)", folder.Probe(), IsCp949LeadByte), "morning_0");
  EXPECT_EQ(state.baseName, "morning");
}

TEST(LongStems, AreCutToTheFieldWithoutSplittingADoubleByteCharacter) {
  const std::string ascii(150, 'a');
  const std::string hangul = [] {  // 60 characters of "가" (B0 A1): 120 bytes
    std::string s;
    for (int i = 0; i < 60; ++i) s += "\xB0\xA1";
    return s;
  }();
  struct Case {
    std::string stem;
    std::string expected;
  };
  const Case cases[] = {
      {ascii, std::string(99, 'a')},
      {std::string(99, 'b'), std::string(99, 'b')},
      {hangul, hangul.substr(0, 98)},                              // 49 characters; the 50th would need byte 100
      {"x" + hangul, "x" + hangul.substr(0, 98)},                  // 99 bytes exactly
      {std::string(98, 'c') + "\xB0\xA1", std::string(98, 'c')},  // the last character does not fit
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutStem(c.stem, kMaxBaseNameBytes, IsCp949LeadByte), c.expected) << c.stem.size();
  }

  // Through the dialog choice and the series that follows.
  NamingState state;
  FakeFolder folder;
  ConfirmSaveChoice(state, "C:\\cap\\" + hangul + ".jpg", kJpegFormat, "", IsCp949LeadByte);
  EXPECT_EQ(state.baseName, hangul.substr(0, 98));
  EXPECT_EQ(AutoSaves(state, folder, 1), std::vector<std::string>{"C:\\cap\\" + hangul.substr(0, 98) + "_0.jpg"});
  // The long name the user kept as proposal still continues the series.
  const std::string proposal = ProposeName(state, state.currentPath, folder.Probe(), IsCp949LeadByte);
  ConfirmSaveChoice(state, "C:\\cap\\" + proposal + ".jpg", kJpegFormat, proposal, IsCp949LeadByte);
  EXPECT_EQ(state.counter, 2);
}

TEST(Stamp, MinutesAndSecondsWithLeadingZeros) {
  struct Case {
    int minute, second;
    const char* stamp;
  };
  const Case cases[] = {{5, 9, "0509"}, {47, 31, "4731"}, {0, 0, "0000"}, {59, 59, "5959"}, {10, 0, "1000"}};
  for (const Case& c : cases) EXPECT_EQ(MinuteSecondStamp(c.minute, c.second), c.stamp);
}

TEST(Stamp, ThePreviewsAutomaticNameReplacesTheLastStamp) {
  struct Case {
    const char* lastPath;
    int minute, second;
    const char* expected;
  };
  const Case cases[] = {
      {R"(C:\cap\shot_0312.jpg)", 47, 31, R"(C:\cap\shot_4731.jpg)"},      // 10:47:31
      {R"(C:\cap\shot_0312.jpg)", 5, 9, R"(C:\cap\shot_0509.jpg)"},        // 14:05:09
      {R"(C:\cap\my_shot_0312.png)", 0, 1, R"(C:\cap\my_shot_0001.png)"},  // only the last "_" ends the stem
      {R"(C:\cap\shot.bmp)", 12, 34, R"(C:\cap\shot_1234.bmp)"},           // no "_": the whole stem
      {R"(C:\cap_dir\shot.gif)", 12, 34, R"(C:\cap_dir\shot_1234.gif)"},   // a "_" in the folder does not count
      {"C:/cap_dir/shot.gif", 12, 34, "C:/cap_dir/shot_1234.gif"},       // nor one before a forward slash
      {"C:/cap/shot_0312.jpg", 1, 2, "C:/cap/shot_0102.jpg"},
      {R"(C:\cap\shot_0312.JPG)", 1, 2, R"(C:\cap\shot_0102.JPG)"},
      {"shot_0312.jpg", 1, 2, "shot_0102.jpg"},
      {" ", 1, 2, " _0102"},  // the stored default: no usable extension
  };
  for (const Case& c : cases) {
    FakeFolder folder;
    EXPECT_EQ(StampedPath(c.lastPath, c.minute, c.second, folder.Probe(), IsCp949LeadByte), c.expected)
        << c.lastPath;
  }
}

TEST(Stamp, ATakenStampedNameGetsAFurtherNumberInsteadOfBeingOverwritten) {
  FakeFolder folder{{R"(C:\cap\shot_4731.jpg)", R"(C:\cap\shot_4731-1.jpg)"}, {}};
  EXPECT_EQ(StampedPath(R"(C:\cap\shot_0312.jpg)", 47, 31, folder.Probe(), IsCp949LeadByte),
            R"(C:\cap\shot_4731-2.jpg)");
  // The preview stores that name; the next save in the same second, and one a second later.
  folder.files.insert(R"(C:\cap\shot_4731-2.jpg)");
  EXPECT_EQ(StampedPath(R"(C:\cap\shot_4731-2.jpg)", 47, 31, folder.Probe(), IsCp949LeadByte),
            R"(C:\cap\shot_4731-3.jpg)");
  EXPECT_EQ(StampedPath(R"(C:\cap\shot_4731-2.jpg)", 47, 32, folder.Probe(), IsCp949LeadByte),
            R"(C:\cap\shot_4732.jpg)");
}

TEST(WriterByExtension, LastThreeCharactersCaseSensitive) {
  struct Case {
    const char* path;
    ImageFormat format;
  };
  const Case cases[] = {
      {R"(C:\a.jpg)", kJpegFormat}, {R"(C:\a.bmp)", kBmpFormat}, {R"(C:\a.png)", kPngFormat},
      {R"(C:\a.gif)", kGifFormat},  {R"(C:\a.JPG)", kNoFormat},  {R"(C:\a.Png)", kNoFormat},
      {R"(C:\a.jpeg)", kNoFormat},  {R"(C:\ajpg)", kJpegFormat}, {"", kNoFormat},
      {"pg", kNoFormat},            {R"(C:\a.tif)", kNoFormat},  {R"(C:\a_0102)", kNoFormat},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatForPath(c.path), c.format) << c.path;
}

TEST(Filters, EachFiltersPositionNamesTheWriterOfItsExtension) {
  // The dialog reports a 1-based position; the writer for it must match the pattern.
  for (int i = 0; i < kAllFilters; ++i) {
    EXPECT_EQ(kSaveFilters[i].format, i + 1);
    EXPECT_EQ(FormatForPath(kSaveFilters[i].pattern), kSaveFilters[i].format) << kSaveFilters[i].pattern;
  }
  const std::string all = FilterListText(kAllFilters);
  static const char kExpected[] =
      "JPEG Files (*.jpg)\0*.jpg\0Bitmap Files (*.bmp)\0*.bmp\0PNG Files (*.png)\0*.png\0"
      "GIF Files (*.gif)\0*.gif\0";
  const std::string expected(kExpected, sizeof kExpected - 1);
  EXPECT_EQ(all, expected);
  const std::string shortList = FilterListText(kShortFilters);
  EXPECT_EQ(shortList, all.substr(0, shortList.size()));
  EXPECT_EQ(shortList.find("GIF"), std::string::npos);
}

}  // namespace
}  // namespace framlet
