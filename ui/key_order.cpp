#include "ui/key_order.h"

#include <algorithm>

namespace framlet::ui {

std::vector<std::size_t> KeyOrder(const std::vector<FilterSpot>& spots) {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < spots.size(); ++i)
    if (spots[i].depth >= 0) order.push_back(i);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const FilterSpot& x = spots[a];
    const FilterSpot& y = spots[b];
    if (x.stage != y.stage) return x.stage < y.stage;
    if (x.depth != y.depth) return x.depth < y.depth;
    return x.added > y.added;
  });
  return order;
}

}  // namespace framlet::ui
