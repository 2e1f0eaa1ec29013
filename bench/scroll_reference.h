#pragma once
// The plain scroll-capture loop, kept as the yardstick the product's matcher
// and stitcher must equal byte for byte: every candidate shift compares every
// row pair, and every step copies the whole picture into a new, taller one.
// Shared by the native tests and the benchmark; not part of the product.
#include <cstdint>
#include <cstring>
#include <vector>

#include "capture/scroll_stitch.h"

namespace scroll_reference {

// 24-bit picture stored bottom row first, rows padded to 4 bytes.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bits;

  size_t Stride() const { return framlet::scroll::DibStride(width); }
  uint8_t* Row(int y) { return bits.data() + static_cast<size_t>(height - 1 - y) * Stride(); }
  const uint8_t* Row(int y) const { return bits.data() + static_cast<size_t>(height - 1 - y) * Stride(); }
  void Create(int w, int h) {
    width = w;
    height = h;
    bits.assign(Stride() * static_cast<size_t>(h), 0);
  }
};

// before and after: height packed rows of 3 * width bytes, top row first.
inline int Match(const uint8_t* before, const uint8_t* after, int width, int height) {
  const int rowBytes = 3 * width;
  const int compared = rowBytes - rowBytes / 3;
  int best = 0;
  int bestCount = 0;
  for (int s = 0; s < height / 2; ++s) {
    int count = 0;
    for (int k = s; k < height; ++k) {
      const uint8_t* b = before + static_cast<size_t>(k) * rowBytes;
      const uint8_t* a = after + static_cast<size_t>(k - s) * rowBytes;
      if (compared == 0 || std::memcmp(b, a, static_cast<size_t>(compared)) == 0) ++count;
    }
    if (count > bestCount) {
      bestCount = count;
      best = s;
    }
  }
  return best;
}

struct State {
  Picture working;
  int firstStepShift = 0;
};

// One step. `screen` is what the screen shows once the wait is over (height
// packed rows); the new rows are read from it. Returns 1 when the capture is
// finished (the picture is then in state.working), 0 when another step follows.
inline int Step(State& state, const uint8_t* before, const uint8_t* after, const uint8_t* screen, int width, int height,
                bool wait, int* shiftOut = nullptr) {
  int shift = Match(before, after, width, height);
  const int sourceRow = height - shift;
  if (state.firstStepShift == 0) {
    state.firstStepShift = shift;
  } else if (shift > state.firstStepShift) {
    shift = state.firstStepShift;
  }
  if (shiftOut) *shiftOut = shift;
  const size_t rowBytes = 3 * static_cast<size_t>(width);
  auto startPicture = [&] {
    state.working.Create(width, height + shift);
    for (int y = 0; y < height; ++y) std::memcpy(state.working.Row(y), before + y * rowBytes, rowBytes);
    for (int i = 0; i < shift; ++i)
      std::memcpy(state.working.Row(height + i), screen + (sourceRow + i) * rowBytes, rowBytes);
  };
  if (wait && shift != 0) {
    if (state.working.width == 0) {
      startPicture();
    } else {
      const Picture temporary = state.working;
      Picture grown;
      grown.Create(temporary.width, temporary.height + shift);
      for (int y = 0; y < temporary.height; ++y)
        std::memcpy(grown.Row(y), temporary.Row(y), 3 * static_cast<size_t>(temporary.width));
      for (int i = 0; i < shift; ++i)
        framlet::scroll::ScaleRow(screen + (sourceRow + i) * rowBytes, width, grown.Row(temporary.height + i),
                                  temporary.width);
      state.working = std::move(grown);
    }
    return 0;
  }
  if (state.working.width == 0) startPicture();
  state.firstStepShift = 0;
  return 1;
}

}  // namespace scroll_reference
