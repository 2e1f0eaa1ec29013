#include "capture/scroll_match.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "bench/scroll_reference.h"
#include "tests/host/scroll_test_pages.h"

namespace {

using framlet::scroll::ScrollMatcher;

// Rows built from a tiny alphabet, so that many rows are equal, ties between
// shifts are common and the best count is often reached by several shifts.
std::vector<uint8_t> AlphabetRows(std::mt19937& rng, int width, int height, int letters) {
  const size_t rowBytes = 3 * static_cast<size_t>(width);
  std::vector<uint8_t> rows(rowBytes * height);
  for (int y = 0; y < height; ++y) {
    const uint8_t letter = static_cast<uint8_t>(rng() % letters);
    for (size_t i = 0; i < rowBytes; ++i) rows[rowBytes * y + i] = letter;
  }
  return rows;
}

TEST(ScrollMatch, AgreesWithThePlainLoopOnRandomPairs) {
  std::mt19937 rng(1234);
  ScrollMatcher matcher;
  for (int round = 0; round < 3000; ++round) {
    const int width = static_cast<int>(rng() % 9) + (round % 50 == 0 ? 0 : 1);
    const int height = static_cast<int>(rng() % 41);
    const int letters = static_cast<int>(rng() % 4) + 1;
    const size_t rowBytes = 3 * static_cast<size_t>(width);
    auto before = AlphabetRows(rng, width, height, letters);
    std::vector<uint8_t> after(before.size());
    switch (round % 4) {
      case 0:
        after = AlphabetRows(rng, width, height, letters);
        break;
      case 1: {
        // A real scroll with fresh rows coming in, some rows then disturbed.
        const int by = height ? static_cast<int>(rng() % (height + 1)) : 0;
        const auto fresh = AlphabetRows(rng, width, height, letters);
        for (int y = 0; y < height; ++y) {
          const uint8_t* src = y + by < height ? before.data() + rowBytes * (y + by) : fresh.data() + rowBytes * y;
          std::copy(src, src + rowBytes, after.data() + rowBytes * y);
        }
        for (int n = static_cast<int>(rng() % 3); n > 0 && !after.empty(); --n) after[rng() % after.size()] ^= 1;
        break;
      }
      case 2: {
        // Differences only in the right third, where a scroll bar sits: they
        // must not count; a difference in the last compared byte must.
        after = before;
        const size_t compared = framlet::scroll::ComparedBytes(width);
        for (int y = 0; y < height; ++y) {
          if (rowBytes > compared) after[rowBytes * y + compared + rng() % (rowBytes - compared)] ^= 0x40;
          if (compared && rng() % 4 == 0) after[rowBytes * y + compared - 1] ^= 0x01;
        }
        break;
      }
      case 3:
        after = before;
        break;
    }
    const int expected = scroll_reference::Match(before.data(), after.data(), width, height);
    // Rows further apart than the packed size: the matcher honours strides.
    const size_t stride = rowBytes + 5;
    std::vector<uint8_t> paddedBefore(stride * height, 0xEE), paddedAfter(stride * height, 0x11);
    for (int y = 0; y < height; ++y) {
      std::copy(before.data() + rowBytes * y, before.data() + rowBytes * (y + 1), paddedBefore.data() + stride * y);
      std::copy(after.data() + rowBytes * y, after.data() + rowBytes * (y + 1), paddedAfter.data() + stride * y);
    }
    ASSERT_EQ(matcher.FindShift(paddedBefore.data(), stride, paddedAfter.data(), stride, width, height), expected)
        << "round " << round << " width " << width << " height " << height;
  }
}

TEST(ScrollMatch, AgreesWithThePlainLoopOnPagesScrolledByKnownSteps) {
  using scroll_pages::Kind;
  ScrollMatcher matcher;
  const int widths[] = {1, 2, 5, 64, 301};
  for (Kind kind : {Kind::Blank, Kind::Noise, Kind::Text, Kind::Periodic, Kind::HalfBlank, Kind::FewRows}) {
    for (int width : widths) {
      const auto page = scroll_pages::MakePage(kind, width, 400, static_cast<uint32_t>(width) * 31u);
      for (int height : {2, 3, 17, 120}) {
        for (int by : {0, 1, 7, height / 2 - 1, height / 2, height - 1, height + 3}) {
          for (int top : {0, 150, 400 - height - 2}) {
            const auto before = scroll_pages::View(page, top, width, height);
            const auto after = scroll_pages::View(page, top + std::max(by, 0), width, height);
            const size_t rowBytes = 3 * static_cast<size_t>(width);
            ASSERT_EQ(matcher.FindShift(before.data(), rowBytes, after.data(), rowBytes, width, height),
                      scroll_reference::Match(before.data(), after.data(), width, height))
                << scroll_pages::KindName(kind) << " width " << width << " height " << height << " by " << by << " top "
                << top;
          }
        }
      }
    }
  }
}

TEST(ScrollMatch, FindsTheScrollOfDistinctRows) {
  // Distinct rows: the true move wins while it is under half the height, and a
  // page that did not move gives 0.
  const auto page = scroll_pages::MakePage(scroll_pages::Kind::Noise, 40, 200, 7);
  ScrollMatcher matcher;
  const auto before = scroll_pages::View(page, 10, 40, 60);
  for (int by : {0, 1, 13, 29}) {
    const auto after = scroll_pages::View(page, 10 + by, 40, 60);
    EXPECT_EQ(matcher.FindShift(before.data(), 120, after.data(), 120, 40, 60), by);
  }
}

}  // namespace
