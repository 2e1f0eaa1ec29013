#include "capture/scroll_stitch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/host/scroll_test_pages.h"

namespace {

using scroll_pages::Kind;
using scroll_pages::Move;
using scroll_pages::Outcome;

void ExpectSame(const Outcome& product, const Outcome& reference, const std::string& what) {
  ASSERT_EQ(product.shifts, reference.shifts) << what;
  ASSERT_EQ(product.width, reference.width) << what;
  ASSERT_EQ(product.height, reference.height) << what;
  ASSERT_TRUE(product.bits == reference.bits) << what;
}

std::vector<Move> Steady(int count, int by, int width, int height, int later = 0) {
  std::vector<Move> moves(count);
  for (auto& m : moves) m = Move{by, width, height, true, later};
  return moves;
}

TEST(ScrollStitch, SessionsEqualThePlainLoopByteForByte) {
  struct Case {
    const char* name;
    std::vector<Move> moves;
  };
  const Case cases[] = {
      {"steady small step", Steady(60, 3, 37, 40)},
      {"steady large step", Steady(30, 19, 10, 40)},
      {"step over half the height", Steady(10, 25, 10, 40)},
      {"content runs on before the new rows are read", Steady(30, 4, 11, 50, 2)},
      {"first step small, later ones larger (capped)",
       {Move{2, 8, 30, true, 0}, Move{5, 8, 30, true, 0}, Move{9, 8, 30, true, 0}, Move{1, 8, 30, true, 0},
        Move{3, 8, 30, true, 0}}},
      {"stopped during the first wait", {Move{6, 7, 30, true, 0}, Move{6, 7, 30, false, 0}}},
      {"stopped on the first step", {Move{6, 7, 30, false, 0}}},
      {"stopped mid-way", {Move{4, 7, 30}, Move{4, 7, 30}, Move{4, 7, 30}, Move{4, 7, 30, false}, Move{4, 7, 30}}},
      {"area grows wider", {Move{5, 10, 30}, Move{5, 10, 30}, Move{5, 23, 30}, Move{5, 23, 30}, Move{5, 23, 30}}},
      {"area narrows", {Move{5, 31, 30}, Move{5, 31, 30}, Move{5, 4, 30}, Move{5, 4, 30}, Move{5, 4, 30}}},
      {"area gets taller and shorter",
       {Move{5, 9, 30}, Move{5, 9, 44}, Move{5, 9, 12}, Move{5, 9, 30}, Move{5, 9, 30}}},
      {"height below two", Steady(4, 1, 9, 1)},
  };
  for (Kind kind : {Kind::Blank, Kind::Noise, Kind::Text, Kind::Periodic, Kind::HalfBlank, Kind::FewRows}) {
    const auto page = scroll_pages::MakePage(kind, 40, 600, 99);
    for (const Case& c : cases) {
      ExpectSame(scroll_pages::RunProduct(page, c.moves), scroll_pages::RunReference(page, c.moves),
                 std::string(scroll_pages::KindName(kind)) + ": " + c.name);
    }
  }
}

TEST(ScrollStitch, RandomSessionsEqualThePlainLoop) {
  std::mt19937 rng(77);
  for (int round = 0; round < 300; ++round) {
    const Kind kind = static_cast<Kind>(rng() % 6);
    const int pageWidth = static_cast<int>(rng() % 30) + 1;
    const auto page = scroll_pages::MakePage(kind, pageWidth, 500, rng());
    std::vector<Move> moves(rng() % 12 + 1);
    int width = static_cast<int>(rng() % pageWidth) + 1;
    int height = static_cast<int>(rng() % 60) + 1;
    for (auto& m : moves) {
      if (rng() % 6 == 0) width = static_cast<int>(rng() % pageWidth) + 1;
      if (rng() % 6 == 0) height = static_cast<int>(rng() % 60) + 1;
      m = Move{static_cast<int>(rng() % 40), width, height, rng() % 10 != 0, static_cast<int>(rng() % 3)};
    }
    ExpectSame(scroll_pages::RunProduct(page, moves), scroll_pages::RunReference(page, moves),
               "round " + std::to_string(round));
  }
}

TEST(ScrollStitch, WideRowsAcrossStorageBlocks) {
  // 1920-pixel rows fill a storage block after a few hundred rows: a long
  // capture crosses several blocks and must come out whole.
  const auto page = scroll_pages::MakePage(Kind::Noise, 1920, 1200, 5);
  const auto moves = Steady(20, 47, 1920, 100);
  ExpectSame(scroll_pages::RunProduct(page, moves), scroll_pages::RunReference(page, moves), "wide");
}

TEST(ScrollStitch, StopsAtTheTallestPictureTheWritersTake) {
  // The plain loop grows past the limit; the product delivers at exactly the
  // limit with the same top rows, even when the limit falls inside a step.
  const auto page = scroll_pages::MakePage(Kind::Noise, 3, 70000, 11);
  const auto moves = Steady(400, 199, 3, 400);
  const Outcome product = scroll_pages::RunProduct(page, moves);
  const Outcome reference = scroll_pages::RunReference(page, moves);
  ASSERT_EQ(product.height, framlet::scroll::kMaxStitchedRows);
  ASSERT_GT(reference.height, product.height);
  const size_t stride = framlet::scroll::DibStride(3);
  for (int64_t y = 0; y < product.height; ++y) {
    const uint8_t* p = product.bits.data() + static_cast<size_t>(product.height - 1 - y) * stride;
    const uint8_t* r = reference.bits.data() + static_cast<size_t>(reference.height - 1 - y) * stride;
    ASSERT_EQ(std::memcmp(p, r, stride), 0) << "row " << y;
  }
  ASSERT_EQ(product.shifts.size(), static_cast<size_t>((65535 - 400 + 198) / 199));
}

TEST(ScrollStitch, EmptyFirstPictureDeliversNothing) {
  framlet::scroll::ScrollStitcher picture;
  int firstStepShift = 0;
  const auto plan = framlet::scroll::PlanScrollStep(0, 0, false, firstStepShift);
  EXPECT_TRUE(framlet::scroll::ApplyScrollStep(picture, plan, firstStepShift, nullptr, 0, nullptr, 0, 0, 0));
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(firstStepShift, 0);
}

TEST(ScrollStitch, ScaledRowsTakeThePixelUnderEachCentre) {
  const uint8_t src[] = {1, 1, 1, 2, 2, 2, 3, 3, 3};
  uint8_t wide[3 * 6];
  framlet::scroll::ScaleRow(src, 3, wide, 6);
  EXPECT_EQ(std::vector<uint8_t>(wide, wide + 18),
            (std::vector<uint8_t>{1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3}));
  uint8_t narrow[3];
  framlet::scroll::ScaleRow(src, 3, narrow, 1);
  EXPECT_EQ(narrow[0], 2);
}

}  // namespace
