// A plain rectangle; right and bottom are exclusive.
#pragma once

#include <cstdint>

namespace vilora {

struct clip_rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    static clip_rect from_size(int32_t x, int32_t y, int32_t width, int32_t height) {
        return {x, y, x + width, y + height};
    }
};

// A source rectangle (right and bottom exclusive) placed with its top-left
// corner at (x, y), in 64 bits: x + width can leave 32 bits for a rectangle
// placed far right.
struct placed_rect {
    int64_t x = 0;
    int64_t y = 0;
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
};

// The clipping rule of every copy and picture blit: the placed rectangle is
// cut to `clip`, leaving their intersection, which may be empty.
inline void clip_placed(placed_rect& r, const clip_rect& clip) {
    if (r.x + (r.right - r.left) > clip.right) r.right = r.left - r.x + clip.right;
    if (r.x < clip.left) {
        r.left += clip.left - r.x;
        r.x = clip.left;
    }
    if (r.y < clip.top) {
        r.top += clip.top - r.y;
        r.y = clip.top;
    }
    if (r.y + (r.bottom - r.top) > clip.bottom) r.bottom = r.top - r.y + clip.bottom;
}

} // namespace vilora
