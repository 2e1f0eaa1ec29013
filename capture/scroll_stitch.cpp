#include "capture/scroll_stitch.h"

#include <cstring>

namespace framlet::scroll {

namespace {
// Blocks of about 4 MB: few allocations, little unused space at the end.
constexpr size_t kBlockBytes = size_t{4} << 20;
}  // namespace

void ScaleRow(const uint8_t* src, int srcWidth, uint8_t* dst, int dstWidth) {
  if (srcWidth == dstWidth) {
    std::memcpy(dst, src, 3 * static_cast<size_t>(dstWidth));
    return;
  }
  if (srcWidth <= 0) {
    std::memset(dst, 0, 3 * static_cast<size_t>(dstWidth));
    return;
  }
  for (int x = 0; x < dstWidth; ++x) {
    const int64_t sx = (2 * static_cast<int64_t>(x) + 1) * srcWidth / (2 * static_cast<int64_t>(dstWidth));
    std::memcpy(dst + 3 * static_cast<size_t>(x), src + 3 * static_cast<size_t>(sx), 3);
  }
}

ScrollStepPlan PlanScrollStep(int matchedShift, int height, bool finishing, int& firstStepShift) {
  ScrollStepPlan plan;
  // The new content starts where the matched shift says, even when the cap
  // below appends fewer rows.
  plan.sourceRow = height - matchedShift;
  plan.shift = matchedShift;
  if (firstStepShift == 0) {
    firstStepShift = matchedShift;
  } else if (plan.shift > firstStepShift) {
    plan.shift = firstStepShift;
  }
  plan.finish = finishing || plan.shift == 0;
  if (plan.finish) firstStepShift = 0;
  return plan;
}

bool ApplyScrollStep(ScrollStitcher& image, const ScrollStepPlan& plan, int& firstStepShift, const uint8_t* before,
                     size_t beforeStride, const uint8_t* newRows, size_t newStride, int width, int height) {
  if (image.Empty()) {
    image.Start(before, beforeStride, width, height);
    image.Append(newRows, newStride, width, plan.shift);
  } else if (!plan.finish) {
    image.Append(newRows, newStride, width, plan.shift);
  }
  const bool deliver = plan.finish || image.Full() || image.Empty();
  if (deliver) firstStepShift = 0;
  return deliver;
}

uint8_t* ScrollStitcher::RowAt(int64_t row) const {
  return blocks_[static_cast<size_t>(row / rowsPerBlock_)].get() + static_cast<size_t>(row % rowsPerBlock_) * rowBytes_;
}

void ScrollStitcher::Start(const uint8_t* rows, size_t stride, int width, int count) {
  Clear();
  if (width <= 0 || count <= 0) return;
  width_ = width;
  rowBytes_ = 3 * static_cast<size_t>(width);
  rowsPerBlock_ = static_cast<int64_t>(kBlockBytes / rowBytes_);
  if (rowsPerBlock_ < 1) rowsPerBlock_ = 1;
  Append(rows, stride, width, count);
}

int ScrollStitcher::Append(const uint8_t* rows, size_t stride, int srcWidth, int count) {
  if (Empty() || count <= 0) return 0;
  const int64_t room = kMaxStitchedRows - height_;
  const int n = static_cast<int>(count < room ? count : room);
  for (int i = 0; i < n; ++i) {
    if (height_ == static_cast<int64_t>(blocks_.size()) * rowsPerBlock_) {
      // The last block of a short picture is only as large as the limit needs.
      int64_t blockRows = kMaxStitchedRows - height_;
      if (blockRows > rowsPerBlock_) blockRows = rowsPerBlock_;
      blocks_.emplace_back(new uint8_t[static_cast<size_t>(blockRows) * rowBytes_]);
    }
    ScaleRow(rows + static_cast<size_t>(i) * stride, srcWidth, RowAt(height_), width_);
    ++height_;
  }
  return n;
}

void ScrollStitcher::TakeBottomUp(uint8_t* dest) {
  const size_t stride = DibStride(width_);
  const size_t padding = stride - rowBytes_;
  // Bottom rows first: the last block is freed before the ones above it.
  int64_t out = 0;
  for (size_t b = blocks_.size(); b-- > 0;) {
    const int64_t first = static_cast<int64_t>(b) * rowsPerBlock_;
    int64_t last = first + rowsPerBlock_;
    if (last > height_) last = height_;
    for (int64_t row = last; row-- > first; ++out) {
      uint8_t* d = dest + static_cast<size_t>(out) * stride;
      std::memcpy(d, RowAt(row), rowBytes_);
      if (padding) std::memset(d + rowBytes_, 0, padding);
    }
    blocks_[b].reset();
  }
  Clear();
}

void ScrollStitcher::Clear() {
  blocks_.clear();
  blocks_.shrink_to_fit();
  width_ = 0;
  height_ = 0;
  rowBytes_ = 0;
  rowsPerBlock_ = 0;
}

}  // namespace framlet::scroll
