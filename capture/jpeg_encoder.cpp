#include "capture/jpeg_encoder.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <new>

namespace framlet {
namespace {

// Row-major index in the 8x8 block of each position of the zigzag scan.
constexpr uint8_t kZigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
};

// The same scan over coefficients stored transposed (see TransformBlock).
constexpr std::array<uint8_t, 64> TransposedZigzag() {
  std::array<uint8_t, 64> order{};
  for (int k = 0; k < 64; ++k) order[k] = static_cast<uint8_t>(kZigzag[k] % 8 * 8 + kZigzag[k] / 8);
  return order;
}
constexpr std::array<uint8_t, 64> kTransposedZigzag = TransposedZigzag();

// The usual tables of the JPEG standard, row-major; they are the quality-50 tables.
constexpr uint8_t kLumaQuant[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,   //
    12, 12, 14, 19, 26,  58,  60,  55,   //
    14, 13, 16, 24, 40,  57,  69,  56,   //
    14, 17, 22, 29, 51,  87,  80,  62,   //
    18, 22, 37, 56, 68,  109, 103, 77,   //
    24, 35, 55, 64, 81,  104, 113, 92,   //
    49, 64, 78, 87, 103, 121, 120, 101,  //
    72, 92, 95, 98, 112, 100, 103, 99,
};
constexpr uint8_t kChromaQuant[64] = {
    17, 18, 24, 47, 99, 99, 99, 99,  //
    18, 21, 26, 66, 99, 99, 99, 99,  //
    24, 26, 56, 99, 99, 99, 99, 99,  //
    47, 66, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99,
};

// The standard's typical Huffman tables: code counts per length 1..16, then the symbols.
constexpr uint8_t kDcLumaCounts[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
constexpr uint8_t kDcChromaCounts[16] = {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
constexpr uint8_t kDcSymbols[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

constexpr uint8_t kAcLumaCounts[16] = {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D};
constexpr uint8_t kAcLumaSymbols[162] = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71,
    0x14, 0x32, 0x81, 0x91, 0xA1, 0x08, 0x23, 0x42, 0xB1, 0xC1, 0x15, 0x52, 0xD1, 0xF0, 0x24, 0x33, 0x62, 0x72,
    0x82, 0x09, 0x0A, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x34, 0x35, 0x36, 0x37,
    0x38, 0x39, 0x3A, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59,
    0x5A, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0xA2, 0xA3,
    0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3,
    0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE1, 0xE2,
    0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA,
};

constexpr uint8_t kAcChromaCounts[16] = {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77};
constexpr uint8_t kAcChromaSymbols[162] = {
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13, 0x22,
    0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xA1, 0xB1, 0xC1, 0x09, 0x23, 0x33, 0x52, 0xF0, 0x15, 0x62, 0x72, 0xD1,
    0x0A, 0x16, 0x24, 0x34, 0xE1, 0x25, 0xF1, 0x17, 0x18, 0x19, 0x1A, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x35, 0x36,
    0x37, 0x38, 0x39, 0x3A, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58,
    0x59, 0x5A, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A,
    0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A,
    0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA,
    0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA,
    0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA,
};

constexpr int CountCodes(const uint8_t (&counts)[16]) {
  int total = 0;
  for (uint8_t c : counts) total += c;
  return total;
}
static_assert(CountCodes(kDcLumaCounts) == 12 && CountCodes(kDcChromaCounts) == 12, "DC tables hold 12 symbols");
static_assert(CountCodes(kAcLumaCounts) == 162 && CountCodes(kAcChromaCounts) == 162, "AC tables hold 162 symbols");

struct HuffmanTable {
  const uint8_t* counts;
  const uint8_t* symbols;
  int symbolCount;
};
constexpr HuffmanTable kDcLuma{kDcLumaCounts, kDcSymbols, 12};
constexpr HuffmanTable kAcLuma{kAcLumaCounts, kAcLumaSymbols, 162};
constexpr HuffmanTable kDcChroma{kDcChromaCounts, kDcSymbols, 12};
constexpr HuffmanTable kAcChroma{kAcChromaCounts, kAcChromaSymbols, 162};

// Code and length of each symbol, made the canonical way from the counts.
struct HuffmanCodes {
  uint16_t code[256] = {};
  uint8_t size[256] = {};
};

HuffmanCodes BuildCodes(const HuffmanTable& table) {
  HuffmanCodes codes;
  uint32_t code = 0;
  int k = 0;
  for (int length = 1; length <= 16; ++length) {
    for (int i = 0; i < table.counts[length - 1]; ++i, ++k, ++code) {
      codes.code[table.symbols[k]] = static_cast<uint16_t>(code);
      codes.size[table.symbols[k]] = static_cast<uint8_t>(length);
    }
    code <<= 1;
  }
  return codes;
}

// Number of bits of a magnitude up to 2047 (the largest a baseline coefficient or DC difference needs).
struct BitLengths {
  uint8_t of[2048];
  BitLengths() {
    of[0] = 0;
    for (int v = 1; v < 2048; ++v) of[v] = static_cast<uint8_t>(of[v / 2] + 1);
  }
};
const BitLengths& Lengths() {
  static const BitLengths lengths;
  return lengths;
}

// The standard table scaled for the quality the usual way: 5000/q percent
// below 50, 200-2q percent from 50, each entry rounded and kept in 1..255.
void ScaleTable(const uint8_t* base, int quality, uint8_t* table) {
  const int percent = quality < 50 ? 5000 / quality : 200 - 2 * quality;
  for (int i = 0; i < 64; ++i) table[i] = static_cast<uint8_t>(std::clamp((base[i] * percent + 50) / 100, 1, 255));
}

// The transform below leaves each coefficient multiplied by 8 and by a scale
// per row and column; the divisors fold those factors into the quantizer.
// Laid out transposed, as the transform leaves its coefficients.
void MakeDivisors(const uint8_t* table, float* divisors) {
  static constexpr double kScale[8] = {1.0, 1.387039845, 1.306562965, 1.175875602,
                                       1.0, 0.785694958, 0.541196100, 0.275899379};
  for (int row = 0; row < 8; ++row)
    for (int col = 0; col < 8; ++col)
      divisors[col * 8 + row] = static_cast<float>(1.0 / (table[row * 8 + col] * kScale[row] * kScale[col] * 8.0));
}

// The one-dimensional scaled forward DCT (the Arai, Agui and Nakajima
// factorisation: 5 multiplications) of each of the 8 columns of the block at
// once, in place: row u then holds coefficient u of every column. Written
// column-parallel so the compiler can use vector instructions.
inline void DctColumns(float* block) {
  for (int c = 0; c < 8; ++c) {
    float* const p = block + c;
    const float t0 = p[0] + p[56], t7 = p[0] - p[56];
    const float t1 = p[8] + p[48], t6 = p[8] - p[48];
    const float t2 = p[16] + p[40], t5 = p[16] - p[40];
    const float t3 = p[24] + p[32], t4 = p[24] - p[32];

    const float e10 = t0 + t3, e13 = t0 - t3;
    const float e11 = t1 + t2, e12 = t1 - t2;
    const float z1 = (e12 + e13) * 0.707106781f;

    const float o10 = t4 + t5, o11 = t5 + t6, o12 = t6 + t7;
    const float z5 = (o10 - o12) * 0.382683433f;
    const float z2 = 0.541196100f * o10 + z5;
    const float z4 = 1.306562965f * o12 + z5;
    const float z3 = o11 * 0.707106781f;
    const float z11 = t7 + z3, z13 = t7 - z3;

    p[0] = e10 + e11;
    p[32] = e10 - e11;
    p[16] = e13 + z1;
    p[48] = e13 - z1;
    p[40] = z13 + z2;
    p[24] = z13 - z2;
    p[8] = z11 + z4;
    p[56] = z11 - z4;
  }
}

inline void Transpose(float* block) {
  for (int r = 1; r < 8; ++r)
    for (int c = 0; c < r; ++c) std::swap(block[r * 8 + c], block[c * 8 + r]);
}

// Transforms a level-shifted block and quantizes it into zigzag order, each
// coefficient rounded to the nearest step. The two
// column passes around a transposition leave the coefficients transposed:
// vertical frequency u and horizontal frequency v at [v * 8 + u]; the
// divisors and the scan order below are laid out the same way.
void TransformBlock(float* block, const float* transposedDivisors, int16_t* zigzag) {
  DctColumns(block);
  Transpose(block);
  DctColumns(block);
  int32_t steps[64];
  // Rounds to the nearest step without a branch on the sign: the offset keeps
  // every value positive while it is truncated.
  for (int i = 0; i < 64; ++i) steps[i] = static_cast<int32_t>(block[i] * transposedDivisors[i] + 16384.5f) - 16384;
  // Coefficients of 8-bit samples lie within -1024..1023 (DC) and -1023..1023
  // (AC); the clamp only guards the very ends against rounding.
  zigzag[0] = static_cast<int16_t>(std::clamp(steps[0], -1024, 1023));
  for (int k = 1; k < 64; ++k) zigzag[k] = static_cast<int16_t>(std::clamp(steps[kTransposedZigzag[k]], -1023, 1023));
}

// Entropy-coded bits, most significant first, with a 0 byte stuffed after
// each 0xFF. Bytes go straight into the output, which Room() keeps large
// enough for one more block.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out), pos_(out.size()) {}

  void Room() {
    if (out_.size() - pos_ < kBlockBytes) out_.resize(std::max({out_.size() * 2, pos_ + kBlockBytes, size_t{65536}}));
  }

  // bits holds `count` (at most 32) significant bits.
  void Put(uint32_t bits, int count) {
    buffer_ = buffer_ << count | bits;
    used_ += count;
    if (used_ >= 32) {
      used_ -= 32;
      PutWord(static_cast<uint32_t>(buffer_ >> used_));
    }
  }

  // Pads the last byte with 1 bits and trims the output to what was written.
  void Finish() {
    Room();
    if (used_ % 8) Put((1u << (8 - used_ % 8)) - 1, 8 - used_ % 8);
    while (used_ > 0) {
      used_ -= 8;
      PutByte(static_cast<uint8_t>(buffer_ >> used_));
    }
    out_.resize(pos_);
  }

 private:
  // A block takes at most 63 codes of 26 bits and one of 22 (about 210 bytes),
  // twice that if every byte were 0xFF, and up to 7 bytes still in the buffer.
  static constexpr size_t kBlockBytes = 512;

  void PutByte(uint8_t byte) {
    out_[pos_++] = byte;
    if (byte == 0xFF) out_[pos_++] = 0;
  }

  void PutWord(uint32_t word) {
    const uint32_t inverted = ~word;
    if (((inverted - 0x01010101u) & ~inverted & 0x80808080u) == 0) {  // no byte is 0xFF
      out_[pos_] = static_cast<uint8_t>(word >> 24);
      out_[pos_ + 1] = static_cast<uint8_t>(word >> 16);
      out_[pos_ + 2] = static_cast<uint8_t>(word >> 8);
      out_[pos_ + 3] = static_cast<uint8_t>(word);
      pos_ += 4;
      return;
    }
    for (int shift = 24; shift >= 0; shift -= 8) PutByte(static_cast<uint8_t>(word >> shift));
  }

  std::vector<uint8_t>& out_;
  size_t pos_;
  uint64_t buffer_ = 0;
  int used_ = 0;
};

// A value in the form that follows its Huffman code: `length` low bits, one's
// complement for negative values.
inline uint32_t ValueBits(int value, int length) {
  return value >= 0 ? static_cast<uint32_t>(value) : static_cast<uint32_t>(value - 1) & ((1u << length) - 1);
}

void EncodeBlock(BitWriter& bits, const int16_t* zigzag, int& lastDc, const HuffmanCodes& dc, const HuffmanCodes& ac) {
  bits.Room();
  const uint8_t* lengths = Lengths().of;
  const int diff = zigzag[0] - lastDc;
  lastDc = zigzag[0];
  const int dcLength = lengths[diff < 0 ? -diff : diff];
  bits.Put(uint32_t(dc.code[dcLength]) << dcLength | ValueBits(diff, dcLength), dc.size[dcLength] + dcLength);

  int last = 63;
  while (last > 0 && zigzag[last] == 0) --last;
  int run = 0;
  for (int k = 1; k <= last; ++k) {
    const int v = zigzag[k];
    if (v == 0) {
      ++run;
      continue;
    }
    for (; run >= 16; run -= 16) bits.Put(ac.code[0xF0], ac.size[0xF0]);
    const int length = lengths[v < 0 ? -v : v];
    const int symbol = run << 4 | length;
    bits.Put(uint32_t(ac.code[symbol]) << length | ValueBits(v, length), ac.size[symbol] + length);
    run = 0;
  }
  if (last < 63) bits.Put(ac.code[0x00], ac.size[0x00]);  // end of block
}

void PutMarker(std::vector<uint8_t>& out, uint8_t marker, int length) {
  out.push_back(0xFF);
  out.push_back(marker);
  out.push_back(static_cast<uint8_t>(length >> 8));
  out.push_back(static_cast<uint8_t>(length));
}

void PutHeaders(std::vector<uint8_t>& out, int width, int height, bool subsampled, const uint8_t* lumaTable,
                const uint8_t* chromaTable) {
  out.push_back(0xFF);
  out.push_back(0xD8);  // start of image

  // JFIF 1.01, square pixels with no stated resolution, no thumbnail.
  PutMarker(out, 0xE0, 16);
  const uint8_t jfif[] = {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
  out.insert(out.end(), jfif, jfif + sizeof jfif);

  PutMarker(out, 0xDB, 2 + 2 * 65);
  for (int id = 0; id < 2; ++id) {
    const uint8_t* table = id == 0 ? lumaTable : chromaTable;
    out.push_back(static_cast<uint8_t>(id));  // 8-bit entries
    for (int k = 0; k < 64; ++k) out.push_back(table[kZigzag[k]]);
  }

  PutMarker(out, 0xC0, 17);
  out.push_back(8);
  out.push_back(static_cast<uint8_t>(height >> 8));
  out.push_back(static_cast<uint8_t>(height));
  out.push_back(static_cast<uint8_t>(width >> 8));
  out.push_back(static_cast<uint8_t>(width));
  out.push_back(3);
  const uint8_t components[] = {1, static_cast<uint8_t>(subsampled ? 0x22 : 0x11), 0, 2, 0x11, 1, 3, 0x11, 1};
  out.insert(out.end(), components, components + sizeof components);

  const HuffmanTable* tables[] = {&kDcLuma, &kAcLuma, &kDcChroma, &kAcChroma};
  const uint8_t classAndId[] = {0x00, 0x10, 0x01, 0x11};
  int length = 2;
  for (const HuffmanTable* table : tables) length += 17 + table->symbolCount;
  PutMarker(out, 0xC4, length);
  for (int i = 0; i < 4; ++i) {
    out.push_back(classAndId[i]);
    out.insert(out.end(), tables[i]->counts, tables[i]->counts + 16);
    out.insert(out.end(), tables[i]->symbols, tables[i]->symbols + tables[i]->symbolCount);
  }

  PutMarker(out, 0xDA, 12);
  const uint8_t scan[] = {3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0};
  out.insert(out.end(), scan, scan + sizeof scan);
}

// Copies the 8x8 block at (x, y) of a plane `stride` floats wide.
inline void LoadBlock(const float* plane, size_t stride, int x, int y, float* block) {
  const float* src = plane + static_cast<size_t>(y) * stride + x;
  for (int row = 0; row < 8; ++row, src += stride) std::copy(src, src + 8, block + row * 8);
}

std::vector<uint8_t> Encode(const uint8_t* pixels, int width, int height, size_t stride, int bytesPerPixel,
                            int quality) {
  const bool subsampled = quality < kJpegFullChromaQuality;
  const int mcuSide = subsampled ? 16 : 8;
  const int mcusAcross = (width + mcuSide - 1) / mcuSide;
  const size_t planeWidth = static_cast<size_t>(mcusAcross) * mcuSide;

  uint8_t lumaTable[64], chromaTable[64];
  ScaleTable(kLumaQuant, quality, lumaTable);
  ScaleTable(kChromaQuant, quality, chromaTable);
  float lumaDivisors[64], chromaDivisors[64];
  MakeDivisors(lumaTable, lumaDivisors);
  MakeDivisors(chromaTable, chromaDivisors);
  const HuffmanCodes dcLuma = BuildCodes(kDcLuma), acLuma = BuildCodes(kAcLuma);
  const HuffmanCodes dcChroma = BuildCodes(kDcChroma), acChroma = BuildCodes(kAcChroma);

  std::vector<uint8_t> out;
  PutHeaders(out, width, height, subsampled, lumaTable, chromaTable);

  // One row of MCUs at a time, colours converted to level-shifted Y, Cb, Cr;
  // the right and bottom edges are filled by repeating the last column and row.
  const size_t planeSize = planeWidth * mcuSide;
  std::vector<float> luma(planeSize), blue(planeSize), red(planeSize);
  const size_t halfWidth = planeWidth / 2;
  std::vector<float> halfBlue(subsampled ? halfWidth * 8 : 0), halfRed(subsampled ? halfWidth * 8 : 0);

  BitWriter bits(out);
  int dcY = 0, dcCb = 0, dcCr = 0;
  alignas(16) float block[64];
  int16_t zigzag[64];
  for (int top = 0; top < height; top += mcuSide) {
    for (int r = 0; r < mcuSide; ++r) {
      float* y = luma.data() + r * planeWidth;
      float* cb = blue.data() + r * planeWidth;
      float* cr = red.data() + r * planeWidth;
      if (top + r >= height) {
        std::copy(y - planeWidth, y, y);
        std::copy(cb - planeWidth, cb, cb);
        std::copy(cr - planeWidth, cr, cr);
        continue;
      }
      const uint8_t* src = pixels + static_cast<size_t>(top + r) * stride;
      for (int x = 0; x < width; ++x, src += bytesPerPixel) {
        const float b = src[0], g = src[1], rd = src[2];
        y[x] = 0.299f * rd + 0.587f * g + 0.114f * b - 128.0f;
        cb[x] = -0.168735892f * rd - 0.331264108f * g + 0.5f * b;
        cr[x] = 0.5f * rd - 0.418687589f * g - 0.081312411f * b;
      }
      std::fill(y + width, y + planeWidth, y[width - 1]);
      std::fill(cb + width, cb + planeWidth, cb[width - 1]);
      std::fill(cr + width, cr + planeWidth, cr[width - 1]);
    }

    if (!subsampled) {
      for (int mx = 0; mx < mcusAcross; ++mx) {
        LoadBlock(luma.data(), planeWidth, mx * 8, 0, block);
        TransformBlock(block, lumaDivisors, zigzag);
        EncodeBlock(bits, zigzag, dcY, dcLuma, acLuma);
        LoadBlock(blue.data(), planeWidth, mx * 8, 0, block);
        TransformBlock(block, chromaDivisors, zigzag);
        EncodeBlock(bits, zigzag, dcCb, dcChroma, acChroma);
        LoadBlock(red.data(), planeWidth, mx * 8, 0, block);
        TransformBlock(block, chromaDivisors, zigzag);
        EncodeBlock(bits, zigzag, dcCr, dcChroma, acChroma);
      }
      continue;
    }

    // Each colour sample of 4:2:0 is the mean of its 2x2 pixels.
    for (int r = 0; r < 8; ++r) {
      const float* cb0 = blue.data() + 2 * r * planeWidth;
      const float* cr0 = red.data() + 2 * r * planeWidth;
      float* hb = halfBlue.data() + r * halfWidth;
      float* hr = halfRed.data() + r * halfWidth;
      for (size_t x = 0; x < halfWidth; ++x) {
        hb[x] = 0.25f * (cb0[2 * x] + cb0[2 * x + 1] + cb0[planeWidth + 2 * x] + cb0[planeWidth + 2 * x + 1]);
        hr[x] = 0.25f * (cr0[2 * x] + cr0[2 * x + 1] + cr0[planeWidth + 2 * x] + cr0[planeWidth + 2 * x + 1]);
      }
    }
    for (int mx = 0; mx < mcusAcross; ++mx) {
      for (int part = 0; part < 4; ++part) {
        LoadBlock(luma.data(), planeWidth, mx * 16 + (part & 1) * 8, (part >> 1) * 8, block);
        TransformBlock(block, lumaDivisors, zigzag);
        EncodeBlock(bits, zigzag, dcY, dcLuma, acLuma);
      }
      LoadBlock(halfBlue.data(), halfWidth, mx * 8, 0, block);
      TransformBlock(block, chromaDivisors, zigzag);
      EncodeBlock(bits, zigzag, dcCb, dcChroma, acChroma);
      LoadBlock(halfRed.data(), halfWidth, mx * 8, 0, block);
      TransformBlock(block, chromaDivisors, zigzag);
      EncodeBlock(bits, zigzag, dcCr, dcChroma, acChroma);
    }
  }
  bits.Finish();
  out.push_back(0xFF);
  out.push_back(0xD9);  // end of image
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(const uint8_t* pixels, int width, int height, int stride, int bytesPerPixel,
                                int quality) {
  if (!pixels || width < 1 || height < 1 || width > kMaxJpegSide || height > kMaxJpegSide) return {};
  if (bytesPerPixel != 3 && bytesPerPixel != 4) return {};
  if (stride < width * bytesPerPixel) return {};
  try {
    return Encode(pixels, width, height, static_cast<size_t>(stride), bytesPerPixel, std::clamp(quality, 1, 100));
  } catch (const std::bad_alloc&) {
    return {};
  }
}

}  // namespace framlet
