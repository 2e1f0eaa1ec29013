// The scroll matcher and stitcher against the plain reference loop on random
// pages: rows drawn from a few kinds (so that repeated rows, the hard case,
// are common), random strides, and sessions of random moves, window sizes
// and stops. The shifts found and the delivered picture match byte for byte.
#include <random>
#include <vector>

#include "fuzz_check.h"
#include "tests/host/scroll_test_pages.h"

using namespace framlet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  scroll_pages::Page page;
  page.width = in.ConsumeIntegralInRange(1, 48);
  page.rows = in.ConsumeIntegralInRange(1, 400);
  const int kinds = in.ConsumeIntegralInRange(1, 12);
  std::mt19937 rng(in.ConsumeIntegral<uint32_t>());
  const size_t rowBytes = 3 * static_cast<size_t>(page.width);
  std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(kinds), std::vector<uint8_t>(rowBytes));
  for (auto& row : rows)
    for (auto& b : row) b = static_cast<uint8_t>(rng() % 3 == 0 ? rng() : 255);
  page.bytes.resize(rowBytes * page.rows);
  for (int y = 0; y < page.rows; ++y) {
    const auto& row = rows[in.ConsumeIntegralInRange<size_t>(0, rows.size() - 1)];
    std::copy(row.begin(), row.end(), page.bytes.begin() + static_cast<ptrdiff_t>(rowBytes * y));
    // The right third (a scroll bar) may differ without counting.
    if (in.ConsumeBool()) page.bytes[rowBytes * y + rowBytes - 1] ^= 0x5A;
  }

  // One match on its own, with padded strides.
  {
    const int width = in.ConsumeIntegralInRange(1, page.width);
    const int height = in.ConsumeIntegralInRange(1, page.rows);
    const int by = in.ConsumeIntegralInRange(0, page.rows);
    const auto before = scroll_pages::View(page, 0, width, height);
    const auto after = scroll_pages::View(page, by, width, height);
    const size_t packed = 3 * static_cast<size_t>(width);
    const size_t stride = packed + in.ConsumeIntegralInRange(0, 5);
    std::vector<uint8_t> paddedBefore(stride * height, 0xEE), paddedAfter(stride * height, 0x11);
    for (int y = 0; y < height; ++y) {
      std::copy_n(before.begin() + static_cast<ptrdiff_t>(packed * y), packed, paddedBefore.begin() + static_cast<ptrdiff_t>(stride * y));
      std::copy_n(after.begin() + static_cast<ptrdiff_t>(packed * y), packed, paddedAfter.begin() + static_cast<ptrdiff_t>(stride * y));
    }
    scroll::ScrollMatcher matcher;
    const int found = matcher.FindShift(paddedBefore.data(), stride, paddedAfter.data(), stride, width, height);
    const int expected = scroll_reference::Match(before.data(), after.data(), width, height);
    FUZZ_CHECK(found == expected, "shift %d, the plain loop finds %d (%d x %d)", found, expected, width, height);
    FUZZ_CHECK(found >= 0 && (found < std::max(1, height / 2)), "shift %d for %d rows", found, height);
  }

  // A session of moves, the product's path against the plain one.
  std::vector<scroll_pages::Move> moves(in.ConsumeIntegralInRange(1, 10));
  for (auto& m : moves) {
    m.width = in.ConsumeIntegralInRange(1, page.width);
    m.height = in.ConsumeIntegralInRange(1, page.rows);
    m.by = in.ConsumeIntegralInRange(0, m.height);
    m.wait = in.ConsumeIntegralInRange(0, 7) != 0;
    m.later = in.ConsumeIntegralInRange(0, 3) == 0 ? in.ConsumeIntegralInRange(0, 5) : 0;
  }
  const auto product = scroll_pages::RunProduct(page, moves);
  const auto reference = scroll_pages::RunReference(page, moves);
  FUZZ_CHECK(product.shifts == reference.shifts, "the steps' shifts differ from the plain loop's");
  FUZZ_CHECK(product.width == reference.width && product.height == reference.height,
             "picture %d x %lld, the plain loop's %d x %lld", product.width, static_cast<long long>(product.height),
             reference.width, static_cast<long long>(reference.height));
  FUZZ_CHECK(product.bits == reference.bits, "the picture differs from the plain loop's");
  FUZZ_CHECK(product.height <= scroll::kMaxStitchedRows, "a picture of %lld rows", static_cast<long long>(product.height));
  return 0;
}
