// Cross-fade spans: every covered destination pixel moves towards the source
// by level / 256, except where a keyed source holds the colour key.
#include "pictures/internal/blend_pixels.h"
#include "pictures/internal/blend_spans.h"
#include "pictures/internal/four_pixel.h"

namespace vilora {

namespace {

using namespace blend;

template <class Masks, bool keyed>
void fade16_scalar(uint8_t* d, const uint8_t* s, const uint8_t*, int32_t count,
                   const blend_setup& b) {
    const auto key = static_cast<uint16_t>(b.key);
    for (int32_t i = 0; i < count; ++i, d += 2, s += 2) {
        const uint16_t from = load16(s);
        if (keyed && from == key) continue;
        store16(d, Masks::mix(from, load16(d), b.level, b));
    }
}

template <bool keyed>
blend_row scalar_for_layout(int32_t layout) {
    if (layout == layout_565) return fade16_scalar<masks_565, keyed>;
    if (layout == layout_555) return fade16_scalar<masks_555, keyed>;
    return fade16_scalar<format_masks, keyed>;
}

// The reference scalar span: the definition, in channel units.
void fade16_reference(uint8_t* d, const uint8_t* s, const uint8_t*, int32_t count,
                      const blend_setup& b) {
    for (int32_t i = 0; i < count; ++i) {
        const uint16_t from = load16(s + 2 * i);
        if (b.keyed && from == static_cast<uint16_t>(b.key)) continue;
        store16(d + 2 * i, toward_pixel(from, load16(d + 2 * i), b.level, b));
    }
}

// The reference grouped span: the grouped formula on the first 4 * (count / 4)
// pixels, the scalar one on the rest.
void fade16_grouped_reference(uint8_t* d, const uint8_t* s, const uint8_t*, int32_t count,
                              const blend_setup& b) {
    const int32_t grouped_count = count / 4 * 4;
    for (int32_t i = 0; i < count; ++i) {
        const uint16_t from = load16(s + 2 * i);
        if (b.keyed && from == static_cast<uint16_t>(b.key)) continue;
        const uint16_t to = load16(d + 2 * i);
        store16(d + 2 * i, i < grouped_count ? grouped_pixel(from, to, b.level, b)
                                             : toward_pixel(from, to, b.level, b));
    }
}

// 24 and 32 bits: three colour bytes per pixel; a fourth byte is left alone.
template <int bytes, bool keyed>
void fade_bytes(uint8_t* d, const uint8_t* s, const uint8_t*, int32_t count, const blend_setup& b) {
    for (int32_t i = 0; i < count; ++i, d += bytes, s += bytes) {
        if (keyed && key_value24(s) == b.key) continue;
        for (int k = 0; k < 3; ++k) d[k] = static_cast<uint8_t>(toward(s[k], d[k], b.level));
    }
}

// 8 bits: the palette tables, with 32 weights (level / 8).
template <bool keyed>
void fade_palette(uint8_t* d, const uint8_t* s, const uint8_t*, int32_t count,
                  const blend_setup& b) {
    const int32_t weight = b.level >> 3;
    for (int32_t i = 0; i < count; ++i) {
        if (keyed && s[i] == b.key) continue;
        d[i] = palette_blend(s[i], d[i], weight, b);
    }
}

blend_row choose16(int32_t layout, bool keyed, bool four_pixel) {
    const span_impl impl = current_span_impl();
    if (four_pixel) {
        if (impl == span_impl::reference) return fade16_grouped_reference;
        if (impl == span_impl::portable) return portable_grouped_fade(keyed);
        if (impl == span_impl::fast)
            if (blend_row wide = wide_grouped_fade(layout, keyed)) return wide;
        return native_grouped_fade(layout, keyed);
    }
    if (impl == span_impl::reference) return fade16_reference;
    return keyed ? scalar_for_layout<true>(layout) : scalar_for_layout<false>(layout);
}

} // namespace

blend_row choose_fade_row(const pixel_format& format, const blend_setup& setup, bool four_pixel) {
    const bool keyed = setup.keyed;
    switch (format.bits_per_pixel) {
    case 8:
        if (!setup.terms) return nullptr;
        return keyed ? fade_palette<true> : fade_palette<false>;
    case 16:
        return choose16(format.layout, keyed, four_pixel);
    case 24:
        return keyed ? fade_bytes<3, true> : fade_bytes<3, false>;
    case 32:
        return keyed ? fade_bytes<4, true> : fade_bytes<4, false>;
    default:
        return nullptr;
    }
}

} // namespace vilora
