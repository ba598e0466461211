// The span routines of the cross-fade and alpha blits: one routine per screen
// depth and 16-bit channel layout, chosen once per blit and run once per
// clipped row. Every four-pixel routine has a plain reference twin and a
// portable one beside the native (SSE2) one; all give the same pixels.
#pragma once

#include "platform/display/pixel_format.h"

#include <cstdint>

namespace vilora {

class palette;

// Which implementation of the blend spans runs. `fast` is the default: SSE2
// four-pixel spans on x86-64 (the cross-fade in AVX2 where the processor has
// it), the portable ones elsewhere, constant-mask scalar spans on 5-6-5 and
// 5-5-5. `narrow` is `fast` without AVX2. Tests and benchmarks force the others.
enum class span_impl { fast, narrow, portable, reference };
void force_span_impl(span_impl impl);
span_impl current_span_impl();

// Everything a span routine reads besides the pixels, set up once per blit.
struct blend_setup {
    int32_t level = 0; // cross-fade weight of the source, 0..255 (in 256ths)
    uint32_t key = 0;  // source colour key, compared when `keyed`
    bool keyed = false;
    // 16-bit pixels: channel masks, the masks in four 16-bit lanes, and the
    // left shifts that turn a masked field into channel units.
    uint32_t masks[3] = {};
    uint64_t masks_x4[3] = {};
    int32_t shifts[3] = {};
    // 8-bit pixels: the palette's blend terms (32 weights x 256 indices) and
    // the index of the nearest colour for every sum of two terms.
    const uint16_t* terms = nullptr;
    const uint8_t* results = nullptr;
};

// A routine blends `count` pixels of one row: d from the destination row, s
// from the source row, alpha (alpha blits only) one byte per source pixel.
using blend_row = void (*)(uint8_t* d, const uint8_t* s, const uint8_t* alpha, int32_t count,
                           const blend_setup& setup);

// The setup for a screen format; the palette is used only at 8 bits, and a
// missing or incomplete one yields null tables.
blend_setup make_blend_setup(const pixel_format& format, const palette* screen_palette);

// The routine for the screen depth, null for a depth without one (or an
// 8-bit screen without blend tables). `four_pixel` picks the grouped paths
// on 16-bit screens.
blend_row choose_fade_row(const pixel_format& format, const blend_setup& setup, bool four_pixel);
blend_row choose_alpha_row(const pixel_format& format, const blend_setup& setup, bool four_pixel);

} // namespace vilora
