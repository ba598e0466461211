#include "pictures/internal/blit_clipping.h"

namespace vilora {

bool clip_blit(blit_rect& rect, const clip_rect& clip) {
    placed_rect r{rect.x, rect.y, rect.left, rect.top, rect.right, rect.bottom};
    clip_placed(r, clip);
    if (r.empty()) return false;
    // Something is left, so every value lies between a 32-bit input and a clip edge.
    rect = {static_cast<int32_t>(r.x),     static_cast<int32_t>(r.y),
            static_cast<int32_t>(r.left),  static_cast<int32_t>(r.top),
            static_cast<int32_t>(r.right), static_cast<int32_t>(r.bottom)};
    return true;
}

} // namespace vilora
