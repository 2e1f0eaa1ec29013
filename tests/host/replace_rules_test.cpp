// Replacing a file: where the temporary file goes (always beside the target,
// so the final move is a rename within one folder) and which flush errors
// still count as a complete write.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "capture/replace_rules.h"
#include "core/paths.h"

namespace framlet {
namespace {

TEST(TempPathBeside, SitsInTheTargetsOwnFolder) {
  struct Case {
    const char* target;
    uint32_t number;
    const char* temp;
  };
  const Case cases[] = {
      {R"(C:\cap\shot_3.jpg)", 0x1a2b, R"(C:\cap\~fl1a2b.tmp)"},
      {R"(\\server\share\shots\a.png)", 7, R"(\\server\share\shots\~fl0007.tmp)"},
      {"C:/cap/shot.gif", 0xffff, "C:/cap/~flffff.tmp"},
      // A bare name or a drive-relative one is written in the current folder
      // (of that drive), and so is its temporary file.
      {"shot.bmp", 1, "~fl0001.tmp"},
      {"D:shot.bmp", 1, "D:~fl0001.tmp"},
      // Only the low 16 bits count, keeping the name short near the path limit.
      {R"(C:\a\b.jpg)", 0x12345678, R"(C:\a\~fl5678.tmp)"},
      // A Korean folder ("캡처" in code page 949).
      {"C:\\\xC4\xB8\xC3\xB3\\\xC4\xB8.png", 0xbeef, "C:\\\xC4\xB8\xC3\xB3\\~flbeef.tmp"},
  };
  for (const Case& c : cases) EXPECT_EQ(TempPathBeside(c.target, c.number, IsCp949LeadByte), c.temp) << c.target;
}

TEST(TempPathBeside, SuccessiveNumbersGiveDistinctNamesThatAreNoImageFiles) {
  std::set<std::string> names;
  for (uint32_t n = 0; n < 0x10000; ++n) {
    const std::string temp = TempPathBeside(R"(C:\cap\shot.jpg)", n, IsCp949LeadByte);
    EXPECT_EQ(FormatForPath(temp), kNoFormat) << temp;
    names.insert(temp);
  }
  EXPECT_EQ(names.size(), 0x10000u);
}

TEST(FlushErrors, OnlyAFlushTheVolumeDoesNotOfferLeavesTheWriteStanding) {
  struct Case {
    uint32_t error;
    const char* what;
    bool losesData;
  };
  const Case cases[] = {
      {1, "ERROR_INVALID_FUNCTION: the volume has no flush (some network shares)", false},
      {50, "ERROR_NOT_SUPPORTED", false},
      {112, "ERROR_DISK_FULL", true},
      {5, "ERROR_ACCESS_DENIED", true},
      {1117, "ERROR_IO_DEVICE", true},
      {64, "ERROR_NETNAME_DELETED: the share went away", true},
      {6, "ERROR_INVALID_HANDLE", true},
  };
  for (const Case& c : cases) EXPECT_EQ(FlushErrorLosesData(c.error), c.losesData) << c.what;
}

}  // namespace
}  // namespace framlet
