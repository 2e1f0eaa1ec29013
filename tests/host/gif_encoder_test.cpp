#include "capture/gif_encoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "tests/host/gif_reader.h"

namespace framlet {
namespace {

using gif_reader::DecodedGif;
using gif_reader::DecodeGif;

IndexedImage MakeImage(int width, int height, int colors, int pattern) {
    IndexedImage image;
    image.width = width;
    image.height = height;
    for (int i = 0; i < colors; ++i)
        image.palette.push_back(uint32_t(i * 0x010203 + (i % 7) * 0x204000) & 0xFFFFFF);
    std::mt19937 random(uint32_t(1234 + pattern));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int v = 0;
            switch (pattern) {
                case 0: v = 0; break;                                       // one colour
                case 1: v = (x + y) % colors; break;                        // diagonal stripes
                case 2: v = int(random() % uint32_t(colors)); break;        // noise
                case 3: v = (x / 7 + (y / 5) * 3) % colors; break;          // blocks
                default: v = (random() % 16 == 0) ? int(random() % uint32_t(colors)) : 0;
            }
            image.indices.push_back(uint8_t(v));
        }
    }
    return image;
}

struct RoundTripCase {
    const char* name;
    int width, height, colors, pattern;
    int tableEntries;  // expected size of the global colour table
    int minCodeSize;
    bool fillsTable;   // enough distinct strings to force clear codes
};

TEST(GifEncoderTest, RoundTripsExactly) {
    const RoundTripCase cases[] = {
        {"1x1 one colour", 1, 1, 1, 0, 2, 2, false},
        {"1x1 of two", 1, 1, 2, 1, 2, 2, false},
        {"single row, odd width", 37, 1, 3, 1, 4, 2, false},
        {"single column", 1, 53, 5, 1, 8, 3, false},
        {"odd widths with blocks", 101, 13, 17, 3, 32, 5, false},
        {"two colours, noise", 333, 211, 2, 2, 2, 2, true},
        {"four colours, noise", 257, 255, 4, 2, 4, 2, true},
        {"256 colours, noise", 301, 203, 256, 2, 256, 8, true},
        {"129 colours rounds up to 256", 64, 64, 129, 1, 256, 8, false},
        {"one colour, long runs", 1000, 700, 1, 0, 2, 2, false},
        {"sparse dots", 640, 480, 200, 4, 256, 8, true},
    };
    for (const RoundTripCase& c : cases) {
        SCOPED_TRACE(c.name);
        const IndexedImage image = MakeImage(c.width, c.height, c.colors, c.pattern);
        const std::vector<uint8_t> file = EncodeGif89a(image);
        const DecodedGif gif = DecodeGif(file);
        ASSERT_EQ(gif.error, "");
        EXPECT_EQ(gif.width, c.width);
        EXPECT_EQ(gif.height, c.height);
        EXPECT_EQ(gif.tableEntries, c.tableEntries);
        EXPECT_EQ(gif.minCodeSize, c.minCodeSize);
        for (size_t i = 0; i < size_t(gif.tableEntries); ++i)
            EXPECT_EQ(gif.table[i], i < image.palette.size() ? image.palette[i] : 0u);
        EXPECT_TRUE(gif.indices == image.indices);
        if (c.fillsTable) {
            EXPECT_GT(gif.clearCodes, 0);
            EXPECT_EQ(gif.widestCode, 12);
        } else {
            EXPECT_EQ(gif.clearCodes, 0);
        }
    }
}

TEST(GifEncoderTest, WritesTheScreenDescriptorAndTrailer) {
    const IndexedImage image = MakeImage(300, 2, 3, 1);
    const std::vector<uint8_t> file = EncodeGif89a(image);
    ASSERT_GT(file.size(), 13u + 12u);
    const std::vector<uint8_t> head(file.begin(), file.begin() + 13);
    // 300 = 0x012C; packed: table present, 8-bit colour resolution, 4 entries.
    const std::vector<uint8_t> expected = {'G', 'I', 'F', '8', '9', 'a', 0x2C, 0x01,
                                           0x02, 0x00, 0xF1, 0x00, 0x00};
    EXPECT_EQ(head, expected);
    EXPECT_EQ(file.back(), 0x3B);
}

TEST(GifEncoderTest, RefusesWhatAGifCannotHold) {
    struct Case {
        const char* name;
        int width, height, colors;
        int indexCountDelta;
        int badIndex;  // -1: none
    };
    const Case cases[] = {
        {"zero width", 0, 5, 2, 0, -1},
        {"zero height", 5, 0, 2, 0, -1},
        {"negative width", -3, 5, 2, 0, -1},
        {"width past 16 bits", 65536, 1, 2, 0, -1},
        {"height past 16 bits", 1, 65536, 2, 0, -1},
        {"no palette", 4, 4, 0, 0, -1},
        {"palette of 257", 4, 4, 257, 0, -1},
        {"an index short", 4, 4, 2, -1, -1},
        {"an index too many", 4, 4, 2, 1, -1},
        {"index past the palette", 4, 4, 3, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IndexedImage image;
        image.width = c.width;
        image.height = c.height;
        image.palette.assign(size_t(c.colors), 0x336699);
        const int64_t count = std::max<int64_t>(0, int64_t(c.width) * c.height) + c.indexCountDelta;
        image.indices.assign(size_t(std::max<int64_t>(0, count)), 0);
        if (c.badIndex >= 0) image.indices[5] = uint8_t(c.badIndex);
        EXPECT_TRUE(EncodeGif89a(image).empty());
    }
}

TEST(GifEncoderTest, WritesTheLargestSidesAGifHolds) {
    const IndexedImage wide = MakeImage(65535, 1, 2, 1);
    const IndexedImage tall = MakeImage(1, 65535, 2, 1);
    for (const IndexedImage* image : {&wide, &tall}) {
        const DecodedGif gif = DecodeGif(EncodeGif89a(*image));
        ASSERT_EQ(gif.error, "");
        EXPECT_EQ(gif.width, image->width);
        EXPECT_EQ(gif.height, image->height);
        EXPECT_TRUE(gif.indices == image->indices);
    }
}

// Another reader's view: ImageMagick decodes the file to the same RGB pixels.
TEST(GifEncoderTest, ImageMagickReadsTheSamePixels) {
    ASSERT_EQ(std::system("command -v convert >/dev/null 2>&1"), 0)
        << "ImageMagick's convert is not installed (scripts/setup.sh installs it)";
    const IndexedImage image = MakeImage(157, 93, 256, 2);
    const std::vector<uint8_t> file = EncodeGif89a(image);
    const char* tmp = std::getenv("TMPDIR");
    const std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/framlet_gif_" +
                             std::to_string(std::random_device{}()) + ".gif";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(file.data(), 1, file.size(), f), file.size());
    std::fclose(f);

    FILE* pipe = popen(("convert '" + path + "' -depth 8 rgb:- 2>/dev/null").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<uint8_t> rgb;
    uint8_t buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        rgb.insert(rgb.end(), buffer, buffer + n);
    pclose(pipe);
    std::remove(path.c_str());

    ASSERT_EQ(rgb.size(), image.indices.size() * 3);
    size_t wrong = 0;
    for (size_t i = 0; i < image.indices.size(); ++i) {
        const uint32_t c = image.palette[image.indices[i]];
        const uint32_t got = uint32_t(rgb[i * 3]) << 16 | uint32_t(rgb[i * 3 + 1]) << 8 | rgb[i * 3 + 2];
        wrong += got != c;
    }
    EXPECT_EQ(wrong, 0u);
}

}  // namespace
}  // namespace framlet
