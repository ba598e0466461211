// Cross-fade of a whole picture over the destination, computed by the
// processor on the locked surfaces.
#include "engine/engine.h"
#include "pictures/internal/blend_spans.h"
#include "pictures/internal/blit_setup.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"

#include <algorithm>

namespace vilora {

void picture_list::draw_picture_faded(surface* destination, int32_t x, int32_t y, int32_t index,
                                      int32_t level) const {
    surface* picture = picture_surface(index);
    if (!picture || !destination) return;
    const pixel_format* format = blit_format(*picture, *destination);
    if (!format) return;
    const blit_lock lock(*picture, *destination);
    const int bytes = blit_pixel_bytes(*format, *picture, *destination);
    blit_rows placed;
    if (!lock.ok() || !bytes || !place_blit(*picture, *destination, x, y, bytes, placed)) return;

    blend_setup setup =
        make_blend_setup(*format, picture->owner ? picture->owner->screen_palette.get() : nullptr);
    // Levels are 0..255; others would leave the 8-bit tables and the 16-bit lanes.
    setup.level = std::clamp(level, 0, 255);
    setup.key = picture->colour_key;
    setup.keyed = (picture->flags & surface_colour_keyed) && colour_key_fits(*format, setup.key);
    const blend_row row = choose_fade_row(*format, setup, processor.cpu_has_mmx);
    if (!row) return;
    for (int32_t r = 0; r < placed.rows; ++r)
        row(placed.destination + static_cast<ptrdiff_t>(r) * placed.destination_pitch,
            placed.source + static_cast<ptrdiff_t>(r) * placed.source_pitch, nullptr,
            placed.columns, setup);
}

} // namespace vilora
