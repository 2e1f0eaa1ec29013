// A confirmed replace whose write fails halfway. Run only by
// tests/e2e/test_failed_overwrite.py, which limits the size of the files this
// process may write to 4096 bytes and names the folder; started without that
// set-up the case fails, since it could show nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "capture/capture_engine.h"
#include "image_test_util.h"

using namespace imagetest;

namespace {

TEST(FailedOverwrite, KeepsTheOldFileAndLeavesNoTemporaryFile) {
  const char* limited = std::getenv("FRAMLET_OVERWRITE_LIMITED");
  ASSERT_NE(limited, nullptr) << "FRAMLET_OVERWRITE_LIMITED names the limited folder";
  const std::string folder = limited;
  CCaptureEngine engine(nullptr);
  // Larger than the limit in every format, so each write stops partway.
  const CCapturedImage big = MakeImage(ManyColours(200, 200));
  std::vector<std::string> names;
  for (int format = 1; format <= 4; ++format) {
    const std::string name = "shot" + std::to_string(format) + ".img";
    const std::string path = folder + "\\" + name;
    const std::string old = "the picture saved before, " + std::to_string(format);
    { std::ofstream(path, std::ios::binary) << old; }
    EXPECT_EQ(engine.WriteByFormat(big, path, format, 100), 0) << format;
    EXPECT_EQ(FileBytes(path), old) << format;
    names.push_back(name);
  }
  // A new file within the limit still takes the old one's place.
  const std::string small = folder + "\\small.bmp";
  { std::ofstream(small, std::ios::binary) << "old"; }
  EXPECT_EQ(engine.WriteBmpFile(MakeImage(ManyColours(1, 1)), small), 1);
  EXPECT_EQ(FileBytes(small).size(), 58u);
  names.push_back("small.bmp");
  EXPECT_EQ(FolderNames(folder), names) << "only the targets are left";
}

}  // namespace
