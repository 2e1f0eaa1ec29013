#include "web/page_capture_rules.h"

#include <algorithm>

namespace framlet::pagecap {

int ClampSide(long long side) {
  return static_cast<int>(std::clamp<long long>(side, 0, kMaxSide));
}

Element ChooseScrollingElement(long long bodyLeft, long long bodyTop) {
  return bodyLeft > 0 || bodyTop > 0 ? Element::Body : Element::Root;
}

Element EnlargeToWholePage(IPageLayout& page) {
  page.ScrollTo(kFarEnd, kFarEnd);
  const Scroll body = page.Read(Element::Body);
  const Element element = ChooseScrollingElement(body.left, body.top);

  Scroll current = page.Read(element);
  page.ResizeView(ClampSide(current.width), ClampSide(current.height));

  current = page.Read(element);
  long long left = current.left;
  long long top = current.top;
  for (int round = 0; round < kMaxRounds; ++round) {
    const long long previousLeft = left;
    const long long previousTop = top;
    page.ScrollTo(kFarEnd, kFarEnd);
    if (left > 0 || top > 0) {
      const Scroll far = page.Read(element);
      if (left > 0) left = far.left;
      if (top > 0) top = far.top;
    }
    page.ScrollTo(0, 0);
    if (left <= 0 && top <= 0) break;
    // Offsets read after an enlargement that match those it was made for:
    // it changed nothing, and another round would only repeat it. The first
    // round has made no enlargement yet, so its offsets prove nothing.
    if (round > 0 && left == previousLeft && top == previousTop) break;
    const Size before = page.ViewSize();
    // The offsets are the page's word: no more than a side is added, so the sum cannot overflow.
    const int width = ClampSide(before.width + std::clamp<long long>(left, 0, kMaxSide));
    const int height = ClampSide(before.height + std::clamp<long long>(top, 0, kMaxSide));
    // A window at its largest will not change the offsets any more.
    if (width == before.width && height == before.height) break;
    page.ResizeView(width, height);
    // Only the top offset moved since the last round: this enlargement was
    // the page's last.
    if (left == previousLeft && top != previousTop) break;
  }
  return element;
}

int TrailingBackdropRows(const std::uint8_t* pixels, int width, int height, std::size_t stride) {
  if (!pixels || width <= 0 || height <= 0) return 0;
  int rows = 0;
  for (int y = height - 1; y >= 0; --y) {
    const std::uint8_t* row = pixels + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = row + static_cast<std::size_t>(x) * 4;
      if (p[0] != kBackdropBlue || p[1] != kBackdropGreen || p[2] != kBackdropRed) return rows;
    }
    ++rows;
  }
  return rows;
}

int CroppedHeight(int height, int trailingRows) {
  return std::max(0, height - std::clamp(trailingRows, 0, std::max(0, height)));
}

bool DrawableSize(long long width, long long height) {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
  // One 32-bit bitmap: its byte count must fit a signed 32-bit size.
  return width * height * 4 <= 0x7FFFFFFFLL;
}

}  // namespace framlet::pagecap
