#include "parts/oneco3.h"

#include "parts/displacement_pass.h"
#include "parts/flicker_caption.h"

namespace vilora {

oneco3::class_statics oneco3::statics;

oneco3::oneco3(display_device* display) {
    valid = true;
    if (maps.add_picture_sequence(display, "%d.bmp", 3, 0, 0) == -1) valid = false;
    if (sprites.add_picture(display, "zelenac.bmp", 0, 0) == -1) valid = false;
    if (sprites.add_picture(display, "litac.bmp", 0, 0) == -1) valid = false;
    caption_font = create_font("MS SANS SERIFF", 12, 12);
}

// Rows outside 52..150 keep the backdrop. The maps are read up to column 419
// (i + 2 * 50) and row 200; the source up to 319 x 149.
void oneco3::run(display_device* display, int32_t, int32_t x, int32_t y) {
    sprites.draw_picture(display->back.get(), x, y, 0);
    statics.motion.step();
    displacement pass = displacement_of(maps, 1, 0, statics.motion);
    pass.first_column = 0;
    pass.last_column = 319;
    pass.first_row = 52;
    pass.last_row = 150;
    run_displacement(display, pass, x, y);
    climb_sprites(display, x, y);
    draw_flicker_caption(display->back.get(), caption_font, "quit the scene", statics.clean_frames,
                         x + 20, y + 170);
}

// Sprites 36 pixels apart move up one pixel per call; after 36 calls the
// column has moved by one sprite and starts over, so it looks continuous.
// (climb + 235) / 36 copies: 6 while climb is below 17, 7 from 17 on.
void oneco3::climb_sprites(display_device* display, int32_t x, int32_t y) {
    if (++statics.climb > 35) statics.climb = 0;
    const int32_t copies = (statics.climb + 235) / 36;
    for (int32_t n = 0; n < copies; ++n)
        sprites.draw_picture(display->back.get(), x + 290, y - statics.climb + 36 * n, 1);
}

} // namespace vilora
