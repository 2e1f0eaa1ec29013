#include "capture/scroll_match.h"

#include <cstring>

namespace framlet::scroll {

namespace {

constexpr uint64_t kMul1 = 0x9E3779B97F4A7C15ull;
constexpr uint64_t kMul2 = 0xC2B2AE3D27D4EB4Full;

inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline uint64_t Mix(uint64_t h) {
  h ^= h >> 33;
  h *= kMul2;
  h ^= h >> 29;
  return h;
}

}  // namespace

uint64_t HashRow(const uint8_t* data, size_t length) {
  // Four independent lanes keep the multiplier busy on long rows.
  uint64_t a = 0x243F6A8885A308D3ull ^ length, b = 0x13198A2E03707344ull, c = 0xA4093822299F31D0ull,
           d = 0x082EFA98EC4E6C89ull;
  size_t i = 0;
  for (; i + 32 <= length; i += 32) {
    a = (a ^ Load64(data + i)) * kMul1;
    b = (b ^ Load64(data + i + 8)) * kMul1;
    c = (c ^ Load64(data + i + 16)) * kMul1;
    d = (d ^ Load64(data + i + 24)) * kMul1;
    a ^= a >> 31;
    b ^= b >> 31;
    c ^= c >> 31;
    d ^= d >> 31;
  }
  for (; i + 8 <= length; i += 8) a = ((a ^ Load64(data + i)) * kMul1) ^ (a >> 29);
  uint64_t tail = 0;
  for (size_t j = 0; i + j < length; ++j) tail |= static_cast<uint64_t>(data[i + j]) << (8 * j);
  a = (a ^ tail) * kMul1;
  return Mix(a ^ Mix(b + 0x9E37) ^ (Mix(c) * 3) ^ (Mix(d) * 5));
}

int ScrollMatcher::ClassOf(const uint8_t* row, size_t length) {
  const uint64_t hash = HashRow(row, length);
  const size_t mask = slots_.size() - 1;
  for (size_t i = static_cast<size_t>(hash) & mask;; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (slot.cls < 0) {
      slot.hash = hash;
      slot.cls = static_cast<int32_t>(representatives_.size());
      representatives_.push_back(row);
      return slot.cls;
    }
    // Equal hashes are only candidates: the bytes decide.
    if (slot.hash == hash && std::memcmp(representatives_[slot.cls], row, length) == 0) return slot.cls;
  }
}

int ScrollMatcher::FindShift(const uint8_t* before, size_t beforeStride, const uint8_t* after, size_t afterStride,
                             int width, int height) {
  if (height < 2 || !before || !after) return 0;
  const size_t length = ComparedBytes(width);
  const size_t rows = static_cast<size_t>(height);

  // Open addressing with at most a quarter of the slots in use.
  size_t slotCount = 16;
  while (slotCount < rows * 4) slotCount *= 2;
  slots_.assign(slotCount, Slot{0, -1});
  representatives_.clear();
  representatives_.reserve(rows * 2);
  beforeClasses_.resize(rows);
  afterClasses_.resize(rows);
  for (size_t k = 0; k < rows; ++k) beforeClasses_[k] = ClassOf(before + k * beforeStride, length);
  for (size_t k = 0; k < rows; ++k) afterClasses_[k] = ClassOf(after + k * afterStride, length);

  const int32_t* b = beforeClasses_.data();
  const int32_t* a = afterClasses_.data();
  int best = 0;
  int bestCount = 0;
  const int candidates = height / 2;
  for (int s = 0; s < candidates; ++s) {
    // Shift s can match at most height - s rows; once that cannot beat the
    // best count, no later shift can either.
    if (height - s <= bestCount) break;
    const int32_t* bs = b + s;
    const int n = height - s;
    int count = 0;
    for (int k = 0; k < n; ++k) count += bs[k] == a[k];
    if (count > bestCount) {
      bestCount = count;
      best = s;
    }
  }
  return best;
}

}  // namespace framlet::scroll
