#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace framlet::scroll {

// Finds how far the content moved up between two grabs of the same rectangle.
// Both pictures are `height` rows of 3 * `width` bytes (24-bit pixels), top row
// first, `stride` bytes apart. Only the left two thirds of each row's bytes are
// compared, so a scroll bar on the right does not count.
//
// For every candidate shift s in [0, height / 2) the matcher counts the rows k
// (s <= k < height) whose compared bytes in `before` equal those of row k - s in
// `after`; the shift with the highest count wins, the smaller shift on a tie,
// and 0 when no row matches at all.
//
// Rows are first sorted into exact classes: a 64-bit hash of the compared bytes
// picks the candidates and every candidate is confirmed byte for byte, so a
// hash collision can never change the answer. Counting then compares class
// numbers only, and stops as soon as no later shift can beat the best count.
class ScrollMatcher {
 public:
  int FindShift(const uint8_t* before, size_t beforeStride, const uint8_t* after, size_t afterStride, int width,
                int height);

 private:
  int ClassOf(const uint8_t* row, size_t length);

  struct Slot {
    uint64_t hash;
    int32_t cls;  // -1: free
  };
  std::vector<Slot> slots_;
  std::vector<const uint8_t*> representatives_;
  std::vector<int32_t> beforeClasses_;
  std::vector<int32_t> afterClasses_;
};

// The number of bytes of a 3 * width byte row that take part in matching.
inline size_t ComparedBytes(int width) {
  const size_t rowBytes = 3 * static_cast<size_t>(width > 0 ? width : 0);
  return rowBytes - rowBytes / 3;
}

// 64-bit hash of a byte run (not for storage: it may change between versions).
uint64_t HashRow(const uint8_t* data, size_t length);

}  // namespace framlet::scroll
