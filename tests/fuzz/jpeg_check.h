#pragma once
// A strict reader of baseline JFIF files, enough to prove a file decodes to
// its size: the markers in order, the frame's size and sampling, the Huffman
// tables, and the scan walked block by block, every code valid, to exactly
// the number of blocks the size needs, then the end marker.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace jpeg_check {

struct Result {
  std::string error;  // empty when the file read cleanly
  int width = 0, height = 0;
  int components = 0;
  int maxH = 1, maxV = 1;
  long long blocks = 0;
};

namespace detail {

struct Huffman {
  bool present = false;
  // code length -> (first code, first index); values in order.
  int minCode[17] = {}, maxCode[17] = {}, firstIndex[17] = {};
  std::vector<uint8_t> values;
};

class Bits {
 public:
  Bits(const std::vector<uint8_t>& data, size_t at) : data_(data), at_(at) {}
  // One bit of the entropy-coded data; false at a marker or the end.
  bool Bit(int& out) {
    if (count_ == 0) {
      if (at_ >= data_.size()) return false;
      uint8_t byte = data_[at_];
      if (byte == 0xFF) {
        if (at_ + 1 >= data_.size() || data_[at_ + 1] != 0x00) return false;
        at_ += 2;
      } else {
        ++at_;
      }
      current_ = byte;
      count_ = 8;
    }
    --count_;
    out = current_ >> count_ & 1;
    return true;
  }
  bool Take(int n, int& out) {
    out = 0;
    for (int i = 0; i < n; ++i) {
      int b = 0;
      if (!Bit(b)) return false;
      out = out << 1 | b;
    }
    return true;
  }
  // The bits left in the last byte must all be ones (the padding).
  bool PaddingOnes() const { return count_ == 0 || (current_ & ((1 << count_) - 1)) == (1 << count_) - 1; }
  size_t At() const { return at_; }

 private:
  const std::vector<uint8_t>& data_;
  size_t at_;
  uint8_t current_ = 0;
  int count_ = 0;
};

inline bool Decode(Bits& bits, const Huffman& table, int& value) {
  int code = 0;
  for (int length = 1; length <= 16; ++length) {
    int b = 0;
    if (!bits.Bit(b)) return false;
    code = code << 1 | b;
    if (table.maxCode[length] >= 0 && code <= table.maxCode[length] && code >= table.minCode[length]) {
      value = table.values[size_t(table.firstIndex[length] + code - table.minCode[length])];
      return true;
    }
  }
  return false;
}

}  // namespace detail

inline Result Check(const std::vector<uint8_t>& f) {
  using namespace detail;
  Result r;
  auto fail = [&](const std::string& why) {
    r.error = why;
    return r;
  };
  if (f.size() < 4 || f[0] != 0xFF || f[1] != 0xD8) return fail("no start marker");
  Huffman dc[4], ac[4];
  bool quant[4] = {};
  struct Component {
    int id, h, v, q, dcTable = 0, acTable = 0;
  };
  std::vector<Component> comps;
  size_t at = 2;
  for (;;) {
    if (at + 4 > f.size() || f[at] != 0xFF) return fail("no marker at " + std::to_string(at));
    const int marker = f[at + 1];
    const size_t length = size_t(f[at + 2]) << 8 | f[at + 3];
    if (length < 2 || at + 2 + length > f.size()) return fail("segment runs past the end");
    const uint8_t* s = f.data() + at + 4;
    const size_t n = length - 2;
    at += 2 + length;
    if (marker == 0xDB) {
      for (size_t i = 0; i < n; i += 65) {
        if (i + 65 > n || (s[i] >> 4) != 0 || (s[i] & 15) > 3) return fail("bad quantisation table");
        for (int k = 1; k <= 64; ++k)
          if (s[i + k] == 0) return fail("a zero quantiser");
        quant[s[i] & 15] = true;
      }
    } else if (marker == 0xC0) {
      if (n < 6 || s[0] != 8) return fail("bad frame header");
      r.height = s[1] << 8 | s[2];
      r.width = s[3] << 8 | s[4];
      r.components = s[5];
      if ((r.components != 1 && r.components != 3) || n != size_t(6 + 3 * r.components)) return fail("bad components");
      for (int c = 0; c < r.components; ++c) {
        Component comp{s[6 + 3 * c], s[7 + 3 * c] >> 4, s[7 + 3 * c] & 15, s[8 + 3 * c]};
        if (comp.h < 1 || comp.h > 2 || comp.v < 1 || comp.v > 2 || comp.q > 3 || !quant[comp.q])
          return fail("bad sampling or table");
        r.maxH = std::max(r.maxH, comp.h);
        r.maxV = std::max(r.maxV, comp.v);
        comps.push_back(comp);
      }
      if (r.width == 0 || r.height == 0) return fail("no size");
    } else if (marker == 0xC4) {
      size_t i = 0;
      while (i < n) {
        if (i + 17 > n) return fail("short Huffman table");
        const int cls = s[i] >> 4, slot = s[i] & 15;
        if (cls > 1 || slot > 3) return fail("bad Huffman table id");
        Huffman& t = cls == 0 ? dc[slot] : ac[slot];
        t = Huffman();
        t.present = true;
        int code = 0, index = 0, total = 0;
        for (int len = 1; len <= 16; ++len) total += s[i + len];
        if (i + 17 + size_t(total) > n || total > 256) return fail("Huffman values run past the table");
        for (int len = 1; len <= 16; ++len) {
          const int count = s[i + len];
          t.firstIndex[len] = index;
          t.minCode[len] = code;
          t.maxCode[len] = count ? code + count - 1 : -1;
          code += count;
          index += count;
          if (code > (1 << len)) return fail("Huffman code lengths overflow");
          code <<= 1;
        }
        t.values.assign(s + i + 17, s + i + 17 + total);
        i += 17 + size_t(total);
      }
    } else if (marker == 0xDA) {
      if (comps.empty() || n != size_t(4 + 2 * r.components) || s[0] != r.components) return fail("bad scan header");
      for (int c = 0; c < r.components; ++c) {
        if (s[1 + 2 * c] != comps[size_t(c)].id) return fail("scan names another component");
        comps[size_t(c)].dcTable = s[2 + 2 * c] >> 4;
        comps[size_t(c)].acTable = s[2 + 2 * c] & 15;
        if (comps[size_t(c)].dcTable > 3 || comps[size_t(c)].acTable > 3 || !dc[comps[size_t(c)].dcTable].present ||
            !ac[comps[size_t(c)].acTable].present)
          return fail("scan uses a missing Huffman table");
      }
      const uint8_t* tail = s + 1 + 2 * r.components;
      if (tail[0] != 0 || tail[1] != 63 || tail[2] != 0) return fail("not a baseline scan");
      break;
    } else if (marker == 0xE0 || (marker >= 0xE1 && marker <= 0xEF) || marker == 0xFE) {
      // application data and comments
    } else {
      return fail("unexpected marker " + std::to_string(marker));
    }
  }
  const long long mcusX = (r.width + 8 * r.maxH - 1) / (8 * r.maxH);
  const long long mcusY = (r.height + 8 * r.maxV - 1) / (8 * r.maxV);
  Bits bits(f, at);
  for (long long m = 0; m < mcusX * mcusY; ++m) {
    for (const Component& comp : comps) {
      for (int b = 0; b < comp.h * comp.v; ++b) {
        int category = 0, extra = 0;
        if (!Decode(bits, dc[comp.dcTable], category) || category > 11 || !bits.Take(category, extra))
          return fail("bad DC code in block " + std::to_string(r.blocks));
        for (int k = 1; k < 64;) {
          int rs = 0;
          if (!Decode(bits, ac[comp.acTable], rs)) return fail("bad AC code in block " + std::to_string(r.blocks));
          const int run = rs >> 4, sz = rs & 15;
          if (sz == 0) {
            if (run == 15) {
              k += 16;
              continue;
            }
            if (run != 0) return fail("bad AC symbol");
            break;
          }
          k += run;
          if (k > 63 || sz > 10 || !bits.Take(sz, extra)) return fail("AC run past the block");
          ++k;
        }
        ++r.blocks;
      }
    }
  }
  if (!bits.PaddingOnes()) return fail("padding is not ones");
  if (bits.At() + 2 != f.size() || f[bits.At()] != 0xFF || f[bits.At() + 1] != 0xD9)
    return fail("the scan does not end at the end marker");
  return r;
}

}  // namespace jpeg_check
