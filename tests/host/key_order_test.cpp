#include "ui/key_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace framlet::ui {
namespace {

// The filters the capture frame's windows register, in the order they do:
// the frame's tables and its own rules, the two panels, the page's view, and
// a preview opened over the frame.
enum Filter { kFrameTables, kFrameRules, kWebPanel, kNormalPanel, kView, kPreview, kFilterCount };
const KeyStage kStage[kFilterCount] = {KeyStage::Accelerators, KeyStage::WindowKeys, KeyStage::Accelerators,
                                       KeyStage::Accelerators, KeyStage::View,       KeyStage::Accelerators};
const char kName[kFilterCount] = {'T', 'R', 'w', 'n', 'V', 'P'};

// The filters that see a message, as letters in the order they see it, given
// each filter's depth from the message's window (-1: not bound for it).
std::string Order(const std::vector<int>& depths) {
  std::vector<FilterSpot> spots;
  for (int i = 0; i < kFilterCount; ++i) spots.push_back({kStage[i], depths[i], static_cast<unsigned>(i + 1)});
  std::string order;
  for (std::size_t i : KeyOrder(spots)) order += kName[i];
  return order;
}

TEST(KeyOrder, WhoSeesAKeyFirst) {
  struct Case {
    const char* situation;
    std::vector<int> depths;  // T, R, w, n, V, P
    const char* order;
  } cases[] = {
      // The browser's innermost window lies three levels inside the view.
      {"a key in a page: the frame's tables, then the page, then the frame's Enter and Escape",
       {4, 4, -1, -1, 3, -1},
       "TVR"},
      {"a key in the address box", {1, 1, -1, -1, -1, -1}, "TR"},
      {"a key on a normal-panel button: the panel before the frame", {2, 2, -1, 1, -1, -1}, "nTR"},
      {"a key on the panel itself", {1, 1, -1, 0, -1, -1}, "nTR"},
      {"a key in the preview over the frame: only the preview's", {-1, -1, -1, -1, -1, 0}, "P"},
      {"a key for a window of nobody's", {-1, -1, -1, -1, -1, -1}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Order(c.depths), c.order) << c.situation;
}

TEST(KeyOrder, OneWindowTwiceAtOneStage) {
  // A second registration for the same window and stage comes first.
  const std::vector<FilterSpot> spots = {
      {KeyStage::WindowKeys, 0, 1}, {KeyStage::WindowKeys, 0, 2}, {KeyStage::Accelerators, 0, 3}};
  EXPECT_EQ(KeyOrder(spots), (std::vector<std::size_t>{2, 1, 0}));
}

}  // namespace
}  // namespace framlet::ui
