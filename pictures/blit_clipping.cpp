#include "pictures/blit_clipping.h"

namespace vilora {

bool clip_blit(blit_rect& rect, const clip_rect& clip) {
    // In 64 bits: x + width can leave 32 bits for a picture placed far right.
    int64_t x = rect.x, y = rect.y;
    int64_t left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
    if (x + (right - left) > clip.right) right = left - x + clip.right;
    if (x < clip.left) {
        left += clip.left - x;
        x = clip.left;
    }
    if (y < clip.top) {
        top += clip.top - y;
        y = clip.top;
    }
    if (y + (bottom - top) > clip.bottom) bottom = top - y + clip.bottom;
    if (right <= left || bottom <= top) return false;
    // Something is left, so every value lies between a 32-bit input and a clip edge.
    rect = {static_cast<int32_t>(x),   static_cast<int32_t>(y),     static_cast<int32_t>(left),
            static_cast<int32_t>(top), static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
    return true;
}

} // namespace vilora
