// Alpha-mapped spans: every destination pixel moves towards the source by the
// source pixel's own alpha / 256; alpha 0 leaves it, alpha 255 copies.
#include "pictures/internal/blend_pixels.h"
#include "pictures/internal/blend_spans.h"
#include "pictures/internal/four_pixel.h"

namespace vilora {

namespace {

using namespace blend;

template <class Masks>
void alpha16_scalar(uint8_t* d, const uint8_t* s, const uint8_t* alpha, int32_t count,
                    const blend_setup& b) {
    for (int32_t i = 0; i < count; ++i, d += 2, s += 2) {
        const int32_t a = alpha[i];
        if (a == 0) continue;
        store16(d, a == 255 ? load16(s) : Masks::mix(load16(s), load16(d), a, b));
    }
}

// The reference scalar span, in channel units.
void alpha16_reference(uint8_t* d, const uint8_t* s, const uint8_t* alpha, int32_t count,
                       const blend_setup& b) {
    for (int32_t i = 0; i < count; ++i) {
        const int32_t a = alpha[i];
        if (a == 0) continue;
        store16(d + 2 * i, a == 255 ? load16(s + 2 * i)
                                    : toward_pixel(load16(s + 2 * i), load16(d + 2 * i), a, b));
    }
}

// The reference grouped span. A group of four whose alphas are all 0 is left,
// one whose alphas are all 255 is copied, any other gets the grouped formula
// on every lane (alpha 255 included); the last count % 4 pixels take the
// scalar rule.
void alpha16_grouped_reference(uint8_t* d, const uint8_t* s, const uint8_t* alpha, int32_t count,
                               const blend_setup& b) {
    const int32_t grouped_count = count / 4 * 4;
    for (int32_t g = 0; g < grouped_count; g += 4) {
        bool all_clear = true, all_solid = true;
        for (int32_t k = g; k < g + 4; ++k) {
            all_clear = all_clear && alpha[k] == 0;
            all_solid = all_solid && alpha[k] == 255;
        }
        if (all_clear) continue;
        for (int32_t k = g; k < g + 4; ++k)
            store16(d + 2 * k,
                    all_solid ? load16(s + 2 * k)
                              : grouped_pixel(load16(s + 2 * k), load16(d + 2 * k), alpha[k], b));
    }
    alpha16_reference(d + 2 * grouped_count, s + 2 * grouped_count, alpha + grouped_count,
                      count - grouped_count, b);
}

template <int bytes>
void alpha_bytes(uint8_t* d, const uint8_t* s, const uint8_t* alpha, int32_t count,
                 const blend_setup&) {
    for (int32_t i = 0; i < count; ++i, d += bytes, s += bytes) {
        const int32_t a = alpha[i];
        if (a == 0) continue;
        for (int k = 0; k < 3; ++k)
            d[k] = a == 255 ? s[k] : static_cast<uint8_t>(toward(s[k], d[k], a));
    }
}

// 8 bits: alphas from 248 up copy, since they fall on the palette's weight 31.
void alpha_palette(uint8_t* d, const uint8_t* s, const uint8_t* alpha, int32_t count,
                   const blend_setup& b) {
    for (int32_t i = 0; i < count; ++i) {
        const int32_t a = alpha[i];
        if (a == 0) continue;
        d[i] = a >= 248 ? s[i] : palette_blend(s[i], d[i], a >> 3, b);
    }
}

blend_row choose16(int32_t layout, bool four_pixel) {
    const span_impl impl = current_span_impl();
    if (four_pixel) {
        if (impl == span_impl::reference) return alpha16_grouped_reference;
        if (impl == span_impl::portable) return portable_grouped_alpha();
        return native_grouped_alpha(layout);
    }
    if (impl == span_impl::reference) return alpha16_reference;
    if (layout == layout_565) return alpha16_scalar<masks_565>;
    if (layout == layout_555) return alpha16_scalar<masks_555>;
    return alpha16_scalar<format_masks>;
}

} // namespace

blend_row choose_alpha_row(const pixel_format& format, const blend_setup& setup, bool four_pixel) {
    switch (format.bits_per_pixel) {
    case 8:
        return setup.terms ? alpha_palette : nullptr;
    case 16:
        return choose16(format.layout, four_pixel);
    case 24:
        return alpha_bytes<3>;
    case 32:
        return alpha_bytes<4>;
    default:
        return nullptr;
    }
}

} // namespace vilora
