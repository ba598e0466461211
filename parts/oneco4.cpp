#include "parts/oneco4.h"
#include "engine/data_set.h"

#include "engine/engine.h"
#include "parts/part_pixels.h"

namespace vilora {

namespace {

// The sprite hangs 50 pixels left of and 90 above the face's corner a.
constexpr int32_t sprite_left = 50;
constexpr int32_t sprite_up = 90;

} // namespace

oneco4::oneco4(display_device* display) : scene_part(data_set::sroub2, 220.0f) {
    if (!valid) return;
    // 30 frames in, where the screws are already turning.
    frame += 30.0f;
    if (pictures.add_picture(display, "jug.bmp", 0, 0) == -1) valid = false;
    if (pictures.add_picture_sequence(display, "x%d.bmp", 12, 0, 0) == -1) valid = false;
    unused_font = create_font("MS SANS SERIFF", 12, 12);
}

void oneco4::run(display_device* display, int32_t mode, int32_t x, int32_t y) {
    if (!select_scene()) return;
    pictures.draw_picture(display->back.get(), x, y, 0);
    draw_stripe(display, x, y);
    pictures.draw_picture(display->back.get(), x + 10, y + 10, 2 * random_int(6) + 2);
    advance_frame();
    draw_sprites(display, x, y);
    if (mode == 1) draw_noise_columns(display, x, y);
}

// Columns 28 to 30, each row lit with a chance of one in three.
void oneco4::draw_stripe(display_device* display, int32_t x, int32_t y) {
    const locked_pixels back(display->back.get());
    const uint16_t olive = pack_colour(*display->format, 99, 107, 16);
    for (int32_t i = 0; i < 200; ++i) {
        if (random_int(3) != 2) continue;
        for (int32_t column = 28; column <= 30; ++column) back.write(y + i, x + column, olive);
    }
}

// The first sixteenth of every mesh's faces; the level is corner c's depth / 3
// (in float, truncated), so far faces show their sprite more strongly. The
// faded blit locks the back surface itself.
void oneco4::draw_sprites(display_device* display, int32_t x, int32_t y) {
    for_each_mesh(nullptr, x, y, [&](const raster_target&) {
        for_each_face(16, centred_at(160.0f, 90.0f), [&] {
            const int32_t level = depth_value(vertex[2] * 0.33333334f);
            const int32_t sprite = 2 * random_int(6) + 1;
            pictures.draw_picture_faded(display->back.get(), x + points[0].x - sprite_left,
                                        y + points[0].y - sprite_up, sprite, level);
        });
    });
}

// 50 random columns, each row lit grey with a chance of one in three.
void oneco4::draw_noise_columns(display_device* display, int32_t x, int32_t y) {
    const locked_pixels back(display->back.get());
    const uint16_t grey = pack_colour(*display->format, 220, 220, 220);
    for (int32_t line = 0; line < 50; ++line) {
        const int32_t h = random_int(320);
        for (int32_t i = 0; i < 200; ++i)
            if (random_int(3) == 2) back.write(y + i, x + h, grey);
    }
}

} // namespace vilora
