// The clipping rule of the copies (clip_placed) for picture drawing, on 32-bit
// rectangles: a source rectangle placed with its top-left corner at (x, y) is
// cut to a clip rectangle, and a draw with nothing left is skipped.
#pragma once

#include "platform/display/clip_rect.h"

#include <cstdint>

namespace vilora {

struct blit_rect {
    int32_t x = 0; // destination of the source rectangle's top-left corner
    int32_t y = 0;
    int32_t left = 0; // source rectangle, right and bottom exclusive
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t columns() const { return right - left; }
    int32_t rows() const { return bottom - top; }
};

// Applies the rule in place; false when nothing is left to draw (no columns or
// no rows). Positions anywhere in 32 bits are handled without overflow.
bool clip_blit(blit_rect& rect, const clip_rect& clip);

} // namespace vilora
