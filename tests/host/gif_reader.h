#pragma once
// A strict reader for the GIF files the encoder writes, shared by its host test and
// its fuzz target.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace gif_reader {

// A strict reader for the files the encoder writes: one image, global colour table,
// LZW data checked code by code.
struct DecodedGif {
    std::string error;  // empty when the file read cleanly
    int width = 0, height = 0;
    int tableEntries = 0;
    std::vector<uint32_t> table;
    std::vector<uint8_t> indices;
    int minCodeSize = 0;
    int clearCodes = 0;    // clear codes after the first one
    int widestCode = 0;
    bool trailer = false;
};

class ByteReader {
public:
    explicit ByteReader(const std::vector<uint8_t>& data) : data_(data) {}
    bool Has(size_t n) const { return pos_ + n <= data_.size(); }
    int U8() { return data_[pos_++]; }
    int Le16() {
        const int v = data_[pos_] | data_[pos_ + 1] << 8;
        pos_ += 2;
        return v;
    }
    size_t pos() const { return pos_; }
    size_t size() const { return data_.size(); }

private:
    const std::vector<uint8_t>& data_;
    size_t pos_ = 0;
};

inline DecodedGif DecodeGif(const std::vector<uint8_t>& file) {
    DecodedGif gif;
    ByteReader in(file);
    if (!in.Has(13) || std::string(file.begin(), file.begin() + 6) != "GIF89a") {
        gif.error = "no GIF89a header";
        return gif;
    }
    for (int i = 0; i < 6; ++i) in.U8();
    gif.width = in.Le16();
    gif.height = in.Le16();
    const int packed = in.U8();
    in.U8();
    in.U8();
    if (!(packed & 0x80)) {
        gif.error = "no global colour table";
        return gif;
    }
    gif.tableEntries = 2 << (packed & 7);
    if (!in.Has(size_t(gif.tableEntries) * 3 + 10)) {
        gif.error = "short colour table";
        return gif;
    }
    for (int i = 0; i < gif.tableEntries; ++i) {
        const uint32_t r = uint32_t(in.U8()), g = uint32_t(in.U8()), b = uint32_t(in.U8());
        gif.table.push_back(r << 16 | g << 8 | b);
    }
    if (in.U8() != 0x2C) {
        gif.error = "no image descriptor";
        return gif;
    }
    if (in.Le16() != 0 || in.Le16() != 0 || in.Le16() != gif.width ||
        in.Le16() != gif.height || in.U8() != 0) {
        gif.error = "image descriptor differs from the screen";
        return gif;
    }
    gif.minCodeSize = in.U8();
    if (gif.minCodeSize < 2 || gif.minCodeSize > 8) {
        gif.error = "bad minimum code size";
        return gif;
    }
    std::vector<uint8_t> data;
    for (;;) {
        if (!in.Has(1)) {
            gif.error = "data blocks run past the end";
            return gif;
        }
        const int n = in.U8();
        if (n == 0) break;
        if (!in.Has(size_t(n))) {
            gif.error = "short data block";
            return gif;
        }
        for (int i = 0; i < n; ++i) data.push_back(uint8_t(in.U8()));
    }
    gif.trailer = in.Has(1) && in.U8() == 0x3B && in.pos() == in.size();

    const int clear = 1 << gif.minCodeSize, end = clear + 1;
    std::vector<int> prefix(4096, -1), suffix(4096, 0), length(4096, 1);
    for (int i = 0; i < clear; ++i) suffix[size_t(i)] = i;
    int codeBits = gif.minCodeSize + 1, next = end + 1, previous = -1;
    size_t bitPos = 0;
    bool sawClear = false, sawEnd = false;
    const size_t expected = size_t(gif.width) * size_t(gif.height);
    std::vector<uint8_t> string;
    while (bitPos + size_t(codeBits) <= data.size() * 8) {
        int code = 0;
        for (int b = 0; b < codeBits; ++b, ++bitPos)
            code |= (data[bitPos / 8] >> (bitPos % 8) & 1) << b;
        gif.widestCode = std::max(gif.widestCode, codeBits);
        if (code == clear) {
            if (sawClear) ++gif.clearCodes;
            sawClear = true;
            codeBits = gif.minCodeSize + 1;
            next = end + 1;
            previous = -1;
            continue;
        }
        if (!sawClear) {
            gif.error = "data does not start with a clear code";
            return gif;
        }
        if (code == end) {
            sawEnd = true;
            break;
        }
        if (code > next || (code == next && previous < 0) || next > 4096) {
            gif.error = "code " + std::to_string(code) + " not yet defined";
            return gif;
        }
        const int known = code < next ? code : previous;
        string.assign(size_t(length[size_t(known)]), 0);
        for (int c = known, i = length[size_t(known)] - 1; c >= 0; c = prefix[size_t(c)], --i)
            string[size_t(i)] = uint8_t(suffix[size_t(c)]);
        if (code == next) string.push_back(string[0]);
        if (previous >= 0 && next < 4096) {
            prefix[size_t(next)] = previous;
            suffix[size_t(next)] = string[0];
            length[size_t(next)] = length[size_t(previous)] + 1;
            ++next;
            if (next == (1 << codeBits) && codeBits < 12) ++codeBits;
        }
        previous = code;
        gif.indices.insert(gif.indices.end(), string.begin(), string.end());
        if (gif.indices.size() > expected) {
            gif.error = "more pixels than the image holds";
            return gif;
        }
    }
    if (!sawEnd) {
        gif.error = "no end code";
    } else if (gif.indices.size() != expected) {
        gif.error = "pixel count " + std::to_string(gif.indices.size()) + " instead of " +
                    std::to_string(expected);
    } else if ((data.size() * 8 - bitPos) >= 8) {
        gif.error = "bytes left after the end code";
    } else if (!gif.trailer) {
        gif.error = "no trailer at the end";
    }
    return gif;
}

}  // namespace gif_reader
