// The JPEG writer: the file's segments read back by a strict walker, and the
// pixels decoded again by ImageMagick and compared with the source.
#include "capture/jpeg_encoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace framlet {
namespace {

// ---- Pictures -----------------------------------------------------------------

// Red, green, blue per pixel, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
  uint8_t* At(int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

Picture Blank(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  Picture p{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 3)};
  for (size_t i = 0; i < p.rgb.size(); i += 3) p.rgb[i] = r, p.rgb[i + 1] = g, p.rgb[i + 2] = b;
  return p;
}

// Smooth two-way colour gradients, the kind of content JPEG is made for.
Picture Gradient(int w, int h) {
  Picture p = Blank(w, h, 0, 0, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* px = p.At(x, y);
      px[0] = static_cast<uint8_t>(x * 255 / std::max(1, w - 1));
      px[1] = static_cast<uint8_t>(y * 255 / std::max(1, h - 1));
      px[2] = static_cast<uint8_t>((x + y) * 255 / std::max(1, w + h - 2));
    }
  return p;
}

uint32_t Next(uint32_t& seed) {
  seed = seed * 1664525u + 1013904223u;
  return seed >> 8;
}

// A gradient with grain: every 8x8 block has detail at all frequencies.
Picture Textured(int w, int h) {
  Picture p = Gradient(w, h);
  uint32_t seed = 7;
  for (uint8_t& c : p.rgb) c = static_cast<uint8_t>(std::clamp(int(c) + int(Next(seed) % 61) - 30, 0, 255));
  return p;
}

// Screen text: one- and two-pixel strokes in saturated colours and black on
// white, in cells like glyphs; the hardest case for colour subsampling.
Picture ColouredText(int w, int h) {
  static const uint8_t kInks[][3] = {{255, 0, 0}, {0, 0, 255}, {0, 160, 0}, {0, 0, 0}, {200, 0, 200}};
  Picture p = Blank(w, h, 255, 255, 255);
  uint32_t seed = 11;
  for (int cy = 0; cy + 12 <= h; cy += 14)
    for (int cx = 0; cx + 7 <= w; cx += 8) {
      const uint8_t* ink = kInks[Next(seed) % 5];
      const uint32_t shape = Next(seed);
      for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 7; ++x) {
          const bool stem = (shape & 1) ? x == 1 || x == 2 : x == 3;
          const bool bar = (y == 0 && (shape & 2)) || (y == 5 && (shape & 4)) || (y == 11 && (shape & 8));
          const bool diagonal = (shape & 16) && x == y / 2 + 1;
          if (stem || bar || diagonal) std::copy(ink, ink + 3, p.At(cx + x, cy + y));
        }
    }
  return p;
}

// The rows the writer hands over: blue, green, red (and a fourth byte), rows
// `stride` bytes apart; the fourth byte and the row padding hold `filler`.
std::vector<uint8_t> Rows(const Picture& p, int bytesPerPixel, int stride, uint8_t filler = 0) {
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * p.height, filler);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const uint8_t* s = &p.rgb[(static_cast<size_t>(y) * p.width + x) * 3];
      uint8_t* d = &rows[static_cast<size_t>(y) * stride + static_cast<size_t>(x) * bytesPerPixel];
      d[0] = s[2], d[1] = s[1], d[2] = s[0];
    }
  return rows;
}

std::vector<uint8_t> Encode(const Picture& p, int quality, int bytesPerPixel = 4) {
  const int stride = (p.width * bytesPerPixel + 3) / 4 * 4;
  const std::vector<uint8_t> rows = Rows(p, bytesPerPixel, stride, 0x5A);
  return EncodeJpeg(rows.data(), p.width, p.height, stride, bytesPerPixel, quality);
}

// ---- A strict reader of the segments --------------------------------------------

struct Segments {
  std::string error;  // empty when the file is well formed
  std::vector<int> markers;
  int jfifVersion = 0;
  std::map<int, std::array<int, 64>> quant;  // by table id, zigzag order as stored
  int precision = 0, width = 0, height = 0;
  std::vector<std::array<int, 3>> components;  // id, sampling factors, table
  std::map<int, std::vector<int>> huffman;     // class << 4 | id -> symbols
  std::map<int, std::array<int, 16>> huffmanCounts;
  int scanComponents = 0;
  size_t entropyBytes = 0;
};

Segments Walk(const std::vector<uint8_t>& f) {
  Segments s;
  auto fail = [&](const std::string& why) {
    s.error = why;
    return s;
  };
  if (f.size() < 4 || f[0] != 0xFF || f[1] != 0xD8) return fail("no start of image");
  size_t at = 2;
  for (;;) {
    if (at + 4 > f.size() || f[at] != 0xFF) return fail("no marker at " + std::to_string(at));
    const int marker = f[at + 1];
    s.markers.push_back(marker);
    const size_t length = size_t(f[at + 2]) << 8 | f[at + 3];
    if (length < 2 || at + 2 + length > f.size()) return fail("segment runs past the end");
    const uint8_t* d = &f[at + 4];
    const size_t n = length - 2;
    switch (marker) {
      case 0xE0:
        if (n != 14 || std::string(d, d + 5) != std::string("JFIF\0", 5)) return fail("bad JFIF segment");
        s.jfifVersion = d[5] << 8 | d[6];
        if (!(d[7] == 0 && (d[8] << 8 | d[9]) == 1 && (d[10] << 8 | d[11]) == 1) &&
            !(d[7] == 1 && (d[8] << 8 | d[9]) == 72 && (d[10] << 8 | d[11]) == 72))
          return fail("density neither 1:1 nor 72 dpi");
        if (d[12] != 0 || d[13] != 0) return fail("thumbnail");
        break;
      case 0xDB:
        for (size_t i = 0; i < n; i += 65) {
          if (i + 65 > n || (d[i] >> 4) != 0) return fail("DQT not 8-bit tables");
          std::array<int, 64> t{};
          for (int k = 0; k < 64; ++k) t[k] = d[i + 1 + k];
          s.quant[d[i] & 15] = t;
        }
        break;
      case 0xC0:
        if (n != 6 + 3 * size_t(d[5])) return fail("bad SOF0 length");
        s.precision = d[0];
        s.height = d[1] << 8 | d[2];
        s.width = d[3] << 8 | d[4];
        for (int c = 0; c < d[5]; ++c) s.components.push_back({d[6 + 3 * c], d[7 + 3 * c], d[8 + 3 * c]});
        break;
      case 0xC4:
        for (size_t i = 0; i < n;) {
          if (i + 17 > n) return fail("short DHT");
          const int key = d[i];
          std::array<int, 16> counts{};
          size_t total = 0;
          long room = 1L << 16;  // codes of 16 bits or fewer that fit: the all-ones code must stay free
          for (int l = 0; l < 16; ++l) {
            counts[l] = d[i + 1 + l];
            total += counts[l];
            room -= long(counts[l]) << (15 - l);
          }
          if (room <= 0) return fail("Huffman codes overfill or use the all-ones code");
          if (i + 17 + total > n) return fail("DHT symbols run past the segment");
          s.huffman[key] = std::vector<int>(d + i + 17, d + i + 17 + total);
          s.huffmanCounts[key] = counts;
          i += 17 + total;
        }
        break;
      case 0xDA: {
        s.scanComponents = d[0];
        if (n != 4 + 2 * size_t(d[0]) || d[n - 3] != 0 || d[n - 2] != 63 || d[n - 1] != 0)
          return fail("not a baseline scan header");
        size_t e = at + 2 + length;
        const size_t start = e;
        while (e + 1 < f.size() && !(f[e] == 0xFF && f[e + 1] != 0x00)) e += f[e] == 0xFF ? 2 : 1;
        if (e + 2 != f.size() || f[e] != 0xFF || f[e + 1] != 0xD9)
          return fail("entropy data not followed by the end of image at the end of the file");
        s.entropyBytes = e - start;
        s.markers.push_back(0xD9);
        return s;
      }
      default:
        return fail("unexpected marker " + std::to_string(marker));
    }
    at += 2 + length;
  }
}

// ---- ImageMagick ------------------------------------------------------------------

bool HaveImageMagick() {
  return std::system("command -v convert >/dev/null 2>&1 && command -v identify >/dev/null 2>&1") == 0;
}

class TempJpeg {
 public:
  explicit TempJpeg(const std::vector<uint8_t>& bytes) {
    static int serial = 0;
    const char* tmp = std::getenv("TMPDIR");
    path_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/framlet_jpeg_" + std::to_string(getpid()) + "_" +
            std::to_string(serial++) + ".jpg";
    FILE* f = std::fopen(path_.c_str(), "wb");
    if (f) {
      written_ = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
      written_ = std::fclose(f) == 0 && written_;
    }
  }
  ~TempJpeg() { std::remove(path_.c_str()); }
  TempJpeg(const TempJpeg&) = delete;
  TempJpeg& operator=(const TempJpeg&) = delete;

  // What the command prints for the file (stderr dropped).
  std::string Run(const std::string& before, const std::string& after) const {
    std::string text;
    if (!written_) return text;
    FILE* pipe = popen((before + " '" + path_ + "' " + after + " 2>/dev/null").c_str(), "r");
    if (!pipe) return text;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
    return text;
  }

 private:
  std::string path_;
  bool written_ = false;
};

// The file decoded by ImageMagick; width 0 when it could not be read.
Picture DecodeWithImageMagick(const std::vector<uint8_t>& file, int width, int height) {
  const std::string rgb = TempJpeg(file).Run("convert", "-depth 8 rgb:-");
  if (rgb.size() != static_cast<size_t>(width) * height * 3) return {};
  return Picture{width, height, std::vector<uint8_t>(rgb.begin(), rgb.end())};
}

struct Difference {
  int worst = -1;  // -1 when the sizes differ
  double mean = 0;
};

Difference Compare(const Picture& a, const Picture& b) {
  Difference d;
  if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) return d;
  d.worst = 0;
  double sum = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) {
    const int e = std::abs(int(a.rgb[i]) - int(b.rgb[i]));
    d.worst = std::max(d.worst, e);
    sum += e;
  }
  d.mean = sum / static_cast<double>(a.rgb.size());
  return d;
}

#define REQUIRE_IMAGEMAGICK() \
  ASSERT_TRUE(HaveImageMagick()) << "ImageMagick's convert and identify are not installed (scripts/setup.sh installs them)"

// ---- Arguments ------------------------------------------------------------------

TEST(JpegEncoderArguments, RefusesWhatCannotBeWrittenAndTakesTheLargestSides) {
  std::vector<uint8_t> pixels(65536 * 4 + 64, 0x80);
  struct Case {
    const char* what;
    const uint8_t* pixels;
    int width, height, stride, bytesPerPixel;
    bool written;
  };
  const Case cases[] = {
      {"no pixels", nullptr, 4, 4, 16, 4, false},
      {"width 0", pixels.data(), 0, 4, 16, 4, false},
      {"height 0", pixels.data(), 4, 0, 16, 4, false},
      {"negative width", pixels.data(), -4, 4, 16, 4, false},
      {"width 65536", pixels.data(), 65536, 1, 65536 * 4, 4, false},
      {"height 65536", pixels.data(), 1, 65536, 4, 4, false},
      {"2 bytes per pixel", pixels.data(), 4, 4, 16, 2, false},
      {"5 bytes per pixel", pixels.data(), 4, 4, 20, 5, false},
      {"stride a byte short", pixels.data(), 4, 4, 15, 4, false},
      {"stride a byte short, 3 bytes", pixels.data(), 4, 4, 11, 3, false},
      {"negative stride", pixels.data(), 4, 4, -16, 4, false},
      {"1 x 1", pixels.data(), 1, 1, 4, 4, true},
      {"tight 3-byte rows", pixels.data(), 5, 3, 15, 3, true},
      {"65535 wide", pixels.data(), 65535, 1, 65535 * 4, 4, true},
      {"stride 0", pixels.data(), 1, 4, 0, 3, false},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> file = EncodeJpeg(c.pixels, c.width, c.height, c.stride, c.bytesPerPixel, 90);
    EXPECT_EQ(!file.empty(), c.written) << c.what;
    if (c.written) {
      EXPECT_EQ(Walk(file).error, "") << c.what;
    }
  }
  // 65535 rows: each row read from its own place (stride 4), all present.
  std::vector<uint8_t> tall(65535 * 4, 0x40);
  const Segments s = Walk(EncodeJpeg(tall.data(), 1, 65535, 4, 4, 50));
  EXPECT_EQ(s.error, "");
  EXPECT_EQ(s.width, 1);
  EXPECT_EQ(s.height, 65535);
}

// ---- Segments -------------------------------------------------------------------

TEST(JpegEncoderSegments, DescribeTheImageAndItsSampling) {
  struct Case {
    int width, height, quality;
    int lumaSampling;  // 0x11 full colour resolution, 0x22 colour halved both ways
  };
  const Case cases[] = {
      {1, 1, 100, 0x11}, {7, 9, 90, 0x11},   {17, 33, 89, 0x22}, {16, 16, 50, 0x22},  {300, 2, 75, 0x22},
      {2, 300, 1, 0x22}, {256, 3, 95, 0x11}, {33, 17, 0, 0x22},  {31, 47, 250, 0x11}, {300, 257, 30, 0x22},
  };
  for (const Case& c : cases) {
    const std::string what =
        std::to_string(c.width) + "x" + std::to_string(c.height) + " q" + std::to_string(c.quality);
    const Segments s = Walk(Encode(Textured(c.width, c.height), c.quality));
    ASSERT_EQ(s.error, "") << what;
    EXPECT_EQ(s.markers, (std::vector<int>{0xE0, 0xDB, 0xC0, 0xC4, 0xDA, 0xD9})) << what;
    EXPECT_EQ(s.jfifVersion, 0x0101) << what;
    EXPECT_EQ(s.precision, 8) << what;
    EXPECT_EQ(s.width, c.width) << what;
    EXPECT_EQ(s.height, c.height) << what;
    const std::vector<std::array<int, 3>> components = {{1, c.lumaSampling, 0}, {2, 0x11, 1}, {3, 0x11, 1}};
    EXPECT_EQ(s.components, components) << what;
    EXPECT_EQ(s.quant.size(), 2u) << what;
    EXPECT_EQ(s.scanComponents, 3) << what;
    EXPECT_GT(s.entropyBytes, 0u) << what;
  }
}

TEST(JpegEncoderSegments, HuffmanTablesAreTheStandardOnesAndCoverEverySymbol) {
  const Segments s = Walk(Encode(Gradient(8, 8), 75));
  ASSERT_EQ(s.error, "");
  const std::map<int, std::array<int, 16>> counts = {
      {0x00, {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}},
      {0x01, {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}},
      {0x10, {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D}},
      {0x11, {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77}},
  };
  EXPECT_EQ(s.huffmanCounts, counts);
  // Any difference up to 11 bits, any run of zeros with any coefficient up to 10 bits, the 16-zero run and the end.
  std::set<int> dc, ac = {0x00, 0xF0};
  for (int size = 0; size <= 11; ++size) dc.insert(size);
  for (int run = 0; run < 16; ++run)
    for (int size = 1; size <= 10; ++size) ac.insert(run << 4 | size);
  for (const auto& [key, symbols] : s.huffman) {
    const std::set<int> have(symbols.begin(), symbols.end());
    EXPECT_EQ(have.size(), symbols.size()) << "a symbol twice in table " << key;
    EXPECT_EQ(have, (key >> 4) ? ac : dc) << "table " << key;
  }
  EXPECT_EQ(s.huffman.at(0x10)[0], 0x01);  // the shortest luminance AC codes
  EXPECT_EQ(s.huffman.at(0x10)[3], 0x00);
  EXPECT_EQ(s.huffman.at(0x11)[0], 0x00);
}

// Zigzag position -> row-major index, and the standard tables row-major.
constexpr int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
                             41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
                             30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
constexpr int kLuma[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                           14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                           18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                           49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int kChroma[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
                             99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                             99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// A stored table back in row-major order.
std::array<int, 64> RowMajor(const std::array<int, 64>& zigzag) {
  std::array<int, 64> t{};
  for (int k = 0; k < 64; ++k) t[kZigzag[k]] = zigzag[k];
  return t;
}

TEST(JpegEncoderSegments, QuantTablesFollowTheQuality) {
  struct Case {
    int quality;
    int lumaFirstRow[8];  // row-major, as scaled
    int chromaFirstRow[8];
    int lumaLast, chromaLast;
  };
  const Case cases[] = {
      {50, {16, 11, 10, 16, 24, 40, 51, 61}, {17, 18, 24, 47, 99, 99, 99, 99}, 99, 99},  // the standard tables
      {100, {1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1}, 1, 1},
      {250, {1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1}, 1, 1},  // clamped to 100
      {99, {1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 2, 2, 2, 2}, 2, 2},   // 2%: 16 gives 0.32, kept at 1
      {90, {3, 2, 2, 3, 5, 8, 10, 12}, {3, 4, 5, 9, 20, 20, 20, 20}, 20, 20},
      {75, {8, 6, 5, 8, 12, 20, 26, 31}, {9, 9, 12, 24, 50, 50, 50, 50}, 50, 50},
      {25, {32, 22, 20, 32, 48, 80, 102, 122}, {34, 36, 48, 94, 198, 198, 198, 198}, 198, 198},
      {10, {80, 55, 50, 80, 120, 200, 255, 255}, {85, 90, 120, 235, 255, 255, 255, 255}, 255, 255},
      {1, {255, 255, 255, 255, 255, 255, 255, 255}, {255, 255, 255, 255, 255, 255, 255, 255}, 255, 255},
      {0, {255, 255, 255, 255, 255, 255, 255, 255}, {255, 255, 255, 255, 255, 255, 255, 255}, 255, 255},
      {-7, {255, 255, 255, 255, 255, 255, 255, 255}, {255, 255, 255, 255, 255, 255, 255, 255}, 255, 255},
  };
  for (const Case& c : cases) {
    const Segments s = Walk(Encode(Gradient(9, 9), c.quality));
    ASSERT_EQ(s.error, "") << c.quality;
    ASSERT_EQ(s.quant.count(0) + s.quant.count(1), 2u) << c.quality;
    const std::array<int, 64> luma = RowMajor(s.quant.at(0)), chroma = RowMajor(s.quant.at(1));
    EXPECT_TRUE(std::equal(c.lumaFirstRow, c.lumaFirstRow + 8, luma.begin())) << c.quality;
    EXPECT_TRUE(std::equal(c.chromaFirstRow, c.chromaFirstRow + 8, chroma.begin())) << c.quality;
    EXPECT_EQ(luma[63], c.lumaLast) << c.quality;
    EXPECT_EQ(chroma[63], c.chromaLast) << c.quality;
    if (c.quality == 50) {
      EXPECT_TRUE(std::equal(luma.begin(), luma.end(), kLuma));
      EXPECT_TRUE(std::equal(chroma.begin(), chroma.end(), kChroma));
    }
    if (c.quality >= 100) {
      EXPECT_EQ(std::count(luma.begin(), luma.end(), 1) + std::count(chroma.begin(), chroma.end(), 1), 128);
    }
  }
}

// ---- Decoded pixels ---------------------------------------------------------------

TEST(JpegEncoderPixels, DecodeCloseToTheSource) {
  REQUIRE_IMAGEMAGICK();
  struct Case {
    const char* what;
    Picture picture;
    int quality;
    int bytesPerPixel;
    int worst;    // largest channel difference allowed
    double mean;  // mean channel difference allowed
  };
  const Case cases[] = {
      // Quality 100: every step 1, full colour resolution; only the colour
      // conversion and the transforms' rounding remain.
      {"gradient", Gradient(160, 120), 100, 4, 6, 1.5},
      {"gradient, 3-byte pixels", Gradient(97, 61), 100, 3, 6, 1.5},
      {"textured", Textured(64, 48), 100, 4, 6, 1.5},
      // Coloured text smeared by halved colour resolution misses by about 109.
      {"coloured text", ColouredText(160, 70), 100, 4, 6, 0.5},
      {"coloured text", ColouredText(160, 70), 90, 4, 60, 4.0},
      {"gradient", Gradient(160, 120), 90, 4, 8, 2.0},
      {"gradient", Gradient(160, 120), 75, 4, 12, 2.5},
      {"gradient", Gradient(160, 120), 50, 4, 16, 3.0},
      {"one pixel", Blank(1, 1, 200, 30, 90), 100, 4, 3, 3.0},
      {"7x9", Gradient(7, 9), 100, 4, 6, 1.5},
      {"17x33", Gradient(17, 33), 100, 3, 6, 1.5},
      {"17x33", Gradient(17, 33), 50, 4, 24, 4.0},
      {"one row", Gradient(301, 1), 100, 4, 6, 1.5},
      {"one column", Gradient(1, 301), 60, 4, 24, 4.0},
  };
  for (const Case& c : cases) {
    const std::string what = std::string(c.what) + " " + std::to_string(c.picture.width) + "x" +
                             std::to_string(c.picture.height) + " q" + std::to_string(c.quality);
    const Picture back =
        DecodeWithImageMagick(Encode(c.picture, c.quality, c.bytesPerPixel), c.picture.width, c.picture.height);
    ASSERT_EQ(back.width, c.picture.width) << what << ": ImageMagick could not read the file";
    const Difference d = Compare(back, c.picture);
    EXPECT_LE(d.worst, c.worst) << what;
    EXPECT_LE(d.mean, c.mean) << what;
  }
}

// The right and bottom edges are filled by repeating the picture, so a flat
// picture of any size is flat in every block: no ringing at the edges, only
// the one rounding of its colour that the quality allows.
TEST(JpegEncoderPixels, FlatPicturesStayFlatUpToEveryEdge) {
  REQUIRE_IMAGEMAGICK();
  const int sizes[][2] = {{1, 1}, {7, 9}, {17, 33}, {33, 17}, {16, 16}, {8, 24}};
  for (const auto& size : sizes)
    for (int quality : {5, 50, 89, 90, 100}) {
      const std::string what = std::to_string(size[0]) + "x" + std::to_string(size[1]) + " q" + std::to_string(quality);
      const Picture flat = Blank(size[0], size[1], 250, 120, 10);
      const Picture back = DecodeWithImageMagick(Encode(flat, quality), size[0], size[1]);
      ASSERT_EQ(back.width, size[0]) << what;
      const Picture firstEverywhere = Blank(size[0], size[1], back.rgb[0], back.rgb[1], back.rgb[2]);
      EXPECT_LE(Compare(back, firstEverywhere).worst, 1) << what;
      EXPECT_LE(Compare(back, flat).worst, quality >= 50 ? 3 : 16) << what;
    }
}

// Full-range steps between neighbouring blocks need the longest DC
// differences (11 bits); every byte 0xFF in the coded data needs its 0.
TEST(JpegEncoderPixels, ExtremeContrastDecodes) {
  REQUIRE_IMAGEMAGICK();
  Picture blocks = Blank(64, 32, 0, 0, 0);
  Picture pixels = Blank(40, 24, 0, 0, 0);
  for (int y = 0; y < blocks.height; ++y)
    for (int x = 0; x < blocks.width; ++x)
      if ((x / 8 + y / 8) % 2) std::fill(blocks.At(x, y), blocks.At(x, y) + 3, 255);
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x) {
      uint8_t* px = pixels.At(x, y);
      if ((x + y) % 2)
        px[0] = 255, px[1] = y % 3 ? 255 : 0;
      else
        px[2] = 255;
    }
  for (const Picture* p : {&blocks, &pixels}) {
    const std::vector<uint8_t> file = Encode(*p, 100);
    ASSERT_EQ(Walk(file).error, "");
    const Picture back = DecodeWithImageMagick(file, p->width, p->height);
    ASSERT_EQ(back.width, p->width);
    EXPECT_LE(Compare(back, *p).worst, 8) << p->width;
  }
}

TEST(JpegEncoderPixels, FilesShrinkAsTheQualityFalls) {
  const Picture picture = Textured(128, 96);
  size_t previous = SIZE_MAX;
  for (int quality : {100, 90, 89, 75, 30, 5, 1}) {
    const size_t size = Encode(picture, quality).size();
    EXPECT_LT(size, previous) << "quality " << quality;
    previous = size;
  }
  // The same picture of text: the full colour resolution costs, the steps save.
  const Picture text = ColouredText(160, 70);
  EXPECT_GT(Encode(text, 100).size(), Encode(text, 75).size());
}

TEST(JpegEncoderPixels, IdentifySeesAJpegOfTheRightSize) {
  REQUIRE_IMAGEMAGICK();
  // Large sides within what ImageMagick's usual resource policy lets it read (16K pixels).
  const int sizes[][2] = {{1, 1}, {7, 9}, {17, 33}, {1, 16000}, {12345, 2}};
  for (const auto& size : sizes) {
    const Picture p = Gradient(size[0], size[1]);
    for (int quality : {100, 50}) {
      const std::string said = TempJpeg(Encode(p, quality)).Run("identify -format '%m %wx%h'", "");
      EXPECT_EQ(said, "JPEG " + std::to_string(size[0]) + "x" + std::to_string(size[1]))
          << size[0] << "x" << size[1] << " q" << quality;
    }
  }
}

// ---- Input layout --------------------------------------------------------------------

TEST(JpegEncoderInput, FourthByteAndRowPaddingAreIgnored) {
  for (const Picture& p : {ColouredText(45, 30), Textured(13, 7)})
    for (int quality : {100, 60}) {
      const std::vector<uint8_t> reference = Encode(p, quality, 4);
      EXPECT_EQ(Encode(p, quality, 3), reference) << p.width << " q" << quality;
      struct Layout {
        int bytesPerPixel;
        int padding;
        uint8_t filler;
      };
      for (const Layout& l : {Layout{4, 0, 0xFF}, Layout{4, 12, 0x33}, Layout{3, 1, 0xFF}, Layout{3, 7, 0x00}}) {
        const int stride = p.width * l.bytesPerPixel + l.padding;
        const std::vector<uint8_t> rows = Rows(p, l.bytesPerPixel, stride, l.filler);
        EXPECT_EQ(EncodeJpeg(rows.data(), p.width, p.height, stride, l.bytesPerPixel, quality), reference)
            << p.width << " q" << quality << " " << l.bytesPerPixel << " bytes, " << l.padding << " padding";
      }
    }
}

}  // namespace
}  // namespace framlet
