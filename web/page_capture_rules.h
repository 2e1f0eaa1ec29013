#pragma once
// The arithmetic of drawing a whole web page into one picture: which element
// scrolls, how far the hidden browser window must grow until nothing scrolls,
// and how many unpainted rows the picture ends with. No window code: the page
// is reached through IPageLayout, which the browser's document (or a test's
// stand-in) implements.
#include <cstddef>
#include <cstdint>

namespace framlet::pagecap {

// Rows the page did not paint keep this colour (red, green, blue).
inline constexpr std::uint8_t kBackdropRed = 100;
inline constexpr std::uint8_t kBackdropGreen = 105;
inline constexpr std::uint8_t kBackdropBlue = 110;

// Scroll sizes come from the page and are not trusted: a side of the browser
// window never grows beyond this (the largest coordinate GDI draws at).
inline constexpr int kMaxSide = 32767;
// The enlarge loop gives up after this many rounds whatever the page reports.
inline constexpr int kMaxRounds = 32;
// "Scroll to the far end": larger than any page the window can show.
inline constexpr int kFarEnd = 65535;

enum class Element { Body, Root };

// An element's scroll offsets and sizes as the page reports them.
struct Scroll {
  long long left = 0;
  long long top = 0;
  long long width = 0;
  long long height = 0;
};

struct Size {
  int width = 0;
  int height = 0;
};

// The document and its (hidden) browser window, as the loop needs them.
class IPageLayout {
 public:
  virtual void ScrollTo(int x, int y) = 0;
  virtual Scroll Read(Element element) = 0;
  // The browser window's outer size, and making it this size at (0, 0).
  virtual Size ViewSize() = 0;
  virtual void ResizeView(int width, int height) = 0;

 protected:
  ~IPageLayout() = default;
};

// A page size or grown side within 0..kMaxSide.
int ClampSide(long long side);

// Pages in standards mode scroll the root element; others scroll the body,
// which shows as an offset of the body after scrolling to the far end.
Element ChooseScrollingElement(long long bodyLeft, long long bodyTop);

// Sizes the browser window to the page and grows it until the page no longer
// scrolls: picks the scrolling element, makes the window its scroll size,
// then adds the remaining offsets to the window size round by round. The loop
// ends when nothing scrolls, after an enlargement for which only the top
// offset moved since the round before, when an enlargement changes nothing
// (the window is at its largest, or the offsets read after it are the ones it
// was made for), or after kMaxRounds. Returns the element chosen.
Element EnlargeToWholePage(IPageLayout& page);

// Rows at the bottom of a 32-bit picture (blue, green, red, unused per pixel;
// rows top first, `stride` bytes apart) whose every pixel is the backdrop
// colour, counted upwards to the first row holding anything else.
int TrailingBackdropRows(const std::uint8_t* pixels, int width, int height, std::size_t stride);

// The height a trimmed save keeps: all rows but the trailing backdrop rows;
// 0 (the whole picture) when the page painted nothing.
int CroppedHeight(int height, int trailingRows);

// A client area that can be drawn into: both sides at least 1 pixel and the
// 32-bit picture's size within what one bitmap can address.
bool DrawableSize(long long width, long long height);

}  // namespace framlet::pagecap
