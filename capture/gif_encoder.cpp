#include "capture/gif_encoder.h"

#include <algorithm>
#include <cstddef>

namespace framlet {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;  // 4096 codes

// Collects variable-width codes least significant bit first and packs them into data
// sub-blocks of at most 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<uint8_t>& out) : out_(out) {}

    void Put(int code, int bits) {
        buffer_ |= uint32_t(code) << count_;
        count_ += bits;
        while (count_ >= 8) {
            PutByte(uint8_t(buffer_ & 0xFF));
            buffer_ >>= 8;
            count_ -= 8;
        }
    }

    // Flushes the last partial byte and block, then writes the block terminator.
    void Finish() {
        if (count_ > 0) PutByte(uint8_t(buffer_ & 0xFF));
        buffer_ = 0;
        count_ = 0;
        FlushBlock();
        out_.push_back(0);
    }

private:
    void PutByte(uint8_t b) {
        block_[blockSize_++] = b;
        if (blockSize_ == 255) FlushBlock();
    }

    void FlushBlock() {
        if (blockSize_ == 0) return;
        out_.push_back(uint8_t(blockSize_));
        out_.insert(out_.end(), block_, block_ + blockSize_);
        blockSize_ = 0;
    }

    std::vector<uint8_t>& out_;
    uint32_t buffer_ = 0;
    int count_ = 0;
    uint8_t block_[255] = {};
    int blockSize_ = 0;
};

// String table of the compressor: (prefix code, next index) -> code. Open addressing over
// twice the code space; a generation number empties it in constant time on a clear code.
class StringTable {
public:
    StringTable() : keys_(kSlots, 0), codes_(kSlots, 0), generations_(kSlots, 0) {}

    void Clear() { ++generation_; }

    // The code of prefix + index, or -1; `slot` receives where to insert it.
    int Find(int prefix, int index, size_t& slot) const {
        const uint32_t key = uint32_t(prefix) << 8 | uint32_t(index);
        size_t i = size_t(uint32_t(key * 0x9E3779B1u) >> 19);  // 13 bits: kSlots
        while (generations_[i] == generation_) {
            if (keys_[i] == key) return codes_[i];
            i = (i + 1) & (kSlots - 1);
        }
        slot = i;
        return -1;
    }

    void Insert(size_t slot, int prefix, int index, int code) {
        keys_[slot] = uint32_t(prefix) << 8 | uint32_t(index);
        codes_[slot] = uint16_t(code);
        generations_[slot] = generation_;
    }

private:
    static constexpr size_t kSlots = 8192;
    std::vector<uint32_t> keys_;
    std::vector<uint16_t> codes_;
    std::vector<uint32_t> generations_;
    uint32_t generation_ = 1;
};

void PutLe16(std::vector<uint8_t>& out, int v) {
    out.push_back(uint8_t(v & 0xFF));
    out.push_back(uint8_t(v >> 8 & 0xFF));
}

void CompressIndices(const std::vector<uint8_t>& indices, int minCodeSize,
                     std::vector<uint8_t>& out) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    CodeWriter writer(out);
    StringTable table;
    int codeBits = minCodeSize + 1;
    int nextCode = endCode + 1;
    writer.Put(clearCode, codeBits);

    // After each code written, the decoder adds a string one code later than we do, so it
    // widens its codes when the code it would assign next no longer fits: do the same.
    auto emit = [&](int code) {
        writer.Put(code, codeBits);
        if (nextCode == (1 << codeBits) && codeBits < kMaxCodeBits) ++codeBits;
    };

    int prefix = indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const int index = indices[i];
        size_t slot = 0;
        const int code = table.Find(prefix, index, slot);
        if (code >= 0) {
            prefix = code;
            continue;
        }
        emit(prefix);
        if (nextCode < kTableSize) {
            table.Insert(slot, prefix, index, nextCode++);
        } else {
            writer.Put(clearCode, codeBits);
            table.Clear();
            codeBits = minCodeSize + 1;
            nextCode = endCode + 1;
        }
        prefix = index;
    }
    emit(prefix);
    writer.Put(endCode, codeBits);
    writer.Finish();
}

}  // namespace

std::vector<uint8_t> EncodeGif89a(const IndexedImage& image) {
    std::vector<uint8_t> out;
    if (image.width < 1 || image.height < 1 || image.width > kMaxGifSide ||
        image.height > kMaxGifSide)
        return out;
    if (image.palette.empty() || image.palette.size() > 256) return out;
    if (image.indices.size() != size_t(image.width) * size_t(image.height)) return out;
    const uint8_t largest = *std::max_element(image.indices.begin(), image.indices.end());
    if (largest >= image.palette.size()) return out;

    int tableBits = 1;
    while ((size_t(1) << tableBits) < image.palette.size()) ++tableBits;

    out = {'G', 'I', 'F', '8', '9', 'a'};
    // Logical screen: global colour table present, 8 bits per primary, unsorted.
    PutLe16(out, image.width);
    PutLe16(out, image.height);
    out.push_back(uint8_t(0x80 | 0x70 | (tableBits - 1)));
    out.push_back(0);  // background colour index
    out.push_back(0);  // no pixel aspect ratio
    for (size_t i = 0; i < (size_t(1) << tableBits); ++i) {
        const uint32_t c = i < image.palette.size() ? image.palette[i] : 0;
        out.push_back(uint8_t(c >> 16 & 0xFF));
        out.push_back(uint8_t(c >> 8 & 0xFF));
        out.push_back(uint8_t(c & 0xFF));
    }
    // Image descriptor: the whole screen, no local colour table, not interlaced.
    out.push_back(0x2C);
    PutLe16(out, 0);
    PutLe16(out, 0);
    PutLe16(out, image.width);
    PutLe16(out, image.height);
    out.push_back(0);

    const int minCodeSize = std::max(2, tableBits);
    out.push_back(uint8_t(minCodeSize));
    CompressIndices(image.indices, minCodeSize, out);
    out.push_back(0x3B);
    return out;
}

}  // namespace framlet
