// Image writers against the real platform: each file decoded again gives the
// source pixels (JPEG within a bound), the BMP layout byte for byte, unwritable
// paths and oversized pictures give 0 and leave no file, a failed write or a
// failed allocation leaves an existing file as it was, concurrent saves, and
// the preview window's stamped automatic save.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <regex>
#include <thread>

#include "core/settings.h"
#include "core/settings_keys.h"
#include "capture/capture_engine.h"
#include "capture/file_replace.h"
#include "image_test_util.h"
#include "win_test_util.h"

using namespace imagetest;

// ---- Failing allocations ------------------------------------------------------
// The test program's global operator new can be told to fail the n-th
// allocation made by one thread, so every allocation of a writer can be made
// to fail in turn. Disarmed it only forwards to malloc.
namespace {
std::atomic<DWORD> failingThread{0};
std::atomic<long> allocationsBeforeFailure{-1};
std::atomic<bool> allocationFailed{false};

void ArmAllocationFailure(long allocationsBefore) {
  allocationFailed = false;
  allocationsBeforeFailure = allocationsBefore;
  failingThread = GetCurrentThreadId();
}

// True when the armed allocation was reached (and failed).
bool DisarmAllocationFailure() {
  failingThread = 0;
  allocationsBeforeFailure = -1;
  return allocationFailed;
}
}  // namespace

void* operator new(std::size_t size) {
  if (failingThread.load() == GetCurrentThreadId() && allocationsBeforeFailure.fetch_sub(1) == 0) {
    allocationFailed = true;
    throw std::bad_alloc();
  }
  // The standard library's operator delete gives the memory back with free.
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}

namespace {

class ImageWriters : public wintest::WinTest {
 protected:
  // Writes by format index (1 JPEG at the quality, 2 BMP, 3 PNG, 4 GIF).
  int Write(int format, const CCapturedImage& image, const std::string& path, int quality = 100) {
    return engine_.WriteByFormat(image, path, format, quality);
  }
  CCaptureEngine engine_{nullptr};
};

TEST_F(ImageWriters, EachLosslessFileDecodesToTheSourcePixels) {
  struct Case {
    const char* what;
    int format;
    Pixels pixels;
  };
  const Case cases[] = {
      {"BMP, many colours", 2, ManyColours(64, 48)},
      {"BMP, width*3 not a multiple of 4", 2, ManyColours(5, 3)},
      {"BMP, one pixel", 2, ManyColours(1, 1)},
      {"BMP, one column", 2, ManyColours(1, 7)},
      {"PNG, many colours", 3, ManyColours(64, 48)},
      {"PNG, odd size", 3, ManyColours(7, 5)},
      {"GIF, 256 colours", 4, FewColours(64, 48, 256)},
      {"GIF, 2 colours", 4, FewColours(33, 17, 2)},
      {"GIF, 1 colour", 4, FewColours(9, 9, 1)},
      {"GIF, 200 colours, odd size", 4, FewColours(71, 13, 200)},
  };
  int n = 0;
  for (const Case& c : cases) {
    const CCapturedImage image = MakeImage(c.pixels);
    ASSERT_FALSE(image.Empty()) << c.what;
    ASSERT_EQ(ReadImage(image).rgb, c.pixels.rgb) << "the display keeps 24-bit colour";
    const std::string path = folder_.File("case" + std::to_string(n++) + ".img");
    ASSERT_EQ(Write(c.format, image, path), 1) << c.what;
    const Pixels back = Decode(path);
    EXPECT_EQ(back.width, c.pixels.width) << c.what;
    EXPECT_EQ(back.height, c.pixels.height) << c.what;
    EXPECT_EQ(MaxChannelError(back, c.pixels), 0) << c.what;
  }
}

TEST_F(ImageWriters, GifOfManyColoursKeepsItsSizeAndStaysClose) {
  const Pixels source = Gradient(120, 80);
  const std::string path = folder_.File("many.gif");
  ASSERT_EQ(Write(4, MakeImage(source), path), 1);
  EXPECT_EQ(Signature(path), "GIF89a");
  double mean = 0;
  const int worst = MaxChannelError(Decode(path), source, &mean);
  EXPECT_GE(worst, 0);
  EXPECT_LT(mean, 8.0);
}

TEST_F(ImageWriters, BmpIsBottomUp24BitWithExactHeaders) {
  // 3 x 2: rows of 9 bytes padded to 12; bottom row first.
  Pixels p{3, 2, {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x010203}};
  const std::string path = folder_.File("three.bmp");
  ASSERT_EQ(CCaptureEngine::WriteBmpFile(MakeImage(p), path), 1);
  const std::string b = FileBytes(path);
  ASSERT_EQ(b.size(), 54u + 2 * 12);
  auto u16 = [&](size_t at) { return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8; };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  EXPECT_EQ(b.substr(0, 2), "BM");
  EXPECT_EQ(u32(2), b.size());  // file size
  EXPECT_EQ(u32(6), 0u);        // reserved
  EXPECT_EQ(u32(10), 54u);      // pixel offset
  EXPECT_EQ(u32(14), 40u);      // info header size
  EXPECT_EQ(u32(18), 3u);
  EXPECT_EQ(u32(22), 2u);  // positive height: bottom-up
  EXPECT_EQ(u16(26), 1u);
  EXPECT_EQ(u16(28), 24u);
  EXPECT_EQ(u32(30), 0u);   // no compression
  EXPECT_EQ(u32(34), 24u);  // image bytes
  const std::string bottomRow("\xC0\xB0\xA0\xF0\xE0\xD0\x03\x02\x01\0\0\0", 12);
  const std::string topRow("\x30\x20\x10\x60\x50\x40\x90\x80\x70\0\0\0", 12);
  EXPECT_EQ(b.substr(54, 12), bottomRow);
  EXPECT_EQ(b.substr(66, 12), topRow);

  ASSERT_EQ(CCaptureEngine::WriteBmpFile(MakeImage(ManyColours(1, 1)), folder_.File("one.bmp")), 1);
  EXPECT_EQ(FileBytes(folder_.File("one.bmp")).size(), 58u);
}

TEST_F(ImageWriters, JpegAtQuality100IsCloseAndLowerQualityIsSmaller) {
  const Pixels source = Gradient(160, 120);
  const CCapturedImage image = MakeImage(source);
  const std::string best = folder_.File("q100.jpg");
  const std::string low = folder_.File("q30.jpg");
  ASSERT_EQ(engine_.WriteJpegFile(image, best, 100), 1);
  ASSERT_EQ(engine_.WriteJpegFile(image, low, 30), 1);
  EXPECT_EQ(Signature(best), "JPEG");
  double mean = 0;
  const int worst = MaxChannelError(Decode(best), source, &mean);
  std::printf("JPEG q100 gradient 160x120: max channel error %d, mean %.2f; q100 %zu bytes, q30 %zu bytes\n",
              worst, mean, FileBytes(best).size(), FileBytes(low).size());
  EXPECT_GE(worst, 0);
  EXPECT_LE(worst, 6);
  EXPECT_LE(mean, 1.5);
  // The program encodes JPEG itself, so the quality counts under Wine as well.
  EXPECT_LT(FileBytes(low).size() * 2, FileBytes(best).size());
}

// Saturated one- and two-pixel strokes on white, like coloured text on a
// screen: halving the colour resolution smears them by about 109 levels.
Pixels ColouredStrokes(int w, int h) {
  static const uint32_t kInks[] = {0xFF0000, 0x0000FF, 0x00A000, 0x000000, 0xC800C8};
  Pixels p{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, 0xFFFFFF)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int cell = x / 6 + y / 9 * 7;
      const bool stroke = x % 6 == cell % 3 || (cell % 2 && x % 6 == 4) || y % 9 == cell % 5;
      if (stroke) p.rgb[static_cast<size_t>(y) * w + x] = kInks[cell % 5];
    }
  return p;
}

TEST_F(ImageWriters, JpegKeepsColouredStrokesSharpAtHighQuality) {
  struct Case {
    int width, height, quality;
    int worst;
    double mean;
  };
  const Case cases[] = {{120, 54, 100, 8, 1.0}, {37, 23, 100, 8, 1.0}, {120, 54, 90, 60, 5.0}};
  for (const Case& c : cases) {
    const Pixels source = ColouredStrokes(c.width, c.height);
    const std::string path = folder_.File("strokes" + std::to_string(c.width) + "q" + std::to_string(c.quality));
    ASSERT_EQ(engine_.WriteJpegFile(MakeImage(source), path, c.quality), 1);
    double mean = 0;
    const int worst = MaxChannelError(Decode(path), source, &mean);
    std::printf("JPEG q%d strokes %dx%d: max channel error %d, mean %.2f\n", c.quality, c.width, c.height, worst,
                mean);
    EXPECT_GE(worst, 0) << c.width << " q" << c.quality;
    EXPECT_LE(worst, c.worst) << c.width << " q" << c.quality;
    EXPECT_LE(mean, c.mean) << c.width << " q" << c.quality;
  }
}

TEST_F(ImageWriters, UnwritablePathsGiveZeroAndNoFile) {
  const CCapturedImage image = MakeImage(ManyColours(16, 16));
  const std::string readOnly = folder_.File("locked.img");
  { std::ofstream(readOnly, std::ios::binary) << "keep"; }
  ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  for (int format = 1; format <= 4; ++format) {
    const std::string missing = folder_.File("no such folder\\shot.img");
    EXPECT_EQ(Write(format, image, missing), 0) << format;
    EXPECT_FALSE(Exists(missing)) << format;
    EXPECT_EQ(Write(format, image, readOnly), 0) << format;
    EXPECT_EQ(FileBytes(readOnly), "keep") << format;
    EXPECT_EQ(Write(format, image, ""), 0) << format;
    EXPECT_EQ(Write(format, CCapturedImage(), folder_.File("empty.img")), 0) << format;
    EXPECT_FALSE(Exists(folder_.File("empty.img"))) << format;
  }
  EXPECT_EQ(Write(0, image, folder_.File("none.img")), 0);
  EXPECT_EQ(Write(5, image, folder_.File("none.img")), 0);
  EXPECT_FALSE(Exists(folder_.File("none.img")));
}

TEST_F(ImageWriters, SidesBeyondSixteenBitsAreRefusedForJpegAndGif) {
  CCapturedImage tall;
  ASSERT_TRUE(tall.CreateScreenCompatible(1, 70000));
  struct Case {
    int format;
    int written;
  };
  const Case cases[] = {{1, 0}, {4, 0}, {2, 1}, {3, 1}};
  for (const Case& c : cases) {
    const std::string path = folder_.File("tall" + std::to_string(c.format));
    EXPECT_EQ(Write(c.format, tall, path), c.written) << c.format;
    EXPECT_EQ(Exists(path), c.written == 1) << c.format;
  }
  EXPECT_EQ(FileBytes(folder_.File("tall2")).size(), 54u + 4 * 70000);
}

TEST_F(ImageWriters, AnExistingFileIsReplacedWholeAndNothingElseIsLeft) {
  // A long old file under a shorter new one: nothing of the old may remain.
  const Pixels source = FewColours(12, 9, 30);
  for (int format = 1; format <= 4; ++format) {
    const std::string path = folder_.File("shot" + std::to_string(format) + ".img");
    { std::ofstream(path, std::ios::binary) << std::string(200000, 'x'); }
    ASSERT_EQ(Write(format, MakeImage(source), path), 1) << format;
    EXPECT_LT(FileBytes(path).size(), 200000u) << format;
    if (format != 1) {
      EXPECT_EQ(MaxChannelError(Decode(path), source), 0) << format;
    }
  }
  EXPECT_EQ(FolderNames(folder_.Path()),
            (std::vector<std::string>{"shot1.img", "shot2.img", "shot3.img", "shot4.img"}));
}

TEST_F(ImageWriters, AFailedAllocationAnywhereInAWriterGivesZeroAndKeepsTheOldFile) {
  // Many colours, so the GIF writer goes through its palette fitting too.
  const CCapturedImage image = MakeImage(ManyColours(40, 30));
  const std::string old = "the picture saved before";
  for (int format = 1; format <= 4; ++format) {
    const std::string path = folder_.File("shot" + std::to_string(format) + ".img");
    long failures = 0;
    for (long n = 0;; ++n) {
      ASSERT_LT(n, 20000) << "format " << format << " never finished";
      { std::ofstream(path, std::ios::binary) << old; }
      ArmAllocationFailure(n);
      const int written = Write(format, image, path);
      const bool failed = DisarmAllocationFailure();
      if (!failed) {
        EXPECT_EQ(written, 1) << format;
        EXPECT_NE(FileBytes(path), old) << format;
        break;
      }
      ++failures;
      ASSERT_EQ(written, 0) << "format " << format << ", allocation " << n;
      ASSERT_EQ(FileBytes(path), old) << "format " << format << ", allocation " << n;
      ASSERT_EQ(FolderNames(folder_.Path()).size(), static_cast<size_t>(format))
          << "a temporary file was left: format " << format << ", allocation " << n;
    }
    std::printf("format %d: each of %ld allocations failed in turn\n", format, failures);
    // Every writer allocates at least once of its own (PNG: the encoder list).
    EXPECT_GT(failures, 0) << format;
  }
}

TEST_F(ImageWriters, ConcurrentSavesIntoOneFolderNeverMeet) {
  // Each thread saves its own file again and again, and also the one file they
  // share. Their temporary files sit side by side in the folder: no save may
  // take another's. A save to the shared file may be refused while another
  // save is moving its version in, but the file is always one whole version
  // and no temporary file of any save is left behind.
  constexpr int kThreads = 4;
  constexpr int kRounds = 15;
  constexpr size_t kSize = 300000;
  const std::string shared = folder_.File("shared.bmp");
  std::atomic<int> ownFailures{0};
  std::atomic<int> sharedWrites{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const std::string contents(kSize, static_cast<char>('A' + t));
      const std::string own = folder_.File("own" + std::to_string(t) + ".bmp");
      for (int round = 0; round < kRounds; ++round) {
        if (!framlet::ReplaceFileContents(own, {{contents.data(), contents.size()}})) ++ownFailures;
        if (framlet::ReplaceFileContents(shared, {{contents.data(), contents.size()}})) ++sharedWrites;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(ownFailures.load(), 0);
  EXPECT_GT(sharedWrites.load(), 0);
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(FileBytes(folder_.File("own" + std::to_string(t) + ".bmp")),
              std::string(kSize, static_cast<char>('A' + t)));
  }
  const std::string bytes = FileBytes(shared);
  ASSERT_EQ(bytes.size(), kSize);
  EXPECT_EQ(bytes, std::string(kSize, bytes[0]));
  EXPECT_EQ(FolderNames(folder_.Path()),
            (std::vector<std::string>{"own0.bmp", "own1.bmp", "own2.bmp", "own3.bmp", "shared.bmp"}));
}

TEST_F(ImageWriters, FindEncoderMatchesTheMimeTypeExactly) {
  CLSID jpeg = {}, png = {}, other = {};
  EXPECT_GE(CCaptureEngine::FindEncoder(L"image/jpeg", &jpeg), 0);
  EXPECT_GE(CCaptureEngine::FindEncoder(L"image/png", &png), 0);
  EXPECT_NE(memcmp(&jpeg, &png, sizeof jpeg), 0);
  EXPECT_EQ(CCaptureEngine::FindEncoder(L"image/JPEG", &other), -1);
  EXPECT_EQ(CCaptureEngine::FindEncoder(L"image/jpe", &other), -1);
  EXPECT_EQ(CCaptureEngine::FindEncoder(L"", &other), -1);
}

// ---- The preview window's automatic save ------------------------------------

class StampedSave : public wintest::WinTest {
 protected:
  void StoreLastPath(const std::string& path) {
    framlet::settings::WriteText(framlet::keys::kLastAutoPass, path);
  }
  static int SecondOfHour() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wMinute * 60 + now.wSecond;
  }
  static std::string Stamp(int secondOfHour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d%02d", secondOfHour / 60 % 60, secondOfHour % 60);
    return text;
  }
  CCaptureEngine engine_{nullptr};
};

TEST_F(StampedSave, ReplacesTheStampAndWritesByExtension) {
  const Pixels source = FewColours(20, 10, 50);
  const CCapturedImage image = MakeImage(source);
  struct Case {
    const char* stored;
    const char* stem;  // of the written file, before the stamp
    const char* ext;
    const char* signature;
  };
  const Case cases[] = {
      {"shot_0312.png", "shot", ".png", "PNG"},
      {"my_shot_0312.bmp", "my_shot", ".bmp", "BMP"},
      {"plain.gif", "plain", ".gif", "GIF89a"},
      {"shot_0312.jpg", "shot", ".jpg", "JPEG"},
  };
  for (const Case& c : cases) {
    StoreLastPath(folder_.File(c.stored));
    const int before = SecondOfHour();
    const std::string written = engine_.SaveWithLastPath(image, 90);
    const int after = SecondOfHour();
    ASSERT_FALSE(written.empty()) << c.stored;
    EXPECT_EQ(engine_.currentPath, written);
    bool stampFits = false;
    for (int step = 0; step <= (after - before + 3600) % 3600; ++step)
      stampFits |= written == folder_.File(std::string(c.stem) + "_" + Stamp((before + step) % 3600) + c.ext);
    EXPECT_TRUE(stampFits) << written;
    EXPECT_EQ(Signature(written), c.signature) << written;
    if (std::string(c.ext) != ".jpg") {
      EXPECT_EQ(MaxChannelError(Decode(written), source), 0) << written;
    }
    DeleteFileA(written.c_str());
  }
}

TEST_F(StampedSave, AnUnknownOrUpperCaseExtensionWritesNothing) {
  const CCapturedImage image = MakeImage(FewColours(8, 8, 4));
  for (const char* stored : {"shot_0312.JPG", "shot_0312.tif", "shot_0312"}) {
    StoreLastPath(folder_.File(stored));
    EXPECT_EQ(engine_.SaveWithLastPath(image, 100), "") << stored;
  }
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(folder_.File("shot*").c_str(), &data);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE) << data.cFileName;
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST_F(StampedSave, WithNoStoredPathNothingIsWritten) {
  // The missing key reads as a single blank: no usable name, no dialog.
  ASSERT_EQ(framlet::settings::ReadText(framlet::keys::kLastAutoPass),
            " ");
  EXPECT_EQ(engine_.SaveWithLastPath(MakeImage(FewColours(8, 8, 4)), 100), "");
  EXPECT_EQ(engine_.formatIndex, 0);
}

TEST_F(StampedSave, AnExistingStampedNameIsNeverOverwritten) {
  // Every name the next few seconds could stamp is taken already.
  const int now = SecondOfHour();
  for (int s = now; s < now + 5; ++s) {
    std::ofstream(folder_.File("shot_" + Stamp(s % 3600) + ".bmp"), std::ios::binary) << "old";
  }
  StoreLastPath(folder_.File("shot_0312.bmp"));
  const CCapturedImage image = MakeImage(FewColours(8, 8, 4));
  const std::string first = engine_.SaveWithLastPath(image, 100);
  const std::string second = engine_.SaveWithLastPath(image, 100);
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_NE(first, second);
  EXPECT_TRUE(std::regex_match(first, std::regex(".*\\\\shot_[0-9]{4}-1\\.bmp"))) << first;
  EXPECT_EQ(Signature(first), "BMP");
  for (int s = now; s < now + 5; ++s) EXPECT_EQ(FileBytes(folder_.File("shot_" + Stamp(s % 3600) + ".bmp")), "old");
}

}  // namespace
