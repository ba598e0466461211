// Plain and colour-keyed copies of whole pictures through the display's fast copy.
#include "pictures/internal/blit_clipping.h"
#include "pictures/picture_list.h"

namespace vilora {

void picture_list::draw_picture(surface* destination, int32_t x, int32_t y, int32_t index) const {
    surface* picture = picture_surface(index);
    if (!picture || !destination || !picture->clip) return;
    blit_rect rect{x, y, 0, 0, picture->width, picture->height};
    if (!clip_blit(rect, *picture->clip)) return;
    // The fast copy restores lost surfaces and retries once; it also keeps the
    // copy inside a destination smaller than the clip rectangle.
    picture->blit_to(destination, rect.x, rect.y, rect.left, rect.top, rect.right, rect.bottom);
}

} // namespace vilora
