#include "parts/oland.h"
#include "engine/data_set.h"

#include "engine/engine.h"
#include "parts/part_pixels.h"

#include <algorithm>

namespace vilora {

oland::class_statics oland::statics;

namespace {

// The flight never goes back to the scene's frames below 100.
constexpr float first_frame = 100.0f;
// Faces with a corner nearer than this are not drawn.
constexpr int32_t nearest_depth = 12;
constexpr int32_t flare_row = 20;

} // namespace

oland::oland(display_device* display) : scene_part(data_set::surfonsurf, 220.0f) {
    if (!valid) return;
    frame = first_frame;
    if (pictures.add_picture(display, "hool.bmp", 0, 1) == -1) valid = false;
    if (pictures.add_psd_picture(display, "flare1.psd") == -1) valid = false;
    caption_font = create_font("MS SANS SERIFF", 12, 12);
}

void oland::run(display_device* display, int32_t, int32_t x, int32_t y) {
    if (!select_scene()) return;
    surface* back = display->back.get();
    back->clear(0);
    ping_pong_step(frame, statics.rising, first_frame, last_frame);
    show_scene_frame(frame);
    flare_x = -1;
    draw_wireframe(display, x, y);
    pictures.draw_picture_alpha(back, x + flare_x, y + flare_row, 1);
    draw_streaks(display, x, y);
    pictures.draw_picture(back, x, y, 0);
    draw_text(back, x + 20, y + 170, 0, caption_font, "%s", caption);
}

// The first third of every mesh's faces, those with all three corners at
// depth 12 or more: grey by the average row of the corners plus 50 (integer
// division), at most 255.
void oland::draw_wireframe(display_device* display, int32_t x, int32_t y) {
    for_each_mesh(display, x, y, [&](const raster_target& raster) {
        for_each_face(3, centred_at(160.0f, 90.0f), [&] {
            const scene_point &a = points[0], &b = points[1], &c = points[2];
            if (a.spare < nearest_depth || b.spare < nearest_depth || c.spare < nearest_depth)
                return;
            if (flare_x == -1) flare_x = b.x;
            const int32_t grey = std::min((a.y + b.y + c.y) / 3 + 50, 255);
            draw_face_lines(raster, pack_colour(*display->format, grey, grey, grey));
        });
    });
}

// 20 streaks down rows 20 to 169 of a random column: each row lit with a
// chance of one in three and then, with a chance of one in two, its right
// neighbour too. A neighbour right of the picture area's last column is not
// written, but its chance is drawn all the same.
void oland::draw_streaks(display_device* display, int32_t x, int32_t y) const {
    const int32_t area_right = display->clip.right;
    const locked_pixels back(display->back.get());
    const uint16_t green = pack_colour(*display->format, 20, 220, 20);
    for (int32_t streak = 0; streak < 20; ++streak) {
        const int32_t c = random_int(320);
        for (int32_t i = 20; i < 170; ++i) {
            if (random_int(3) != 2) continue;
            back.write(y + i, x + c, green);
            if (random_int(2) == 0 && x + c + 1 < area_right) back.write(y + i, x + c + 1, green);
        }
    }
}

} // namespace vilora
