// The grouped 16-bit spans in plain C++: four 16-bit lanes per step, with
// fixed-length lane loops and selects instead of branches, so that a compiler
// can turn each group into vector instructions wherever it has them.
#include "pictures/internal/blend_pixels.h"
#include "pictures/internal/four_pixel.h"

#include <cstring>

namespace vilora {

namespace {

using namespace blend;

struct lanes {
    uint16_t v[4];
};

lanes load_lanes(const uint8_t* p) {
    lanes l;
    std::memcpy(l.v, p, sizeof l.v);
    return l;
}

void store_lanes(uint8_t* p, const lanes& l) {
    std::memcpy(p, l.v, sizeof l.v);
}

// The grouped formula per lane, each lane with its own weight.
lanes grouped_lanes(const lanes& s, const lanes& d, const int32_t (&w)[4], const blend_setup& b) {
    lanes out;
    for (int i = 0; i < 4; ++i) out.v[i] = grouped_pixel(s.v[i], d.v[i], w[i], b);
    return out;
}

template <bool keyed>
void fade_row(uint8_t* d, const uint8_t* s, const uint8_t*, int32_t count, const blend_setup& b) {
    const int32_t grouped_count = count / 4 * 4;
    const auto key = static_cast<uint16_t>(b.key);
    const int32_t w[4] = {b.level, b.level, b.level, b.level};
    for (int32_t i = 0; i < grouped_count; i += 4) {
        const lanes from = load_lanes(s + 2 * i), to = load_lanes(d + 2 * i);
        lanes out = grouped_lanes(from, to, w, b);
        if (keyed)
            for (int k = 0; k < 4; ++k) out.v[k] = from.v[k] == key ? to.v[k] : out.v[k];
        store_lanes(d + 2 * i, out);
    }
    for (int32_t i = grouped_count; i < count; ++i) {
        const uint16_t from = load16(s + 2 * i);
        if (keyed && from == key) continue;
        store16(d + 2 * i, masked_pixel(from, load16(d + 2 * i), b.level, b));
    }
}

void alpha_row(uint8_t* d, const uint8_t* s, const uint8_t* alpha, int32_t count,
               const blend_setup& b) {
    const int32_t grouped_count = count / 4 * 4;
    for (int32_t i = 0; i < grouped_count; i += 4) {
        // The four alphas as one word: all clear and all solid cost one test each.
        uint32_t group;
        std::memcpy(&group, alpha + i, sizeof group);
        if (group == 0) continue;
        if (group == 0xFFFFFFFF) {
            std::memcpy(d + 2 * i, s + 2 * i, 8);
            continue;
        }
        const int32_t w[4] = {alpha[i], alpha[i + 1], alpha[i + 2], alpha[i + 3]};
        store_lanes(d + 2 * i, grouped_lanes(load_lanes(s + 2 * i), load_lanes(d + 2 * i), w, b));
    }
    for (int32_t i = grouped_count; i < count; ++i) {
        const int32_t a = alpha[i];
        if (a == 0) continue;
        store16(d + 2 * i, a == 255 ? load16(s + 2 * i)
                                    : masked_pixel(load16(s + 2 * i), load16(d + 2 * i), a, b));
    }
}

} // namespace

blend_row portable_grouped_fade(bool keyed) {
    return keyed ? fade_row<true> : fade_row<false>;
}

blend_row portable_grouped_alpha() {
    return alpha_row;
}

} // namespace vilora
