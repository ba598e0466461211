// The span loops of the rotated blit, one per pixel size and keying: per pixel
// two additions and one nearest-pixel sample from the picture.
#pragma once

#include "pictures/internal/blend_pixels.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vilora {

struct picture_sampler {
    const uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    int32_t width = 0; // columns and rows that may be sampled
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

// `clamped` holds positions on the picture's last column and row: the walk of
// a span that starts or ends on the picture's right or bottom edge reaches
// column `width` or row `height` itself.
template <int bytes, bool keyed, bool clamped>
void sample_span(uint8_t* d, const picture_sampler& p, span_walk w, int32_t count) {
    for (int32_t i = 0; i < count; ++i, d += bytes, w.u += w.du, w.v += w.dv) {
        int64_t column = w.u >> 16, row = w.v >> 16;
        if (clamped) {
            column = std::clamp<int64_t>(column, 0, p.width - 1);
            row = std::clamp<int64_t>(row, 0, p.height - 1);
        }
        const uint8_t* s = p.pixels + row * p.pitch + column * bytes;
        if constexpr (bytes == 1) {
            if (!keyed || *s != p.key) *d = *s;
        } else if constexpr (bytes == 2) {
            const uint16_t pixel = blend::load16(s);
            if (!keyed || pixel != p.key) blend::store16(d, pixel);
        } else {
            // 24 and 32 bits: three colour bytes; a fourth is left alone.
            if (!keyed || blend::key_value24(s) != p.key) std::memcpy(d, s, 3);
        }
    }
}

using span_sampler = void (*)(uint8_t* d, const picture_sampler& p, span_walk w, int32_t count);

struct span_samplers {
    span_sampler inside = nullptr;  // every sampled position lies on the picture
    span_sampler clamped = nullptr; // positions may reach past its last column or row
};

template <int bytes, bool keyed>
constexpr span_samplers samplers_for() {
    return {sample_span<bytes, keyed, false>, sample_span<bytes, keyed, true>};
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
