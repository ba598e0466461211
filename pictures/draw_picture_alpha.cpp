// Alpha-mapped blit of a whole picture: the opacity of every pixel comes from
// the picture's alpha map, indexed by the picture's own column and row.
#include "engine/engine.h"
#include "pictures/internal/blend_spans.h"
#include "pictures/internal/blit_setup.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"

namespace vilora {

void picture_list::draw_picture_alpha(surface* destination, int32_t x, int32_t y,
                                      int32_t index) const {
    surface* picture = picture_surface(index);
    if (!picture || !destination) return;
    const pixel_format* format = blit_format(*picture, *destination);
    if (!format) return;
    const blit_lock lock(*picture, *destination);
    // Only pictures with an alpha map can be drawn this way; others draw nothing.
    if (!picture->alpha_map || !lock.ok()) return;
    const int bytes = blit_pixel_bytes(*format, *picture, *destination);
    blit_rows placed;
    if (!bytes || !place_blit(*picture, *destination, x, y, bytes, placed)) return;

    const blend_setup setup =
        make_blend_setup(*format, picture->owner ? picture->owner->screen_palette.get() : nullptr);
    const blend_row row = choose_alpha_row(*format, setup, processor.cpu_has_mmx);
    if (!row) return;
    // The alpha map has the width and height the picture had when it was made.
    const auto alpha_pitch = static_cast<ptrdiff_t>(picture->width);
    const uint8_t* alpha =
        picture->alpha_map.get() + placed.source_top * alpha_pitch + placed.source_left;
    for (int32_t r = 0; r < placed.rows; ++r)
        row(placed.destination + static_cast<ptrdiff_t>(r) * placed.destination_pitch,
            placed.source + static_cast<ptrdiff_t>(r) * placed.source_pitch,
            alpha + r * alpha_pitch, placed.columns, setup);
}

} // namespace vilora
