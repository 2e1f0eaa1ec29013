#pragma once
// A rectangle in pixels with exclusive right and bottom edges, as the rules of
// the frame, the region window and window bounds share it.
namespace framlet {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

}  // namespace framlet
