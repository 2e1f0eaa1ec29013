#pragma once
// Pages and scrolling sessions for the scroll-capture tests and benchmark: a
// tall page of 24-bit rows, seen through a window of a given height that moves
// down by known steps.
#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace scroll_pages {

enum class Kind { Blank, Noise, Text, Periodic, HalfBlank, FewRows };

inline const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::Blank:
      return "blank";
    case Kind::Noise:
      return "noise";
    case Kind::Text:
      return "text";
    case Kind::Periodic:
      return "periodic";
    case Kind::HalfBlank:
      return "half-blank";
    case Kind::FewRows:
      return "few-rows";
  }
  return "?";
}

struct Page {
  int width = 0;
  int rows = 0;
  std::vector<uint8_t> bytes;  // packed rows, top first
  const uint8_t* Row(int y) const { return bytes.data() + static_cast<size_t>(y) * 3 * width; }
};

// A page of the given kind. Text: white lines with dark glyph runs, blank
// gaps between paragraphs and a right-hand scroll bar; periodic: a pattern of
// 7 rows repeated; half-blank: noise above, white below.
inline Page MakePage(Kind kind, int width, int rows, uint32_t seed) {
  std::mt19937 rng(seed);
  Page page;
  page.width = width;
  page.rows = rows;
  const size_t rowBytes = 3 * static_cast<size_t>(width);
  page.bytes.assign(rowBytes * rows, 255);
  std::vector<std::vector<uint8_t>> palette;
  for (int i = 0; i < 7; ++i) {
    std::vector<uint8_t> row(rowBytes);
    for (auto& b : row) b = static_cast<uint8_t>(rng());
    palette.push_back(row);
  }
  for (int y = 0; y < rows; ++y) {
    uint8_t* row = page.bytes.data() + rowBytes * y;
    switch (kind) {
      case Kind::Blank:
        break;
      case Kind::Noise:
        for (size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(rng());
        break;
      case Kind::Text: {
        const int line = y % 18;
        const bool paragraphGap = (y / 18) % 6 == 5;
        if (!paragraphGap && line >= 3 && line < 14) {
          for (int x = 4; x < width * 2 / 3; ++x)
            if (rng() % 5 == 0) row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = static_cast<uint8_t>(rng() % 90);
        }
        // The scroll bar's thumb moves with the position: right third only.
        for (int x = width - width / 20 - 1; x >= 0 && x < width; ++x) row[3 * x] = static_cast<uint8_t>(y * 7);
        break;
      }
      case Kind::Periodic:
        std::copy(palette[y % 7].begin(), palette[y % 7].end(), row);
        break;
      case Kind::HalfBlank:
        if (y < rows / 2)
          for (size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(rng());
        break;
      case Kind::FewRows: {
        const auto& pick = palette[rng() % 3];
        std::copy(pick.begin(), pick.end(), row);
        break;
      }
    }
  }
  return page;
}

// The window's picture at a scroll position: `height` rows of the page's left
// `width` pixels starting at row `top` (clamped to the page's end).
inline std::vector<uint8_t> View(const Page& page, int top, int width, int height) {
  top = std::max(0, std::min(top, page.rows - height));
  const size_t rowBytes = 3 * static_cast<size_t>(width);
  std::vector<uint8_t> out(rowBytes * height);
  for (int y = 0; y < height; ++y)
    std::copy(page.Row(top + y), page.Row(top + y) + rowBytes, out.data() + rowBytes * y);
  return out;
}

}  // namespace scroll_pages

#include "bench/scroll_reference.h"
#include "capture/scroll_match.h"
#include "capture/scroll_stitch.h"

namespace scroll_pages {

struct Move {
  int by = 1;     // rows the content moves between the two grabs
  int width = 0;  // the window's size for this step
  int height = 0;
  bool wait = true;  // false: the user asked to stop
  int later = 0;     // rows it moves on before the new rows are read
};

struct Outcome {
  std::vector<int> shifts;
  int width = 0;
  int64_t height = 0;
  std::vector<uint8_t> bits;  // bottom-up, 4-byte rows
};

// Runs the moves until a step finishes (or the moves run out: the last one is
// then a stop). The product path, as the engine drives it.
inline Outcome RunProduct(const Page& page, const std::vector<Move>& moves) {
  Outcome out;
  framlet::scroll::ScrollMatcher matcher;
  framlet::scroll::ScrollStitcher picture;
  int firstStepShift = 0;
  int pos = 0;
  for (size_t i = 0; i < moves.size(); ++i) {
    const Move& m = moves[i];
    const bool wait = m.wait && i + 1 < moves.size();
    const auto before = View(page, pos, m.width, m.height);
    pos = std::min(pos + m.by, page.rows - m.height);
    const auto after = View(page, pos, m.width, m.height);
    pos = std::min(pos + m.later, page.rows - m.height);
    const auto screen = View(page, pos, m.width, m.height);
    const size_t rowBytes = 3 * static_cast<size_t>(m.width);
    const int found = matcher.FindShift(before.data(), rowBytes, after.data(), rowBytes, m.width, m.height);
    const auto plan = framlet::scroll::PlanScrollStep(found, m.height, !wait, firstStepShift);
    out.shifts.push_back(plan.shift);
    if (framlet::scroll::ApplyScrollStep(picture, plan, firstStepShift, before.data(), rowBytes,
                                         screen.data() + rowBytes * plan.sourceRow, rowBytes, m.width, m.height))
      break;
  }
  out.width = picture.Width();
  out.height = picture.Height();
  out.bits.resize(framlet::scroll::DibStride(out.width) * static_cast<size_t>(out.height));
  picture.TakeBottomUp(out.bits.data());
  return out;
}

inline Outcome RunReference(const Page& page, const std::vector<Move>& moves) {
  Outcome out;
  scroll_reference::State state;
  int pos = 0;
  for (size_t i = 0; i < moves.size(); ++i) {
    const Move& m = moves[i];
    const bool wait = m.wait && i + 1 < moves.size();
    const auto before = View(page, pos, m.width, m.height);
    pos = std::min(pos + m.by, page.rows - m.height);
    const auto after = View(page, pos, m.width, m.height);
    pos = std::min(pos + m.later, page.rows - m.height);
    const auto screen = View(page, pos, m.width, m.height);
    int shift = 0;
    const int done =
        scroll_reference::Step(state, before.data(), after.data(), screen.data(), m.width, m.height, wait, &shift);
    out.shifts.push_back(shift);
    if (done) break;
  }
  out.width = state.working.width;
  out.height = state.working.height;
  out.bits = std::move(state.working.bits);
  return out;
}

}  // namespace scroll_pages
