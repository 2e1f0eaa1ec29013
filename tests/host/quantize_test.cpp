#include "capture/quantize.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <set>

namespace framlet {
namespace {

using ColorAt = std::function<uint32_t(int x, int y)>;  // 0xRRGGBB

// A screen-bitmap-like buffer: BGR or BGRX rows with padding after each row, the fourth
// byte and the padding filled with noise that must not matter.
struct Bitmap {
    int width, height, bytesPerPixel, stride;
    std::vector<uint8_t> bytes;

    Bitmap(int w, int h, int bpp, int padding, const ColorAt& color)
        : width(w), height(h), bytesPerPixel(bpp), stride(w * bpp + padding),
          bytes(size_t(stride) * size_t(h)) {
        std::mt19937 noise(99);
        for (uint8_t& b : bytes) b = uint8_t(noise());
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                uint8_t* p = &bytes[size_t(y) * size_t(stride) + size_t(x) * size_t(bpp)];
                const uint32_t c = color(x, y);
                p[0] = uint8_t(c);
                p[1] = uint8_t(c >> 8);
                p[2] = uint8_t(c >> 16);
            }
        }
    }

    IndexedImage Quantize(bool dither = true) const {
        QuantizeOptions options;
        options.dither = dither;
        return QuantizeTo256(bytes.data(), width, height, stride, bytesPerPixel, options);
    }
};

uint32_t Reduced(const IndexedImage& image, int x, int y) {
    return image.palette[image.indices[size_t(y) * size_t(image.width) + size_t(x)]];
}

bool WellFormed(const IndexedImage& image, int width, int height) {
    if (image.width != width || image.height != height) return false;
    if (image.palette.empty() || image.palette.size() > 256) return false;
    if (image.indices.size() != size_t(width) * size_t(height)) return false;
    for (uint8_t i : image.indices)
        if (i >= image.palette.size()) return false;
    return true;
}

// Mean squared error per channel between the source colours and the reduced picture.
double MeanSquaredError(const IndexedImage& image, const ColorAt& color) {
    double sum = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint32_t a = color(x, y), b = Reduced(image, x, y);
            for (int shift = 0; shift < 24; shift += 8) {
                const double d = double(a >> shift & 0xFF) - double(b >> shift & 0xFF);
                sum += d * d;
            }
        }
    }
    return sum / (3.0 * image.width * image.height);
}

size_t DistinctColors(int width, int height, const ColorAt& color) {
    std::set<uint32_t> seen;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) seen.insert(color(x, y));
    return seen.size();
}

struct LosslessCase {
    const char* name;
    int width, height, bytesPerPixel, padding;
    ColorAt color;
};

TEST(QuantizeTest, KeepsPicturesOf256ColoursOrFewerExact) {
    const LosslessCase cases[] = {
        {"1x1", 1, 1, 4, 0, [](int, int) { return 0x123456u; }},
        {"one colour, 24-bit rows padded to 4 bytes", 5, 3, 3, 1,
         [](int, int) { return 0xF0F0F0u; }},
        {"black and white text-like pattern", 33, 17, 4, 0,
         [](int x, int y) { return ((x * 7 + y * 3) % 5 < 2) ? 0x000000u : 0xFFFFFFu; }},
        {"exactly 256 colours, 32-bit with padding", 16, 16, 4, 12,
         [](int x, int y) { return uint32_t(x * 16 + y) * 0x010307u & 0xFFFFFFu; }},
        {"greys one level apart and two blues", 254, 3, 3, 3,
         [](int x, int y) { return y == 1 ? 0x0000FFu - uint32_t(x % 2) : uint32_t(x) * 0x010101u; }},
        {"UI colours with an odd width", 101, 67, 4, 0,
         [](int x, int y) {
             static const uint32_t ui[] = {0xF0F0F0, 0xFFFFFF, 0x0078D7, 0x333333, 0xE5F1FB,
                                           0xCCE4F7, 0xFF0000, 0x00B050};
             return ui[(x / 9 + y / 4) % 8];
         }},
    };
    for (const LosslessCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Bitmap bitmap(c.width, c.height, c.bytesPerPixel, c.padding, c.color);
        for (bool dither : {true, false}) {
            const IndexedImage image = bitmap.Quantize(dither);
            ASSERT_TRUE(WellFormed(image, c.width, c.height));
            EXPECT_EQ(image.palette.size(), DistinctColors(c.width, c.height, c.color));
            size_t wrong = 0;
            for (int y = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x) wrong += Reduced(image, x, y) != c.color(x, y);
            EXPECT_EQ(wrong, 0u);
        }
    }
}

TEST(QuantizeTest, ReadsBottomUpBuffersThroughANegativeStride) {
    const ColorAt color = [](int x, int y) { return uint32_t(y * 40 + x) * 0x000101u; };
    const Bitmap bitmap(7, 5, 4, 0, color);
    // The same picture stored bottom-up: the caller passes its last row and a negative stride.
    std::vector<uint8_t> flipped(bitmap.bytes.size());
    for (int y = 0; y < 5; ++y)
        std::copy_n(&bitmap.bytes[size_t(y) * 28], 28, &flipped[size_t(4 - y) * 28]);
    const IndexedImage image = QuantizeTo256(&flipped[4 * 28], 7, 5, -28, 4);
    ASSERT_TRUE(WellFormed(image, 7, 5));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(Reduced(image, x, y), color(x, y));
}

struct ManyColoursCase {
    const char* name;
    int width, height, bytesPerPixel;
    ColorAt color;
    double maxErrorDithered, maxErrorPlain;  // mean squared error per channel
};

TEST(QuantizeTest, FitsMoreColoursInto256) {
    const ManyColoursCase cases[] = {
        {"257 colours: one pair shares an entry", 257, 2, 4,
         [](int x, int y) { return y == 0 ? uint32_t(x) * 0x010101u % 0x1000000u : 0x808080u; },
         0.01, 0.01},
        {"smooth two-way gradient, 65536 colours", 256, 256, 4,
         [](int x, int y) { return uint32_t(x) << 16 | uint32_t(y) << 8 | 0x60u; }, 26.0, 15.0},
        {"grey ramp with a tint, 512 colours", 512, 64, 3,
         [](int x, int y) { return uint32_t(x / 2) * 0x010101u ^ uint32_t(y & 1); }, 0.6, 0.3},
        // 140000 different colours, one per pixel, scattered over a 64-level cube: more
        // than are counted one by one, so the histogram summary takes over.
        {"noise past the exact colour count", 400, 350, 4,
         [](int x, int y) {
             const uint32_t c = (uint32_t(y * 400 + x) * 40503u) & 0x3FFFFu;
             return (0x60u + (c >> 12)) << 16 | (0x30u + (c >> 6 & 63)) << 8 | (0x90u + (c & 63));
         },
         30.0, 15.0},
    };
    for (const ManyColoursCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Bitmap bitmap(c.width, c.height, c.bytesPerPixel, 0, c.color);
        for (bool dither : {true, false}) {
            SCOPED_TRACE(dither ? "dithered" : "plain");
            const IndexedImage image = bitmap.Quantize(dither);
            ASSERT_TRUE(WellFormed(image, c.width, c.height));
            EXPECT_LE(MeanSquaredError(image, c.color),
                      dither ? c.maxErrorDithered : c.maxErrorPlain);
        }
    }
}

// Dithering keeps the local average: over 8x8 blocks the dithered gradient is closer to
// the source than the plain mapping, which bands.
TEST(QuantizeTest, DitheringKeepsBlockAveragesOfAGradient) {
    const ColorAt color = [](int x, int y) {
        return uint32_t(x & ~1) << 16 | uint32_t(y & ~1) << 8 | 0x40u;
    };
    const Bitmap bitmap(256, 256, 4, 0, color);
    auto blockError = [&](const IndexedImage& image) {
        double sum = 0;
        for (int by = 0; by < 256; by += 8) {
            for (int bx = 0; bx < 256; bx += 8) {
                for (int shift = 0; shift < 24; shift += 8) {
                    double d = 0;
                    for (int y = by; y < by + 8; ++y)
                        for (int x = bx; x < bx + 8; ++x)
                            d += double(color(x, y) >> shift & 0xFF) -
                                 double(Reduced(image, x, y) >> shift & 0xFF);
                    sum += (d / 64) * (d / 64);
                }
            }
        }
        return sum / (32 * 32 * 3);
    };
    const double dithered = blockError(bitmap.Quantize(true));
    const double plain = blockError(bitmap.Quantize(false));
    EXPECT_LT(dithered, plain / 2);
}

// A window with anti-aliased text and a photo: far more than 256 colours, yet the solid
// background and the solid text cores must come out exact, with no dither dots spilling
// from the text edges or the photo into them.
TEST(QuantizeTest, SolidAreasStayExactBesideTextEdgesAndAPhoto) {
    const ColorAt color = [](int x, int y) -> uint32_t {
        if (x >= 200) {  // photo-like corner: smooth colours with noise
            const uint32_t h = (uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u) >> 27;
            return uint32_t((x * 3 + int(h)) & 0xFF) << 16 | uint32_t((y * 2) & 0xFF) << 8 |
                   uint32_t((x + y + int(h)) & 0xFF);
        }
        if (y < 12) return 0x0078D7;  // title bar
        if (y >= 20 && y < 100 && x >= 10 && x < 190) {
            // Strokes 2 pixels wide every 6 pixels, with a soft edge of tinted greys on
            // either side, like anti-aliased text.
            const int phase = x % 6;
            if (phase == 2 || phase == 3) return 0x000000;
            if (phase == 1 || phase == 4) {
                const int level = 0x08 + (x * 7 + y * 13) % 0xE4;
                return uint32_t(level) << 16 | uint32_t(level) << 8 | uint32_t(level + y % 5);
            }
        }
        return 0xF0F0F0;  // window background
    };
    const Bitmap bitmap(320, 120, 4, 0, color);
    ASSERT_GT(DistinctColors(320, 120, color), 256u);
    for (bool dither : {true, false}) {
        SCOPED_TRACE(dither ? "dithered" : "plain");
        const IndexedImage image = bitmap.Quantize(dither);
        ASSERT_TRUE(WellFormed(image, 320, 120));
        size_t wrong = 0;
        for (int y = 0; y < 120; ++y) {
            for (int x = 0; x < 200; ++x) {
                const uint32_t c = color(x, y);
                if (c == 0xF0F0F0 || c == 0x000000 || c == 0x0078D7)
                    wrong += Reduced(image, x, y) != c;
            }
        }
        EXPECT_EQ(wrong, 0u);
    }
}

TEST(QuantizeTest, RefusesInvalidArguments) {
    const std::vector<uint8_t> pixels(64 * 4, 0x7F);
    struct Case {
        const char* name;
        const uint8_t* pixels;
        int width, height, stride, bytesPerPixel;
    };
    const Case cases[] = {
        {"no pixels", nullptr, 4, 4, 16, 4},
        {"zero width", pixels.data(), 0, 4, 16, 4},
        {"negative height", pixels.data(), 4, -1, 16, 4},
        {"two bytes per pixel", pixels.data(), 4, 4, 8, 2},
        {"stride shorter than a row", pixels.data(), 4, 4, 15, 4},
        {"negative stride shorter than a row", pixels.data() + 48, 4, 4, -11, 3},
        {"more pixels than allowed", pixels.data(), 40000, 40000, 160000, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const IndexedImage image =
            QuantizeTo256(c.pixels, c.width, c.height, c.stride, c.bytesPerPixel);
        EXPECT_EQ(image.width, 0);
        EXPECT_TRUE(image.palette.empty());
        EXPECT_TRUE(image.indices.empty());
    }
}

}  // namespace
}  // namespace framlet
