#include "parts/odistort.h"
#include "engine/data_set.h"

#include "parts/part_pixels.h"

namespace vilora {

odistort::class_statics odistort::statics;

namespace {

constexpr const char* labels[3] = {"one", "two", "three"};

// The copies: the usual projection about (120, 100), then the whole position
// scaled by 0.6.
constexpr scene_projection copy_projection = {.centre_x = {120.0f, 120.0f, 120.0f},
                                              .centre_y = {100.0f, 100.0f, 100.0f},
                                              .shrink_x = 0.6f,
                                              .shrink_y = 0.6f};

} // namespace

odistort::odistort(display_device* display) : scene_part(data_set::vosaq, 220.0f) {
    if (!valid) return;
    if (pictures.add_picture(display, "lifelife.bmp", 0, 0) == -1) valid = false;
    label_font = create_font("MS SANS SERIFF", 12, 12);
}

void odistort::run(display_device* display, int32_t, int32_t x, int32_t y) {
    if (!select_scene()) return;
    pictures.draw_picture(display->back.get(), x, y, 0);
    advance_frame();
    draw_wireframe(display, x, y);
    for (int32_t& position : statics.scroll) {
        position += 4;
        if (position > 320) position -= 320;
    }
    draw_copies(display, x, y);
    for (size_t k = 0; k < 3; ++k)
        draw_text(display->back.get(), x + statics.scroll[k] + 50, y + 120, 0, label_font, "%s",
                  labels[k]);
}

// Every face, green by the depth of corner c.
void odistort::draw_wireframe(display_device* display, int32_t x, int32_t y) {
    for_each_mesh(display, x, y, [&](const raster_target& raster) {
        for_each_face(1, centred_at(120.0f, 100.0f), [&] {
            const int32_t green = depth_value(vertex[2] * 0.5f);
            draw_face_lines(raster, pack_colour(*display->format, 9, green, 9));
        });
    });
}

// The first third of each mesh's faces, red by depth, once per copy, moved
// 50 rows down into the band.
void odistort::draw_copies(display_device* display, int32_t x, int32_t y) {
    for_each_mesh(display, x, y, [&](const raster_target& raster) {
        for_each_face(3, copy_projection, [&] {
            const int32_t red = depth_value(vertex[2] * 0.5f);
            const int32_t colour = pack_colour(*display->format, red, 89, 89);
            for (const int32_t left : statics.scroll) fill_face(raster, colour, left, 50);
        });
    });
}

} // namespace vilora
