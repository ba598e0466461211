// The blend formulas of single pixels, shared by every span routine. Weights
// are in 256ths (a fade level or an alpha, 0..255); floor divisions by 256
// are arithmetic shifts, which round toward minus infinity.
#pragma once

#include "pictures/internal/blend_spans.h"

#include <cstdint>
#include <cstring>

namespace vilora::blend {

// d + floor((s - d) w / 256): moves d towards s; the result lies between them.
inline int32_t toward(int32_t s, int32_t d, int32_t w) {
    return d + ((s - d) * w >> 8);
}

// d + floor(s w / 256) - floor(d w / 256): the grouped four-pixel formula. It
// differs from `toward` by one where the two floors round apart (source 0,
// destination 1, w 128 gives 1 here and 0 there), and stays inside [0, max].
inline int32_t grouped(int32_t s, int32_t d, int32_t w) {
    return d + (s * w >> 8) - (d * w >> 8);
}

// A field taken out of a 16-bit pixel in channel units.
inline int32_t channel(uint32_t pixel, const blend_setup& b, int c) {
    return static_cast<int32_t>((pixel & b.masks[c]) >> b.shifts[c]);
}

// The scalar 16-bit blend worked in channel units, channel by channel.
inline uint16_t toward_pixel(uint32_t s, uint32_t d, int32_t w, const blend_setup& b) {
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c)
        out |= static_cast<uint32_t>(toward(channel(s, b, c), channel(d, b, c), w)) << b.shifts[c];
    return static_cast<uint16_t>(out);
}

// The grouped formula on one 16-bit pixel, in channel units.
inline uint16_t grouped_pixel(uint32_t s, uint32_t d, int32_t w, const blend_setup& b) {
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c)
        out |= static_cast<uint32_t>(grouped(channel(s, b, c), channel(d, b, c), w)) << b.shifts[c];
    return static_cast<uint16_t>(out);
}

// The scalar blend of one field without shifting it down: the fraction that
// the floor keeps below the field's lowest bit is cut off by the mask, which
// leaves exactly d_c + floor((s_c - d_c) w / 256) in place and no carry or
// borrow reaches the neighbouring field.
inline uint32_t masked_field(uint32_t s, uint32_t d, int32_t w, uint32_t mask) {
    const auto dm = static_cast<int32_t>(d & mask);
    return static_cast<uint32_t>(dm + ((static_cast<int32_t>(s & mask) - dm) * w >> 8)) & mask;
}

// The scalar 16-bit blend with the format's masks, field by field in place.
inline uint16_t masked_pixel(uint32_t s, uint32_t d, int32_t w, const blend_setup& b) {
    return static_cast<uint16_t>(masked_field(s, d, w, b.masks[0]) |
                                 masked_field(s, d, w, b.masks[1]) |
                                 masked_field(s, d, w, b.masks[2]));
}

// Channel masks known at compile time on 5-6-5 and 5-5-5 screens.
template <uint32_t R, uint32_t G, uint32_t B>
struct fixed_masks {
    static uint16_t mix(uint32_t s, uint32_t d, int32_t w, const blend_setup&) {
        return static_cast<uint16_t>(masked_field(s, d, w, R) | masked_field(s, d, w, G) |
                                     masked_field(s, d, w, B));
    }
};
using masks_565 = fixed_masks<0xF800, 0x07E0, 0x001F>;
using masks_555 = fixed_masks<0x7C00, 0x03E0, 0x001F>;

// Any other 16-bit layout: the pixel format's masks.
struct format_masks {
    static uint16_t mix(uint32_t s, uint32_t d, int32_t w, const blend_setup& b) {
        return masked_pixel(s, d, w, b);
    }
};

inline uint16_t load16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void store16(uint8_t* p, uint16_t v) {
    std::memcpy(p, &v, sizeof v);
}

// The colour-key value of a 24 or 32-bit pixel: byte 0 << 16 | byte 1 << 8 | byte 2.
inline uint32_t key_value24(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
}

// A palette blend of two indices with weight w (0..31) on the source. Two
// terms whose weights add up to 31 sum to 15 bits; the mask keeps a table
// filled otherwise inside the 32768 results.
inline uint8_t palette_blend(uint8_t s, uint8_t d, int32_t w, const blend_setup& b) {
    return b.results[(b.terms[(31 - w) * 256 + d] + b.terms[w * 256 + s]) & 0x7FFF];
}

} // namespace vilora::blend
