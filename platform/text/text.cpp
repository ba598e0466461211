#include "platform/display/internal/context_colour.h"
#include "platform/display/surface.h"
#include "platform/text/internal/font_glyphs.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace vilora {

namespace {
// Formatted text is cut to this many bytes with its terminating NUL.
constexpr size_t text_buffer_size = 2048;

void draw_glyph(const device_context& context, const context_colour& colours, uint32_t pixel,
                const glyph_image& glyph, int64_t left, int64_t top) {
    const int bpp = colours.bytes_per_pixel();
    for (int32_t row = 0; row < glyph.rows; ++row) {
        const int64_t y = top + row;
        if (y < 0 || y >= context.height) continue;
        uint8_t* line = context.pixels + y * context.pitch;
        for (int32_t column = 0; column < glyph.width; ++column) {
            const int64_t x = left + column;
            if (x < 0 || x >= context.width || !glyph.covers(column, row)) continue;
            colours.store(line + x * bpp, pixel);
        }
    }
}
} // namespace

void text_out(device_context& context, int32_t x, int32_t y, const char* text, size_t length) {
    const font* text_font = context.selected_font ? context.selected_font : default_font();
    if (!text_font || !text || !context.pixels) return;
    context_colour colours(context);
    if (!colours.usable()) return;
    const uint32_t pixel = colours.pixel_of_colour_value(context.text_colour);
    // In 64 bits: a long line started far to the right must not wrap around.
    int64_t pen = x;
    const int64_t baseline = int64_t{y} + text_font->ascent;
    for (size_t i = 0; i < length; ++i) {
        const glyph_image& glyph = font_glyph(*text_font, static_cast<uint8_t>(text[i]));
        draw_glyph(context, colours, pixel, glyph, pen + glyph.left, baseline - glyph.top);
        pen += glyph.advance;
    }
}

int draw_text(surface* target, int32_t x, int32_t y, uint32_t colour, const font* text_font,
              const char* format, ...) {
    if (!target || !format) return 0;
    char text[text_buffer_size];
    va_list values;
    va_start(values, format);
    const int written = std::vsnprintf(text, sizeof text, format, values);
    va_end(values);
    if (written < 0) return 0;

    const bool held = target->flags & surface_dc_held;
    if (!held && target->get_dc() != 0) return 0;
    device_context& context = *target->dc;
    context.background_mode = 1;
    context.text_colour = colour;
    if (text_font) context.selected_font = text_font;
    text_out(context, x, y, text, std::strlen(text));
    if (!held) target->release_dc();
    return 0;
}

} // namespace vilora
