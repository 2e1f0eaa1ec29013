#pragma once
#include <cstdint>
#include <optional>
#include <vector>

// Numbers of a printed page: the pixel buffer handed to the printer and where
// on the printable area the picture goes. No platform types, so the rules can
// be checked natively.
namespace framlet::print {

// Physical size the program gives one picture pixel when the picture keeps
// its scale on paper (a 96-DPI screen pixel is 0.2645833 mm; this is the
// program's own figure).
inline constexpr double kMmPerPicturePixel = 0.262903;
// An A4 sheet: a picture wider or taller than this is printed across the
// width of the printable area and 40 % of its height, whatever the orientation.
inline constexpr double kSheetWidthMm = 210.0;
inline constexpr double kSheetHeightMm = 297.0;
inline constexpr double kOversizeHeightShare = 0.4;
inline constexpr double kMmPerInch = 25.4;

// The largest pixel buffer handed to the printer: its size travels in 32-bit
// signed and unsigned fields of the bitmap header and the drawing calls.
inline constexpr uint64_t kMaxPixelBytes = 0x7FFFFFFFu;

// The 40-byte bitmap header of a 32-bit, uncompressed, bottom-up pixel array.
struct PixelHeader {
  uint32_t size = 40;
  int32_t width = 0;
  int32_t height = 0;  // positive: rows bottom-up
  uint16_t planes = 1;
  uint16_t bitCount = 32;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};

// Bytes of a width x height picture at 32 bits per pixel, counted in 64 bits;
// nothing for an empty picture or one larger than kMaxPixelBytes.
std::optional<uint64_t> PixelBytes(int64_t width, int64_t height);

// The header for a width x height picture; nothing when PixelBytes refuses it.
std::optional<PixelHeader> MakePixelHeader(int width, int height);

// The printer surface: its printable area in device pixels and its real
// resolution in pixels per inch.
struct Page {
  int width = 0;
  int height = 0;
  int pixelsPerInchX = 0;
  int pixelsPerInchY = 0;
};

// A rectangle on the printable area, in device pixels.
struct Destination {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Destination& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

// Millimetres a picture of w x h pixels takes on paper at its own scale.
double PictureWidthMm(int width);
double PictureHeightMm(int height);

// Where a width x height picture is stretched to. Fit: the whole printable
// area (the aspect ratio is not kept). Own scale: the picture's millimetres
// at the printer's resolution, from the top-left corner, unless it is larger
// than the A4 sheet (see above). Nothing for an empty picture or a page with
// no size or resolution.
std::optional<Destination> PrintDestination(int width, int height, bool fitToPaper, const Page& page);

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size& o) const { return width == o.width && height == o.height; }
};

// The finest picture sent: more pixels per printed inch show nothing more on
// paper and only swell the job (a page-sized picture is about 140 MB at 600
// pixels per inch and 560 MB at 1200).
inline constexpr int kMaxSentPixelsPerInch = 300;

// The size of the pixel buffer sent for a width x height picture printed into
// `to` on `page`: each side shrunk to the printed pixels when the page shows
// it smaller, and to kMaxSentPixelsPerInch over the printed inches on a finer
// printer; never enlarged (the printer enlarges), at least one pixel. A tall
// capture thus costs the job what is printed, not the whole capture.
Size SentSize(int width, int height, const Destination& to, const Page& page);

// Device pixels one drawing call covers at most (16 MB at 32 bits), so that
// no call asks the printer's driver for an image of the whole page.
inline constexpr int64_t kMaxBandDevicePixels = 4 * 1024 * 1024;

// A run of the sent picture's rows, counted from its top, and where it lands.
struct Band {
  int firstRow = 0;
  int rows = 0;
  Destination to;
  bool operator==(const Band& o) const { return firstRow == o.firstRow && rows == o.rows && to == o.to; }
};

// The sent picture cut into bands of whole rows from the top, each covering
// at most kMaxBandDevicePixels of `to` (give or take one device row; a single
// sent row that covers more is a band of its own). Sent row r starts at device
// row to.y + r * to.height / sent.height (truncated), as one call drawing the
// whole picture places it, so the bands meet without gap or overlap and
// together cover `to` exactly. Nothing for an empty size or destination.
std::vector<Band> PrintBands(const Size& sent, const Destination& to);

}  // namespace framlet::print
