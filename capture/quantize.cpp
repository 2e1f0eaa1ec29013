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
// Error diffusion: the share of the error passed on (in sixteenths) and the cap of the carried
// error per channel (in levels), which keep the noise down and stop errors from streaking
// across smooth areas.
constexpr int kDiffusion = 14;
constexpr int kMaxCarriedError = 40;

inline int Red(uint32_t c) { return int(c >> 16) & 0xFF; }
inline int Green(uint32_t c) { return int(c >> 8) & 0xFF; }
inline int Blue(uint32_t c) { return int(c) & 0xFF; }
inline uint32_t Rgb(int r, int g, int b) {
    return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}
inline int ClampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
// A carried error (in 1/256 of a level) capped and rounded to whole levels; the bias keeps
// the shifted value positive.
inline int CarriedLevels(int e) {
    constexpr int kCap = kMaxCarriedError * 256, kBias = 1 << 20;
    e = e < -kCap ? -kCap : (e > kCap ? kCap : e);
    return ((e + 128 + kBias) >> 8) - (kBias >> 8);
}
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

    // Index of the nearest centroid; `nearest` and `second` receive the squared distances to
    // it and to the next nearest one.
    int Nearest(float r, float g, float b, float& nearest, float& second) const {
        const float s = Project(r, g, b);
        size_t up = size_t(std::lower_bound(sorted_.begin(), sorted_.end(), s,
                                            [](const Entry& e, float v) { return e.s < v; }) -
                           sorted_.begin());
        size_t down = up;
        nearest = second = std::numeric_limits<float>::max();
        int bestIndex = 0;
        bool goUp = up < sorted_.size(), goDown = down > 0;
        auto consider = [&](const Entry& e) {
            const float dr = e.r - r, dg = e.g - g, db = e.b - b;
            const float d = dr * dr + dg * dg + db * db;
            if (d < nearest) {
                second = nearest;
                nearest = d;
                bestIndex = e.index;
            } else if (d < second) {
                second = d;
            }
        };
        while (goUp || goDown) {
            if (goUp) {
                const Entry& e = sorted_[up];
                const float ds = e.s - s;
                if (ds * ds >= second) {
                    goUp = false;
                } else {
                    consider(e);
                    goUp = ++up < sorted_.size();
                }
            }
            if (goDown) {
                const Entry& e = sorted_[down - 1];
                const float ds = s - e.s;
                if (ds * ds >= second) {
                    goDown = false;
                } else {
                    consider(e);
                    goDown = --down > 0;
                }
            }
        }
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
    // Per point: its centroid in the last pass (-1: search), an upper bound on the distance
    // to it and a lower bound on the distance to any other centroid. Points whose bounds
    // show they cannot have changed sides skip the search (Hamerly's k-means).
    std::vector<int> assigned(points.size(), -1);
    std::vector<float> upper(points.size()), lower(points.size());
    std::vector<float> halfGap, drift;
    for (int pass = 0; pass < kKMeansPasses; ++pass) {
        const AxisSearch search(centroids);
        halfGap.assign(centroids.size(), std::numeric_limits<float>::max());
        for (size_t j = 0; j < centroids.size(); ++j) {
            for (size_t k = j + 1; k < centroids.size(); ++k) {
                const double dr = centroids[j].r - centroids[k].r;
                const double dg = centroids[j].g - centroids[k].g;
                const double db = centroids[j].b - centroids[k].b;
                const float half = float(std::sqrt(dr * dr + dg * dg + db * db) / 2);
                halfGap[j] = std::min(halfGap[j], half);
                halfGap[k] = std::min(halfGap[k], half);
            }
        }
        clusters.assign(centroids.size(), Cluster{0, 0, 0, 0, 0, kNoColor});
        for (size_t i = 0; i < points.size(); ++i) {
            const Point& p = points[i];
            int j = assigned[i];
            bool needSearch = j < 0;
            if (!needSearch) {
                const float bound = std::max(lower[i], halfGap[size_t(j)]);
                if (upper[i] > bound) {
                    const Rgbd& c = centroids[size_t(j)];
                    const float dr = float(c.r) - p.r, dg = float(c.g) - p.g,
                                db = float(c.b) - p.b;
                    upper[i] = std::sqrt(dr * dr + dg * dg + db * db);
                    needSearch = upper[i] > bound;
                }
            }
            if (needSearch) {
                float nearest = 0, second = 0;
                j = search.Nearest(p.r, p.g, p.b, nearest, second);
                assigned[i] = j;
                upper[i] = std::sqrt(nearest);
                lower[i] = std::sqrt(second);
            }
            Cluster& c = clusters[size_t(j)];
            c.w += p.w;
            c.r += double(p.w) * p.r;
            c.g += double(p.w) * p.g;
            c.b += double(p.w) * p.b;
            if (p.exact != kNoColor && p.w > c.heaviestWeight) {
                c.heaviestWeight = p.w;
                c.heaviest = p.exact;
            }
        }
        double moved = 0.0;
        std::vector<Rgbd> next;
        std::vector<Cluster> kept;
        drift.assign(centroids.size(), 0.0f);
        for (size_t j = 0; j < clusters.size(); ++j) {
            const Cluster& c = clusters[j];
            if (c.w <= 0.0) continue;
            const Rgbd m{c.r / c.w, c.g / c.w, c.b / c.w};
            const double dr = m.r - centroids[j].r, dg = m.g - centroids[j].g,
                         db = m.b - centroids[j].b;
            drift[j] = float(std::sqrt(dr * dr + dg * dg + db * db));
            moved = std::max(moved, double(drift[j]));
            next.push_back(m);
            kept.push_back(c);
        }
        const bool renumbered = next.size() != centroids.size();
        centroids.swap(next);
        clusters.swap(kept);
        if (renumbered) {
            std::fill(assigned.begin(), assigned.end(), -1);
        } else {
            // Moving centroids loosen the bounds by how far they moved.
            size_t fastest = 0;
            for (size_t j = 1; j < drift.size(); ++j)
                if (drift[j] > drift[fastest]) fastest = j;
            float secondFastest = 0.0f;
            for (size_t j = 0; j < drift.size(); ++j)
                if (j != fastest) secondFastest = std::max(secondFastest, drift[j]);
            for (size_t i = 0; i < points.size(); ++i) {
                const size_t j = size_t(assigned[i]);
                upper[i] += drift[j];
                lower[i] -= j == fastest ? secondFastest : drift[fastest];
            }
        }
        if (pass + 1 == kKMeansPasses) break;

        // Seed the unused colours at the points that are served worst.
        size_t seeds = size_t(kMaxColors) - centroids.size();
        std::vector<size_t> order;
        for (size_t i = 0; i < points.size(); ++i)
            if (upper[i] > 0.0f) order.push_back(i);
        seeds = std::min(seeds, order.size());
        if (seeds > 0) {
            auto error = [&](size_t i) { return upper[i] * upper[i] * points[i].w; };
            std::nth_element(order.begin(), order.begin() + ptrdiff_t(seeds - 1), order.end(),
                             [&](size_t x, size_t y) { return error(x) > error(y); });
            for (size_t k = 0; k < seeds; ++k) {
                const Point& p = points[order[k]];
                centroids.push_back({p.r, p.g, p.b});
            }
            std::fill(assigned.begin(), assigned.end(), -1);
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
// to some colour inside it, ordered by their least possible distance so the scan can stop
// early.
class PaletteMap {
public:
    explicit PaletteMap(const std::vector<uint32_t>& palette)
        : cells_(kCells, kUnbuilt) {
        exactKeys_.fill(kNoColor);
        // Unused entries sit far outside the cube, so they never become candidates.
        pr_.fill(10000);
        pg_.fill(10000);
        pb_.fill(10000);
        for (size_t i = 0; i < palette.size(); ++i) {
            const uint32_t c = palette[i];
            rgb_[i] = {Red(c), Green(c), Blue(c)};
            pr_[i] = Red(c);
            pg_[i] = Green(c);
            pb_[i] = Blue(c);
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

    // Nearest entry by squared distance. r, g, b in 0..255.
    int Nearest(int r, int g, int b) {
        const size_t cell = size_t(r >> kCellShift) << (2 * kCellBits) |
                            size_t(g >> kCellShift) << kCellBits | size_t(b >> kCellShift);
        if (cells_[cell] == kUnbuilt) BuildCell(cell);
        const uint32_t* candidate = candidates_.data() + (cells_[cell] >> 9);
        const uint32_t* end = candidate + (cells_[cell] & 0x1FF);
        int best = std::numeric_limits<int>::max();
        int bestIndex = int(*candidate & 0xFF);
        for (; candidate != end && int(*candidate >> 8) < best; ++candidate) {
            const int i = int(*candidate & 0xFF);
            const std::array<int, 3>& e = rgb_[size_t(i)];
            const int dr = e[0] - r, dg = e[1] - g, db = e[2] - b;
            const int d = dr * dr + dg * dg + db * db;
            bestIndex = d < best ? i : bestIndex;
            best = d < best ? d : best;
        }
        return bestIndex;
    }

    const std::array<int, 3>& Color(int i) const { return rgb_[size_t(i)]; }

private:
    static constexpr size_t kExactSlots = 1024;
    // Cells of 2^kCellShift levels per channel.
    static constexpr int kCellShift = 3;
    static constexpr int kCellBits = 8 - kCellShift;
    static constexpr int kCellMask = (1 << kCellBits) - 1;
    static constexpr size_t kCells = size_t(1) << (3 * kCellBits);
    static constexpr uint32_t kUnbuilt = 0xFFFFFFFFu;

    static size_t ExactHash(uint32_t c) {
        return size_t((uint64_t(c) * 0x9E3779B97F4A7C15ull) >> 54);
    }

    void BuildCell(size_t cell) {
        const int lo[3] = {int(cell >> (2 * kCellBits)) << kCellShift,
                           int(cell >> kCellBits & kCellMask) << kCellShift,
                           int(cell & kCellMask) << kCellShift};
        constexpr int kSpan = (1 << kCellShift) - 1;
        const int hi[3] = {lo[0] + kSpan, lo[1] + kSpan, lo[2] + kSpan};
        // Least and greatest squared distance from each entry to the cell (fixed trip
        // counts over plain arrays, which compilers turn into vector code).
        for (size_t i = 0; i < kMaxColors; ++i) {
            const int outR = std::max(0, std::max(lo[0] - pr_[i], pr_[i] - hi[0]));
            const int outG = std::max(0, std::max(lo[1] - pg_[i], pg_[i] - hi[1]));
            const int outB = std::max(0, std::max(lo[2] - pb_[i], pb_[i] - hi[2]));
            const int farR = std::max(pr_[i] - lo[0], hi[0] - pr_[i]);
            const int farG = std::max(pg_[i] - lo[1], hi[1] - pg_[i]);
            const int farB = std::max(pb_[i] - lo[2], hi[2] - pb_[i]);
            least_[i] = outR * outR + outG * outG + outB * outB;
            greatest_[i] = farR * farR + farG * farG + farB * farB;
        }
        const int bound = *std::min_element(greatest_.begin(), greatest_.end());
        const size_t start = candidates_.size();
        for (size_t i = 0; i < kMaxColors; ++i)
            if (least_[i] <= bound) candidates_.push_back(uint32_t(least_[i]) << 8 | uint32_t(i));
        std::sort(candidates_.begin() + ptrdiff_t(start), candidates_.end());
        cells_[cell] = uint32_t(start) << 9 | uint32_t(candidates_.size() - start);
    }

    std::array<std::array<int, 3>, kMaxColors> rgb_{};
    std::array<int, kMaxColors> pr_, pg_, pb_, least_{}, greatest_{};
    std::array<uint32_t, kExactSlots> exactKeys_;
    std::array<uint8_t, kExactSlots> exactIndex_{};
    // Per cell: the start of its list in candidates_ << 9 | its length (at most 256; the
    // lists of all cells together are shorter than 2^23).
    std::vector<uint32_t> cells_;
    std::vector<uint32_t> candidates_;  // least distance << 8 | entry index
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
    // Carried errors in 1/256 of a level, with one spare pixel at each end of the row.
    std::vector<int> current(size_t(width + 2) * 3, 0), below(size_t(width + 2) * 3, 0);
    for (int y = 0; y < out.height; ++y) {
        rows.Read(y, row.data());
        std::fill(below.begin(), below.end(), 0);
        const bool leftward = (y & 1) != 0;
        const int step = leftward ? -3 : 3;
        uint8_t* index = out.indices.data() + size_t(y) * size_t(width);
        for (int i = 0; i < width; ++i) {
            const int x = leftward ? width - 1 - i : i;
            const uint32_t c = row[size_t(x)];
            const int exact = map.Exact(c);
            if (exact >= 0) {
                index[x] = uint8_t(exact);
                continue;
            }
            int* e = &current[size_t(x + 1) * 3];
            const int r = ClampByte(Red(c) + CarriedLevels(e[0]));
            const int g = ClampByte(Green(c) + CarriedLevels(e[1]));
            const int b = ClampByte(Blue(c) + CarriedLevels(e[2]));
            const int k = map.Nearest(r, g, b);
            index[x] = uint8_t(k);
            const std::array<int, 3>& chosen = map.Color(k);
            const int err[3] = {(r - chosen[0]) * kDiffusion, (g - chosen[1]) * kDiffusion,
                                (b - chosen[2]) * kDiffusion};
            int* ahead = e + step;
            int* under = &below[size_t(x + 1) * 3];
            for (int ch = 0; ch < 3; ++ch) {
                // 7/16 ahead, 3/16 below behind, 5/16 below, 1/16 below ahead.
                ahead[ch] += err[ch] * 7;
                under[ch - step] += err[ch] * 3;
                under[ch] += err[ch] * 5;
                under[ch + step] += err[ch];
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
