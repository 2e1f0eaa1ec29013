#pragma once

namespace framlet::ui {

// How the capture frame's window is layered.
enum class Layering {
  // The key colour is see-through: the hole shows what lies under the frame.
  ColourKey,
  // The whole window half see-through (the frame over a window covering the
  // screen, while the full-capture notice is up).
  Translucent,
  // An ordinary window: the hole shows the frame's own page.
  Opaque,
};

}  // namespace framlet::ui
