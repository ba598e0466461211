#include "pictures/internal/blend_spans.h"
#include "platform/display/palette.h"

namespace vilora {

namespace {
span_impl forced_impl = span_impl::fast;
} // namespace

void force_span_impl(span_impl impl) {
    forced_impl = impl;
}

span_impl current_span_impl() {
    return forced_impl;
}

blend_setup make_blend_setup(const pixel_format& format, const palette* screen_palette) {
    blend_setup b;
    b.masks[0] = format.red_mask;
    b.masks[1] = format.green_mask;
    b.masks[2] = format.blue_mask;
    b.masks_x4[0] = format.red_mask_x4;
    b.masks_x4[1] = format.green_mask_x4;
    b.masks_x4[2] = format.blue_mask_x4;
    b.shifts[0] = format.red_left_shift;
    b.shifts[1] = format.green_left_shift;
    b.shifts[2] = format.blue_left_shift;
    if (screen_palette &&
        screen_palette->blend_terms.size() == static_cast<size_t>(blend_weights) * 256 &&
        screen_palette->blend_results.size() == 32768) {
        b.terms = screen_palette->blend_terms.data();
        b.results = screen_palette->blend_results.data();
    }
    return b;
}

} // namespace vilora
