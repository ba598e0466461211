// Rendered glyphs of a font, for the text output. Internal to the platform layer.
#pragma once

#include "platform/text/text.h"

#include <cstdint>
#include <vector>

namespace vilora {

// One glyph as a 1-bit mask, rows top to bottom, the leftmost pixel in the high
// bit of each byte. `left` and `top` place its top-left pixel relative to the pen
// on the baseline (top counts upwards); the pen then moves `advance` pixels.
struct glyph_image {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t rows = 0;
    int32_t pitch = 0;
    int32_t advance = 0;
    std::vector<uint8_t> bits;

    bool covers(int32_t column, int32_t row) const {
        return bits[static_cast<size_t>(row * pitch + column / 8)] & (0x80 >> (column % 8));
    }
};

// The glyph of an ANSI (Windows-1252) character code, rendered once and kept.
const glyph_image& font_glyph(const font& text_font, uint8_t code);

} // namespace vilora
