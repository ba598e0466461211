// The blend formulas written out pixel by pixel for the tests, apart from the
// blits' own code: what one destination pixel becomes.
#pragma once

#include "platform/display/display_device.h"

#include <cstdint>

namespace vilora::testing {

// floor(a / 256) by division, rounding toward minus infinity.
inline int32_t floor256(int32_t a) {
    return a >= 0 ? a / 256 : -((-a + 255) / 256);
}

// The scalar rule d + floor((s - d) w / 256), or the grouped one
// d + floor(s w / 256) - floor(d w / 256), per channel in channel units (16
// bits) or per colour byte (24 and 32 bits; a fourth byte stays); at 8 bits
// the palette tables with weight w / 8.
inline uint32_t oracle_blend(const display_device& display, uint32_t s, uint32_t d, int32_t w,
                             bool grouped) {
    const pixel_format& f = *display.format;
    auto mix = [&](int32_t sc, int32_t dc) {
        return grouped ? dc + floor256(sc * w) - floor256(dc * w) : dc + floor256((sc - dc) * w);
    };
    if (f.bits_per_pixel == 8) {
        const auto& t = display.screen_palette->blend_terms;
        const int32_t w5 = w / 8;
        return display.screen_palette->blend_results[t[static_cast<size_t>((31 - w5) * 256) + d] +
                                                     t[static_cast<size_t>(w5 * 256) + s]];
    }
    if (f.bits_per_pixel == 16) {
        const uint32_t masks[3] = {f.red_mask, f.green_mask, f.blue_mask};
        uint32_t out = 0;
        for (uint32_t mask : masks) {
            int32_t shift = 0;
            while (!(mask >> shift & 1)) ++shift;
            const auto sc = static_cast<int32_t>((s & mask) >> shift);
            const auto dc = static_cast<int32_t>((d & mask) >> shift);
            out |= static_cast<uint32_t>(mix(sc, dc)) << shift;
        }
        return out;
    }
    uint32_t out = d & 0xFF000000;
    for (int b = 0; b < 3; ++b) {
        const auto sb = static_cast<int32_t>(s >> (8 * b) & 0xFF);
        const auto db = static_cast<int32_t>(d >> (8 * b) & 0xFF);
        out |= static_cast<uint32_t>(mix(sb, db)) << (8 * b);
    }
    return out;
}

// A copied source pixel: at 32 bits only its three colour bytes.
inline uint32_t oracle_copy(const display_device& display, uint32_t s, uint32_t d) {
    return display.format->bits_per_pixel == 32 ? (s & 0xFFFFFF) | (d & 0xFF000000) : s;
}

// The key value of a pixel: the pixel at 8 and 16 bits, byte 0 << 16 |
// byte 1 << 8 | byte 2 at 24 and 32.
inline uint32_t key_value(const display_device& display, uint32_t pixel) {
    if (display.format->bits_per_pixel <= 16) return pixel;
    return (pixel & 0xFF) << 16 | (pixel & 0xFF00) | (pixel >> 16 & 0xFF);
}

} // namespace vilora::testing
