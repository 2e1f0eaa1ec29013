#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace framlet::scroll {

// The tallest picture a scroll capture builds: the JPEG and GIF height limit.
inline constexpr int64_t kMaxStitchedRows = 65535;

// Copies one row of srcWidth 24-bit pixels into dstWidth pixels, each taking
// the source pixel under its centre (nearest neighbour). Used when the capture
// area changes width in the middle of a capture.
void ScaleRow(const uint8_t* src, int srcWidth, uint8_t* dst, int dstWidth);

// Bytes per row of a 24-bit device-independent picture of this width.
inline size_t DibStride(int width) {
  return (3 * static_cast<size_t>(width) + 3) & ~static_cast<size_t>(3);
}

// What one scroll step does with the shift its matcher found.
struct ScrollStepPlan {
  int shift = 0;      // rows to append, after the cap
  int sourceRow = 0;  // first screen row of the new content
  bool finish = false;
};

// Applies the cap of later steps to the first step's shift. `firstStepShift`
// is 0 while no capture is under way; it takes the first step's shift and is
// set back to 0 when the step finishes the capture. `finishing` is the stop
// request (the step's wait was 0).
ScrollStepPlan PlanScrollStep(int matchedShift, int height, bool finishing, int& firstStepShift);

// The growing picture of a scroll capture: rows kept top-down in blocks, so an
// append copies only its own rows, and turned into one bottom-up 24-bit
// picture once, at delivery. Never taller than kMaxStitchedRows.
class ScrollStitcher {
 public:
  bool Empty() const { return width_ == 0; }
  int Width() const { return width_; }
  int64_t Height() const { return height_; }
  bool Full() const { return height_ >= kMaxStitchedRows; }

  // Starts the picture with `count` rows of `width` pixels (stride bytes apart,
  // top row first). A width or count of 0 leaves it empty.
  void Start(const uint8_t* rows, size_t stride, int width, int count);
  // Appends rows of srcWidth pixels below the picture, scaled to its width when
  // they differ; stops at the height limit. Returns the rows appended.
  int Append(const uint8_t* rows, size_t stride, int srcWidth, int count);
  // Writes the picture bottom row first into dest (Height() rows of
  // DibStride(Width()) bytes, padding zeroed), freeing each block once copied;
  // the stitcher is empty afterwards.
  void TakeBottomUp(uint8_t* dest);
  void Clear();

 private:
  uint8_t* RowAt(int64_t row) const;

  int width_ = 0;
  int64_t height_ = 0;
  size_t rowBytes_ = 0;
  int64_t rowsPerBlock_ = 0;
  std::vector<std::unique_ptr<uint8_t[]>> blocks_;
};

// Adds one step's rows to the picture: a picture not begun yet starts with the
// step's first grab (`before`, height rows) followed by the plan's new rows; a
// picture under way gets the new rows unless the step finishes. `newRows` are
// plan.shift rows of `width` pixels. True when the picture is to be delivered
// now (the step finishes or the height limit is reached); firstStepShift is
// then 0 again.
bool ApplyScrollStep(ScrollStitcher& image, const ScrollStepPlan& plan, int& firstStepShift, const uint8_t* before,
                     size_t beforeStride, const uint8_t* newRows, size_t newStride, int width, int height);

}  // namespace framlet::scroll
