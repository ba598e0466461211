// The span loops of the rotated blit, one per pixel size and keying: per pixel
// two additions and one nearest-pixel sample from the picture, whose row is
// looked up where it starts rather than multiplied out.
#pragma once

#include "pictures/internal/blend_pixels.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vilora {

struct picture_sampler {
    const uint8_t* const* rows = nullptr; // where each of the picture's rows starts
    int32_t width = 0;                    // columns and rows that may be sampled
    int32_t height = 0;
    uint32_t key = 0;
};

// Picture position of the first pixel of a span and its step per column, 16.16.
struct span_walk {
    int64_t u = 0;
    int64_t v = 0;
    int64_t du = 0;
    int64_t dv = 0;
};

template <int bytes, bool keyed>
inline void sample_pixel(uint8_t* d, const uint8_t* s, uint32_t key) {
    if constexpr (bytes == 1) {
        if (!keyed || *s != key) *d = *s;
    } else if constexpr (bytes == 2) {
        const uint16_t pixel = blend::load16(s);
        if (!keyed || pixel != key) blend::store16(d, pixel);
    } else {
        // 24 and 32 bits: three colour bytes; a fourth is left alone.
        if (!keyed || blend::key_value24(s) != key) std::memcpy(d, s, 3);
    }
}

// A walk that stays on the picture: its 16.16 positions lie in 0 .. (side << 16)
// - 1, below 2^30 for sides of at most 16384, and the step past the last pixel
// stays below 2^31, so the walk runs in 32-bit unsigned arithmetic.
template <int bytes, bool keyed>
void sample_inside(uint8_t* d, const picture_sampler& p, span_walk w, int32_t count) {
    auto u = static_cast<uint32_t>(w.u), v = static_cast<uint32_t>(w.v);
    const auto du = static_cast<uint32_t>(w.du), dv = static_cast<uint32_t>(w.dv);
    for (int32_t i = 0; i < count; ++i, d += bytes, u += du, v += dv)
        sample_pixel<bytes, keyed>(d, p.rows[v >> 16] + (u >> 16) * bytes, p.key);
}

// A walk that may leave the picture by its last column or row: the walk of a
// span that starts or ends on the picture's right or bottom edge reaches
// column `width` or row `height` itself. Positions are held on the picture.
template <int bytes, bool keyed>
void sample_clamped(uint8_t* d, const picture_sampler& p, span_walk w, int32_t count) {
    for (int32_t i = 0; i < count; ++i, d += bytes, w.u += w.du, w.v += w.dv) {
        const int64_t column = std::clamp<int64_t>(w.u >> 16, 0, p.width - 1);
        const int64_t row = std::clamp<int64_t>(w.v >> 16, 0, p.height - 1);
        sample_pixel<bytes, keyed>(d, p.rows[row] + column * bytes, p.key);
    }
}

using span_sampler = void (*)(uint8_t* d, const picture_sampler& p, span_walk w, int32_t count);

struct span_samplers {
    span_sampler inside = nullptr;  // every sampled position lies on the picture
    span_sampler clamped = nullptr; // positions may reach past its last column or row
};

template <int bytes, bool keyed>
constexpr span_samplers samplers_for() {
    return {sample_inside<bytes, keyed>, sample_clamped<bytes, keyed>};
}

inline span_samplers choose_samplers(int bytes, bool keyed) {
    switch (bytes) {
    case 1:
        return keyed ? samplers_for<1, true>() : samplers_for<1, false>();
    case 2:
        return keyed ? samplers_for<2, true>() : samplers_for<2, false>();
    case 3:
        return keyed ? samplers_for<3, true>() : samplers_for<3, false>();
    default:
        return keyed ? samplers_for<4, true>() : samplers_for<4, false>();
    }
}

} // namespace vilora
