#include "capture/quantize.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <limits>

namespace framlet {
namespace {

constexpr uint32_t kNoColor = 0xFFFFFFFFu;  // never a 24-bit colour
constexpr int kMaxColors = 256;
// Distinct colours counted one by one; a picture with more is summarised by a histogram.
constexpr size_t kMaxExactColors = size_t(1) << 17;
// Colours of flat pixels kept exact beside that histogram, so that window backgrounds and
// other solid areas keep their own colour.
constexpr size_t kMaxFlatColors = size_t(1) << 16;
constexpr int kKMeansPasses = 6;
// A cluster whose heaviest exact colour carries at least this share of its pixels gets that
// colour instead of the cluster's mean, so the solid area stays exact (and undithered).
constexpr double kSnapShare = 0.5;
// Error diffusion: the share of the error passed on (in sixteenths) and its cap per channel,
// which keeps the noise down and stops errors from streaking across smooth areas.
constexpr int kDiffusion = 14;
constexpr int kMaxCarriedError = 40;

inline int Red(uint32_t c) { return int(c >> 16) & 0xFF; }
inline int Green(uint32_t c) { return int(c >> 8) & 0xFF; }
inline int Blue(uint32_t c) { return int(c) & 0xFF; }
inline uint32_t Rgb(int r, int g, int b) {
    return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}
inline int ClampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
// Sixteenths to whole levels, rounding halves away from zero.
inline int FromSixteenths(int v) { return v >= 0 ? (v + 8) / 16 : -((8 - v) / 16); }
inline int RoundByte(double v) {
    return v <= 0.0 ? 0 : (v >= 255.0 ? 255 : int(v + 0.5));
}

class PixelRows {
public:
    PixelRows(const uint8_t* pixels, int width, int stride, int bytesPerPixel)
        : pixels_(pixels), width_(width), stride_(stride), bytesPerPixel_(bytesPerPixel) {}

    // Row y as 0xRRGGBB values.
    void Read(int y, uint32_t* out) const {
        const uint8_t* p = pixels_ + ptrdiff_t(y) * stride_;
        if (bytesPerPixel_ == 4) {
            for (int x = 0; x < width_; ++x, p += 4) out[x] = Rgb(p[2], p[1], p[0]);
        } else {
            for (int x = 0; x < width_; ++x, p += 3) out[x] = Rgb(p[2], p[1], p[0]);
        }
    }

private:
    const uint8_t* pixels_;
    int width_;
    ptrdiff_t stride_;
    int bytesPerPixel_;
};

// Open-addressed map from a 24-bit colour to a 32-bit value that grows up to a fixed
// number of colours.
class ColorTable {
public:
    explicit ColorTable(size_t maxColors) : maxColors_(maxColors) { Resize(10); }

    size_t size() const { return size_; }

    // The value of c, inserted as 0 when new; null when c is new and the table is full.
    // The pointer stays valid until the next call.
    uint32_t* Slot(uint32_t c) {
        for (;;) {
            size_t i = Hash(c);
            while (keys_[i] != kNoColor) {
                if (keys_[i] == c) return &values_[i];
                i = (i + 1) & mask_;
            }
            if (size_ >= maxColors_) return nullptr;
            if ((size_ + 1) * 2 <= keys_.size()) {
                keys_[i] = c;
                values_[i] = 0;
                ++size_;
                return &values_[i];
            }
            Resize(bits_ + 1);
        }
    }

    const uint32_t* Find(uint32_t c) const {
        size_t i = Hash(c);
        while (keys_[i] != kNoColor) {
            if (keys_[i] == c) return &values_[i];
            i = (i + 1) & mask_;
        }
        return nullptr;
    }

    template <class F>
    void ForEach(F f) {
        for (size_t i = 0; i < keys_.size(); ++i)
            if (keys_[i] != kNoColor) f(keys_[i], values_[i]);
    }

private:
    size_t Hash(uint32_t c) const {
        return size_t((uint64_t(c) * 0x9E3779B97F4A7C15ull) >> (64 - bits_));
    }

    void Resize(int bits) {
        std::vector<uint32_t> oldKeys(size_t(1) << bits, kNoColor);
        std::vector<uint32_t> oldValues(size_t(1) << bits, 0);
        oldKeys.swap(keys_);
        oldValues.swap(values_);
        bits_ = bits;
        mask_ = keys_.size() - 1;
        for (size_t j = 0; j < oldKeys.size(); ++j) {
            if (oldKeys[j] == kNoColor) continue;
            size_t i = Hash(oldKeys[j]);
            while (keys_[i] != kNoColor) i = (i + 1) & mask_;
            keys_[i] = oldKeys[j];
            values_[i] = oldValues[j];
        }
    }

    size_t maxColors_;
    size_t size_ = 0;
    int bits_ = 0;
    size_t mask_ = 0;
    std::vector<uint32_t> keys_;
    std::vector<uint32_t> values_;
};

// A colour to fit the palette to: an exact pixel colour or the mean of a histogram cell,
// weighted by its pixel count.
struct Point {
    float r, g, b, w;
    uint32_t exact;  // the colour when the point is one exact colour, else kNoColor
};

struct Rgbd {
    double r, g, b;
};

// Counts the distinct colours; false when there are more than the table holds.
bool CountExactColors(const PixelRows& rows, int width, int height, ColorTable& table,
                      std::vector<uint32_t>& row) {
    for (int y = 0; y < height; ++y) {
        rows.Read(y, row.data());
        uint32_t last = kNoColor;
        uint32_t* count = nullptr;
        for (int x = 0; x < width; ++x) {
            const uint32_t c = row[x];
            if (c != last) {
                count = table.Slot(c);
                if (!count) return false;
                last = c;
            }
            ++*count;
        }
    }
    return true;
}

std::vector<Point> ExactPoints(ColorTable& table) {
    std::vector<Point> points;
    points.reserve(table.size());
    table.ForEach([&](uint32_t c, uint32_t n) {
        points.push_back({float(Red(c)), float(Green(c)), float(Blue(c)), float(n), c});
    });
    return points;
}

// Summarises a picture of many colours: pixels that continue a solid area (equal to the
// pixels left of and above them) by their exact colour while there is room, all others by a
// histogram of 64 levels per channel that keeps each cell's mean.
std::vector<Point> HistogramPoints(const PixelRows& rows, int width, int height,
                                   std::vector<uint32_t>& row) {
    struct Cell {
        uint32_t n, r, g, b;  // pixel count and sums of the two bits below the cell's level
    };
    std::vector<Cell> cells(size_t(1) << 18, Cell{0, 0, 0, 0});
    ColorTable flat(kMaxFlatColors);
    std::vector<uint32_t> above(size_t(width), kNoColor);
    for (int y = 0; y < height; ++y) {
        rows.Read(y, row.data());
        uint32_t left = kNoColor;
        for (int x = 0; x < width; ++x) {
            const uint32_t c = row[x];
            if (c == left && c == above[x]) {
                if (uint32_t* n = flat.Slot(c)) {
                    ++*n;
                    continue;
                }
            }
            left = c;
            Cell& cell = cells[(c >> 6 & 0x3F000) | (c >> 4 & 0xFC0) | (c >> 2 & 0x3F)];
            ++cell.n;
            cell.r += c >> 16 & 3;
            cell.g += c >> 8 & 3;
            cell.b += c & 3;
        }
        row.swap(above);
    }
    std::vector<Point> points = ExactPoints(flat);
    for (size_t i = 0; i < cells.size(); ++i) {
        const Cell& cell = cells[i];
        if (cell.n == 0) continue;
        const float n = float(cell.n);
        points.push_back({float(i >> 12 << 2) + float(cell.r) / n,
                          float((i >> 6 & 0x3F) << 2) + float(cell.g) / n,
                          float((i & 0x3F) << 2) + float(cell.b) / n, n, kNoColor});
    }
    return points;
}

// Splits the points into up to maxColors boxes, each time cutting the box of the largest
// squared error where the two halves' summed squared errors are least (Wu's criterion,
// applied to the points themselves at full precision rather than to a coarse grid). Returns
// the boxes' means. Reorders the points.
std::vector<Rgbd> SplitBoxes(std::vector<Point>& points, int maxColors) {
    struct Sums {
        double w = 0, r = 0, g = 0, b = 0, m2 = 0;
        void Add(const Sums& o) { w += o.w, r += o.r, g += o.g, b += o.b, m2 += o.m2; }
        void Add(const Point& p) {
            w += p.w, r += double(p.w) * p.r, g += double(p.w) * p.g, b += double(p.w) * p.b;
            m2 += double(p.w) * (double(p.r) * p.r + double(p.g) * p.g + double(p.b) * p.b);
        }
        double Between() const { return w > 0 ? (r * r + g * g + b * b) / w : 0.0; }
        double Error() const { return m2 - Between(); }
    };
    struct Box {
        size_t begin, end;
        Sums sums;
        double error;
    };
    auto level = [](const Point& p, int axis) {
        const float v = axis == 0 ? p.r : (axis == 1 ? p.g : p.b);
        return std::min(255, int(v));
    };

    Sums whole;
    for (const Point& p : points) whole.Add(p);
    std::vector<Box> boxes{Box{0, points.size(), whole, whole.Error()}};
    std::vector<std::array<Sums, 256>> bins(3);
    while (int(boxes.size()) < maxColors) {
        Box* worst = &boxes[0];
        for (Box& box : boxes)
            if (box.error > worst->error) worst = &box;
        if (!(worst->error > 1e-6)) break;

        for (auto& axisBins : bins) axisBins.fill(Sums{});
        for (size_t i = worst->begin; i < worst->end; ++i)
            for (int axis = 0; axis < 3; ++axis) bins[size_t(axis)][size_t(level(points[i], axis))].Add(points[i]);
        double best = -1.0;
        int bestAxis = -1, bestCut = 0;
        Sums bestLower;
        for (int axis = 0; axis < 3; ++axis) {
            Sums lower;
            for (int cut = 0; cut < 255; ++cut) {
                lower.Add(bins[size_t(axis)][size_t(cut)]);
                if (lower.w <= 0 || lower.w >= worst->sums.w) continue;
                Sums upper = worst->sums;
                upper.w -= lower.w, upper.r -= lower.r, upper.g -= lower.g, upper.b -= lower.b;
                upper.m2 -= lower.m2;
                const double score = lower.Between() + upper.Between();
                if (score > best) {
                    best = score;
                    bestAxis = axis;
                    bestCut = cut;
                    bestLower = lower;
                }
            }
        }
        if (bestAxis < 0) {
            worst->error = 0.0;
            continue;
        }
        const size_t middle = size_t(
            std::partition(points.begin() + ptrdiff_t(worst->begin),
                           points.begin() + ptrdiff_t(worst->end),
                           [&](const Point& p) { return level(p, bestAxis) <= bestCut; }) -
            points.begin());
        Sums upper = worst->sums;
        upper.w -= bestLower.w, upper.r -= bestLower.r, upper.g -= bestLower.g;
        upper.b -= bestLower.b, upper.m2 -= bestLower.m2;
        const Box high{middle, worst->end, upper, upper.Error()};
        *worst = Box{worst->begin, middle, bestLower, bestLower.Error()};
        boxes.push_back(high);
    }
    std::vector<Rgbd> means;
    for (const Box& box : boxes)
        if (box.sums.w > 0)
            means.push_back({box.sums.r / box.sums.w, box.sums.g / box.sums.w,
                             box.sums.b / box.sums.w});
    return means;
}

// Nearest-centroid search over centroids sorted along their principal axis: the distance
// along the axis bounds the full distance, so the scan stops early.
class AxisSearch {
public:
    explicit AxisSearch(const std::vector<Rgbd>& centroids) {
        ChooseAxis(centroids);
        sorted_.reserve(centroids.size());
        for (size_t i = 0; i < centroids.size(); ++i) {
            const Rgbd& c = centroids[i];
            sorted_.push_back({Project(float(c.r), float(c.g), float(c.b)), float(c.r),
                               float(c.g), float(c.b), int(i)});
        }
        std::sort(sorted_.begin(), sorted_.end(),
                  [](const Entry& a, const Entry& b) { return a.s < b.s; });
    }

    int Nearest(float r, float g, float b, float* distance) const {
        const float s = Project(r, g, b);
        size_t up = size_t(std::lower_bound(sorted_.begin(), sorted_.end(), s,
                                            [](const Entry& e, float v) { return e.s < v; }) -
                           sorted_.begin());
        size_t down = up;
        float best = std::numeric_limits<float>::max();
        int bestIndex = 0;
        bool goUp = up < sorted_.size(), goDown = down > 0;
        auto consider = [&](const Entry& e) {
            const float dr = e.r - r, dg = e.g - g, db = e.b - b;
            const float d = dr * dr + dg * dg + db * db;
            if (d < best) {
                best = d;
                bestIndex = e.index;
            }
        };
        while (goUp || goDown) {
            if (goUp) {
                const Entry& e = sorted_[up];
                const float ds = e.s - s;
                if (ds * ds >= best) {
                    goUp = false;
                } else {
                    consider(e);
                    goUp = ++up < sorted_.size();
                }
            }
            if (goDown) {
                const Entry& e = sorted_[down - 1];
                const float ds = s - e.s;
                if (ds * ds >= best) {
                    goDown = false;
                } else {
                    consider(e);
                    goDown = --down > 0;
                }
            }
        }
        *distance = best;
        return bestIndex;
    }

private:
    struct Entry {
        float s, r, g, b;
        int index;
    };

    float Project(float r, float g, float b) const { return ux_ * r + uy_ * g + uz_ * b; }

    void ChooseAxis(const std::vector<Rgbd>& cs) {
        double mr = 0, mg = 0, mb = 0;
        for (const Rgbd& c : cs) mr += c.r, mg += c.g, mb += c.b;
        const double n = double(std::max<size_t>(1, cs.size()));
        mr /= n, mg /= n, mb /= n;
        double cov[3][3] = {};
        for (const Rgbd& c : cs) {
            const double d[3] = {c.r - mr, c.g - mg, c.b - mb};
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) cov[i][j] += d[i] * d[j];
        }
        double v[3] = {1.0, 1.0, 1.0};
        for (int step = 0; step < 16; ++step) {
            double next[3];
            for (int i = 0; i < 3; ++i)
                next[i] = cov[i][0] * v[0] + cov[i][1] * v[1] + cov[i][2] * v[2];
            const double len = std::sqrt(next[0] * next[0] + next[1] * next[1] + next[2] * next[2]);
            if (!(len > 1e-9)) break;
            for (int i = 0; i < 3; ++i) v[i] = next[i] / len;
        }
        const double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        ux_ = float(v[0] / len), uy_ = float(v[1] / len), uz_ = float(v[2] / len);
    }

    float ux_ = 0, uy_ = 0, uz_ = 0;
    std::vector<Entry> sorted_;
};

// Fits up to kMaxColors colours to the weighted points: a variance split for a start, then
// k-means passes, seeding colours left unused where the error is largest.
std::vector<uint32_t> FitPalette(std::vector<Point>& points) {
    std::vector<Rgbd> centroids = SplitBoxes(points, kMaxColors);

    struct Cluster {
        double w, r, g, b;
        double heaviestWeight;
        uint32_t heaviest;
    };
    std::vector<Cluster> clusters;
    std::vector<float> error(points.size());
    for (int pass = 0; pass < kKMeansPasses; ++pass) {
        const AxisSearch search(centroids);
        clusters.assign(centroids.size(), Cluster{0, 0, 0, 0, 0, kNoColor});
        for (size_t i = 0; i < points.size(); ++i) {
            const Point& p = points[i];
            float d = 0.0f;
            Cluster& c = clusters[size_t(search.Nearest(p.r, p.g, p.b, &d))];
            c.w += p.w;
            c.r += double(p.w) * p.r;
            c.g += double(p.w) * p.g;
            c.b += double(p.w) * p.b;
            if (p.exact != kNoColor && p.w > c.heaviestWeight) {
                c.heaviestWeight = p.w;
                c.heaviest = p.exact;
            }
            error[i] = d * p.w;
        }
        double moved = 0.0;
        std::vector<Rgbd> next;
        std::vector<Cluster> kept;
        for (size_t j = 0; j < clusters.size(); ++j) {
            const Cluster& c = clusters[j];
            if (c.w <= 0.0) continue;
            const Rgbd m{c.r / c.w, c.g / c.w, c.b / c.w};
            moved = std::max(moved, std::fabs(m.r - centroids[j].r) +
                                        std::fabs(m.g - centroids[j].g) +
                                        std::fabs(m.b - centroids[j].b));
            next.push_back(m);
            kept.push_back(c);
        }
        centroids.swap(next);
        clusters.swap(kept);
        if (pass + 1 == kKMeansPasses) break;

        // Seed the unused colours at the points that are served worst.
        size_t seeds = size_t(kMaxColors) - centroids.size();
        std::vector<size_t> order;
        for (size_t i = 0; i < points.size(); ++i)
            if (error[i] > 0.0f) order.push_back(i);
        seeds = std::min(seeds, order.size());
        if (seeds > 0) {
            std::nth_element(order.begin(), order.begin() + ptrdiff_t(seeds - 1), order.end(),
                             [&](size_t a, size_t b) { return error[a] > error[b]; });
            for (size_t k = 0; k < seeds; ++k) {
                const Point& p = points[order[k]];
                centroids.push_back({p.r, p.g, p.b});
            }
        } else if (moved < 0.05) {
            break;
        }
    }

    std::vector<uint32_t> palette;
    for (size_t j = 0; j < centroids.size(); ++j) {
        const Cluster& c = clusters[j];
        uint32_t color = Rgb(RoundByte(centroids[j].r), RoundByte(centroids[j].g),
                             RoundByte(centroids[j].b));
        if (c.heaviest != kNoColor && c.heaviestWeight >= kSnapShare * c.w) color = c.heaviest;
        palette.push_back(color);
    }
    std::sort(palette.begin(), palette.end());
    palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
    return palette;
}

// Nearest palette entry for any colour. The colour cube is cut into cells of 8 levels per
// channel; each cell, when first used, gets the short list of entries that can be nearest
// to some colour inside it.
class PaletteMap {
public:
    explicit PaletteMap(const std::vector<uint32_t>& palette)
        : cellStart_(size_t(1) << 15, -1), cellCount_(size_t(1) << 15, 0) {
        exactKeys_.fill(kNoColor);
        for (size_t i = 0; i < palette.size(); ++i) {
            const uint32_t c = palette[i];
            r_.push_back(Red(c));
            g_.push_back(Green(c));
            b_.push_back(Blue(c));
            size_t slot = ExactHash(c);
            while (exactKeys_[slot] != kNoColor) slot = (slot + 1) & (kExactSlots - 1);
            exactKeys_[slot] = c;
            exactIndex_[slot] = uint8_t(i);
        }
    }

    // Index of the entry equal to c, or -1.
    int Exact(uint32_t c) const {
        size_t slot = ExactHash(c);
        while (exactKeys_[slot] != kNoColor) {
            if (exactKeys_[slot] == c) return exactIndex_[slot];
            slot = (slot + 1) & (kExactSlots - 1);
        }
        return -1;
    }

    // Nearest entry by squared distance; ties go to the lower index. r, g, b in 0..255.
    int Nearest(int r, int g, int b) {
        const size_t cell = size_t(r >> 3) << 10 | size_t(g >> 3) << 5 | size_t(b >> 3);
        if (cellStart_[cell] < 0) BuildCell(cell);
        const uint8_t* candidate = candidates_.data() + cellStart_[cell];
        const uint8_t* end = candidate + cellCount_[cell];
        int best = std::numeric_limits<int>::max();
        int bestIndex = 0;
        for (; candidate != end; ++candidate) {
            const int i = *candidate;
            const int dr = r_[i] - r, dg = g_[i] - g, db = b_[i] - b;
            const int d = dr * dr + dg * dg + db * db;
            if (d < best) {
                best = d;
                bestIndex = i;
            }
        }
        return bestIndex;
    }

    int R(int i) const { return r_[size_t(i)]; }
    int G(int i) const { return g_[size_t(i)]; }
    int B(int i) const { return b_[size_t(i)]; }

private:
    static constexpr size_t kExactSlots = 1024;

    static size_t ExactHash(uint32_t c) {
        return size_t((uint64_t(c) * 0x9E3779B97F4A7C15ull) >> 54);
    }

    void BuildCell(size_t cell) {
        const int lo[3] = {int(cell >> 10) << 3, int(cell >> 5 & 31) << 3, int(cell & 31) << 3};
        const size_t n = r_.size();
        std::vector<int>& nearest = scratch_;
        nearest.resize(n);
        int bound = std::numeric_limits<int>::max();
        for (size_t i = 0; i < n; ++i) {
            const int p[3] = {r_[i], g_[i], b_[i]};
            int dmin = 0, dmax = 0;
            for (int k = 0; k < 3; ++k) {
                const int below = lo[k] - p[k], above = p[k] - (lo[k] + 7);
                const int outside = std::max(0, std::max(below, above));
                const int far = std::max(std::abs(p[k] - lo[k]), std::abs(p[k] - lo[k] - 7));
                dmin += outside * outside;
                dmax += far * far;
            }
            nearest[i] = dmin;
            bound = std::min(bound, dmax);
        }
        cellStart_[cell] = int32_t(candidates_.size());
        for (size_t i = 0; i < n; ++i)
            if (nearest[i] <= bound) candidates_.push_back(uint8_t(i));
        cellCount_[cell] = uint16_t(candidates_.size() - size_t(cellStart_[cell]));
    }

    std::vector<int> r_, g_, b_;
    std::array<uint32_t, kExactSlots> exactKeys_;
    std::array<uint8_t, kExactSlots> exactIndex_{};
    std::vector<int32_t> cellStart_;
    std::vector<uint16_t> cellCount_;
    std::vector<uint8_t> candidates_;
    std::vector<int> scratch_;
};

void MapExact(const PixelRows& rows, ColorTable& table, IndexedImage& out,
              std::vector<uint32_t>& row) {
    table.ForEach([&](uint32_t c, uint32_t&) { out.palette.push_back(c); });
    std::sort(out.palette.begin(), out.palette.end());
    table.ForEach([&](uint32_t c, uint32_t& value) {
        value = uint32_t(std::lower_bound(out.palette.begin(), out.palette.end(), c) -
                         out.palette.begin());
    });
    uint8_t* index = out.indices.data();
    for (int y = 0; y < out.height; ++y) {
        rows.Read(y, row.data());
        uint32_t last = kNoColor;
        uint8_t lastIndex = 0;
        for (int x = 0; x < out.width; ++x) {
            const uint32_t c = row[x];
            if (c != last) {
                last = c;
                lastIndex = uint8_t(*table.Find(c));
            }
            *index++ = lastIndex;
        }
    }
}

void MapNearest(const PixelRows& rows, PaletteMap& map, IndexedImage& out,
                std::vector<uint32_t>& row) {
    uint8_t* index = out.indices.data();
    for (int y = 0; y < out.height; ++y) {
        rows.Read(y, row.data());
        uint32_t last = kNoColor;
        uint8_t lastIndex = 0;
        for (int x = 0; x < out.width; ++x) {
            const uint32_t c = row[x];
            if (c != last) {
                last = c;
                const int exact = map.Exact(c);
                lastIndex = uint8_t(exact >= 0 ? exact : map.Nearest(Red(c), Green(c), Blue(c)));
            }
            *index++ = lastIndex;
        }
    }
}

// Serpentine Floyd-Steinberg. A pixel whose colour is in the palette takes it as it is and
// drops the error that reached it, which keeps solid areas, and the text drawn on them, free
// of stray dots.
void MapDithered(const PixelRows& rows, PaletteMap& map, IndexedImage& out,
                 std::vector<uint32_t>& row) {
    const int width = out.width;
    // Errors in sixteenths, with one spare pixel at each end of the row.
    std::vector<int> current(size_t(width + 2) * 3, 0), below(size_t(width + 2) * 3, 0);
    constexpr int kCap = kMaxCarriedError * 16;
    for (int y = 0; y < out.height; ++y) {
        rows.Read(y, row.data());
        std::fill(below.begin(), below.end(), 0);
        const bool leftward = (y & 1) != 0;
        const int step = leftward ? -1 : 1;
        uint8_t* index = out.indices.data() + size_t(y) * size_t(width);
        for (int i = 0; i < width; ++i) {
            const int x = leftward ? width - 1 - i : i;
            const uint32_t c = row[x];
            const int exact = map.Exact(c);
            if (exact >= 0) {
                index[x] = uint8_t(exact);
                continue;
            }
            int* e = &current[size_t(x + 1) * 3];
            const int r = ClampByte(Red(c) + FromSixteenths(std::clamp(e[0], -kCap, kCap)));
            const int g = ClampByte(Green(c) + FromSixteenths(std::clamp(e[1], -kCap, kCap)));
            const int b = ClampByte(Blue(c) + FromSixteenths(std::clamp(e[2], -kCap, kCap)));
            const int k = map.Nearest(r, g, b);
            index[x] = uint8_t(k);
            const int err[3] = {(r - map.R(k)) * kDiffusion, (g - map.G(k)) * kDiffusion,
                                (b - map.B(k)) * kDiffusion};
            int* ahead = e + step * 3;
            int* under = &below[size_t(x + 1) * 3];
            for (int ch = 0; ch < 3; ++ch) {
                // 7/16 ahead, 3/16 below behind, 5/16 below, 1/16 below ahead.
                ahead[ch] += err[ch] * 7 / 16;
                under[ch - step * 3] += err[ch] * 3 / 16;
                under[ch] += err[ch] * 5 / 16;
                under[ch + step * 3] += err[ch] / 16;
            }
        }
        current.swap(below);
    }
}

}  // namespace

IndexedImage QuantizeTo256(const uint8_t* pixels, int width, int height, int stride,
                           int bytesPerPixel, const QuantizeOptions& options) {
    IndexedImage out;
    if (!pixels || width < 1 || height < 1 || (bytesPerPixel != 3 && bytesPerPixel != 4))
        return out;
    if (int64_t(width) * height > kMaxQuantizePixels) return out;
    if (std::abs(int64_t(stride)) < int64_t(width) * bytesPerPixel) return out;

    const PixelRows rows(pixels, width, stride, bytesPerPixel);
    out.width = width;
    out.height = height;
    out.indices.resize(size_t(width) * size_t(height));
    std::vector<uint32_t> row(static_cast<size_t>(width));

    ColorTable exact(kMaxExactColors);
    std::vector<Point> points;
    if (CountExactColors(rows, width, height, exact, row)) {
        if (exact.size() <= size_t(kMaxColors)) {
            MapExact(rows, exact, out, row);
            return out;
        }
        points = ExactPoints(exact);
    } else {
        exact = ColorTable(0);
        points = HistogramPoints(rows, width, height, row);
    }
    out.palette = FitPalette(points);
    points = std::vector<Point>();

    PaletteMap map(out.palette);
    if (options.dither)
        MapDithered(rows, map, out, row);
    else
        MapNearest(rows, map, out, row);
    return out;
}

}  // namespace framlet
