#include "parts/ogreety.h"
#include "engine/data_set.h"

#include "engine/engine.h"
#include "parts/part_pixels.h"

namespace vilora {

ogreety::class_statics ogreety::statics;

const std::array<const char*, 14> ogreety::names = {
    "ferns",  "moths",  "otters", "comets",  "lemurs", "quarks", "ravens",
    "tapirs", "gnomes", "nomads", "wombats", "newts",  "pixies", "yaks",
};

namespace {

constexpr uint32_t name_colour = 0xA06464; // (100, 100, 160) as 0x00BBGGRR

// The face whose corner a the bubble hangs on.
constexpr int32_t bubble_face = 10;

} // namespace

ogreety::ogreety(display_device* display) : scene_part(data_set::psyki, 220.0f) {
    if (!valid) return;
    if (pictures.add_picture(display, "winditup.bmp", 0, 0) == -1) valid = false;
    for (const char* name : {"carky.bmp", "hlask9.bmp", "ukaz.bmp"})
        if (pictures.add_picture(display, name, 0, 1) == -1) valid = false;
    name_font = create_font("MS SANS SERIFF", 12, 12);
}

void ogreety::run(display_device* display, int32_t mode, int32_t x, int32_t y) {
    if (!select_scene()) return;
    if (mode == 0) angle += 5;
    if (mode == 1) angle -= 5;
    if (angle > 360) angle -= 360;
    if (angle < 0) angle += 360;
    // Scale 1.6 in mode 0, 2.6 in mode 1.
    pictures.draw_picture_rotated(display->back.get(), x + 160, y + 100, 0, angle,
                                  static_cast<float>(mode + 1.6));
    if (mode > 0) {
        advance_frame();
        draw_wireframe(display, x, y);
    }
    pictures.draw_picture_faded(display->back.get(), x, y, 1, 80);
    if (mode == 0 && angle < 180)
        pictures.draw_picture_faded(display->back.get(), x + 60, y + 80, 2, 150);
    if (mode <= 0) return;
    if (--statics.name_timer == 0) {
        statics.name_timer = 5;
        name_index = random_int(14);
    }
    draw_bubble(display, x, y);
}

// Every face of every mesh, coloured by the depth z of corner c as
// (z / 2, z / 3, z / 2).
void ogreety::draw_wireframe(display_device* display, int32_t x, int32_t y) {
    for_each_mesh(display, x, y, [&](const raster_target& raster) {
        for_each_face(1, centred_at(160.0f, 90.0f), [&] {
            const int32_t red_blue = depth_value(vertex[2] * 0.5f);
            const int32_t green = depth_value(vertex[2] * 0.33333334f);
            draw_face_lines(raster, pack_colour(*display->format, red_blue, green, red_blue));
            if (face_index == bubble_face) {
                bubble_x = points[0].x;
                bubble_y = points[0].y;
            }
        });
    });
}

void ogreety::draw_bubble(display_device* display, int32_t x, int32_t y) {
    pictures.draw_picture_faded(display->back.get(), x + bubble_x, y + bubble_y, 3, 90);
    draw_text(display->back.get(), x + bubble_x + 24, y + bubble_y + 77, name_colour, name_font,
              "%s", names[static_cast<size_t>(name_index)]);
}

} // namespace vilora
