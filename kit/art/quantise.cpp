#include "kit/art/quantise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace vilora::kit::art {
namespace {

constexpr int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Channel 0..1 to a level of `bits` bits, dithered by the threshold (0..1).
uint32_t level(float v, int bits, float threshold) {
    const float top = static_cast<float>((1 << bits) - 1);
    const float scaled = clamp01(v) * top + threshold - 0.5f;
    return static_cast<uint32_t>(std::clamp(std::floor(scaled + 0.5f), 0.0f, top));
}

// A level widened to 8 bits so that shifting right restores it.
uint8_t widen(uint32_t value, int bits) {
    return static_cast<uint8_t>(value << (8 - bits) | value >> (2 * bits - 8));
}

// 5-6-5 value of a canvas pixel; 0 only for transparent pixels of keyed pictures.
uint16_t pixel565(const image& canvas, int x, int y, bool keyed) {
    if (keyed && canvas.cover(x, y) < 0.5f) return 0;
    const float t = (static_cast<float>(bayer[y & 3][x & 3]) + 0.5f) / 16.0f;
    const colour& c = canvas.at(x, y);
    const auto v =
        static_cast<uint16_t>(level(c.r, 5, t) << 11 | level(c.g, 6, t) << 5 | level(c.b, 5, t));
    return keyed && v == 0 ? uint16_t{1 << 5} : v;
}

rgb8 rgb_of(uint16_t v) {
    return {widen(v >> 11, 5), widen(v >> 5 & 63, 6), widen(v & 31, 5)};
}

struct counted {
    uint16_t value;
    uint32_t count;
};

int channel(uint16_t v, int c) {
    const rgb8 p = rgb_of(v);
    return c == 0 ? p.red : c == 1 ? p.green : p.blue;
}

// Splits the list of colours into `wanted` boxes at weighted medians along the
// widest channel; returns each box's weighted mean.
std::vector<rgb8> median_cut(std::vector<counted> colours, int wanted) {
    struct range {
        size_t begin, end;
        int widest = 0, spread = 0; // channel of the largest extent, and that extent
    };
    auto measure = [&](range r) {
        for (int c = 0; c < 3 && r.end - r.begin > 1; ++c) {
            int lo = 255, hi = 0;
            for (size_t i = r.begin; i < r.end; ++i) {
                lo = std::min(lo, channel(colours[i].value, c));
                hi = std::max(hi, channel(colours[i].value, c));
            }
            if (hi - lo > r.spread) {
                r.spread = hi - lo;
                r.widest = c;
            }
        }
        return r;
    };
    std::vector<range> boxes = {measure({0, colours.size()})};
    while (static_cast<int>(boxes.size()) < wanted) {
        size_t best = boxes.size();
        int best_spread = 0;
        for (size_t b = 0; b < boxes.size(); ++b)
            if (boxes[b].spread > best_spread) {
                best = b;
                best_spread = boxes[b].spread;
            }
        if (best == boxes.size()) break;
        const range r = boxes[best];
        const int best_channel = r.widest;
        std::sort(colours.begin() + static_cast<ptrdiff_t>(r.begin),
                  colours.begin() + static_cast<ptrdiff_t>(r.end),
                  [&](const counted& a, const counted& b) {
                      const int ca = channel(a.value, best_channel);
                      const int cb = channel(b.value, best_channel);
                      return ca != cb ? ca < cb : a.value < b.value;
                  });
        uint64_t total = 0, half = 0;
        for (size_t i = r.begin; i < r.end; ++i) total += colours[i].count;
        size_t split = r.begin + 1;
        for (size_t i = r.begin; i < r.end - 1; ++i) {
            half += colours[i].count;
            split = i + 1;
            if (2 * half >= total) break;
        }
        boxes[best] = measure({r.begin, split});
        boxes.push_back(measure({split, r.end}));
    }
    std::vector<rgb8> means;
    for (const range& r : boxes) {
        uint64_t sum[3] = {0, 0, 0}, n = 0;
        for (size_t i = r.begin; i < r.end; ++i) {
            for (int c = 0; c < 3; ++c)
                sum[c] += static_cast<uint64_t>(channel(colours[i].value, c)) * colours[i].count;
            n += colours[i].count;
        }
        means.push_back({static_cast<uint8_t>((sum[0] + n / 2) / n),
                         static_cast<uint8_t>((sum[1] + n / 2) / n),
                         static_cast<uint8_t>((sum[2] + n / 2) / n)});
    }
    return means;
}

int nearest(const bmp_palette& palette, int first, int count, rgb8 c) {
    int best = first, best_distance = 1 << 30;
    for (int i = first; i < first + count; ++i) {
        const int dr = palette[i].red - c.red, dg = palette[i].green - c.green,
                  db = palette[i].blue - c.blue;
        const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < best_distance) {
            best_distance = d;
            best = i;
        }
    }
    return best;
}

} // namespace

colour on_screen_levels(colour c) {
    const auto snap = [](float v, float top) { return std::round(clamp01(v) * top) / top; };
    return {snap(c.r, 31), snap(c.g, 63), snap(c.b, 31)};
}

rgb_picture to_rgb565(const image& canvas, bool keyed) {
    rgb_picture out{canvas.width(), canvas.height(), {}};
    out.pixels.reserve(static_cast<size_t>(canvas.width()) * canvas.height());
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            out.pixels.push_back(rgb_of(pixel565(canvas, x, y, keyed)));
    return out;
}

indexed_picture to_indexed(const image& canvas, bool keyed, int colours) {
    std::vector<uint16_t> pixels;
    std::vector<uint32_t> histogram(65536, 0);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            pixels.push_back(pixel565(canvas, x, y, keyed));
            if (!keyed || pixels.back() != 0) ++histogram[pixels.back()];
        }
    std::vector<counted> present;
    for (uint32_t v = 0; v < histogram.size(); ++v)
        if (histogram[v]) present.push_back({static_cast<uint16_t>(v), histogram[v]});
    const int first = keyed ? 1 : 0;
    indexed_picture out{canvas.width(), canvas.height(), {}, {}};
    const std::vector<rgb8> entries =
        present.empty() ? std::vector<rgb8>{} : median_cut(present, colours - first);
    for (size_t i = 0; i < entries.size(); ++i) {
        rgb8 e = entries[i];
        // An opaque entry must not pack to the key on a 5-6-5 screen.
        if (keyed && e.red < 8 && e.green < 4 && e.blue < 8) e.green = 4;
        out.palette[first + i] = e;
    }
    const int count = static_cast<int>(entries.size());
    std::vector<int> lookup(65536, -1);
    out.indices.reserve(pixels.size());
    for (uint16_t v : pixels) {
        if (keyed && v == 0) {
            out.indices.push_back(0);
            continue;
        }
        if (lookup[v] < 0) lookup[v] = nearest(out.palette, first, count, rgb_of(v));
        out.indices.push_back(static_cast<uint8_t>(lookup[v]));
    }
    return out;
}

indexed_picture from_field(int width, int height, const bmp_palette& palette,
                           const std::function<uint8_t(int x, int y)>& index) {
    indexed_picture out{width, height, palette, {}};
    out.indices.reserve(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) out.indices.push_back(index(x, y));
    return out;
}

} // namespace vilora::kit::art
