#include "parts/oneco0.h"
#include "engine/data_set.h"

#include "engine/engine.h"
#include "parts/part_pixels.h"
#include "raster/raster.h"

#include <algorithm>

namespace vilora {

oneco0::class_statics oneco0::statics;

namespace {

// The scene zoomed in (the camera's projection constants each 200 larger)
// and drawn 100 pixels left of and 50 below where it projects.
constexpr scene_projection zoomed = [] {
    scene_projection p = centred_at(160.0f, 90.0f);
    p.persp_offset = 200.0f;
    return p;
}();
constexpr int32_t shift_x = -100;
constexpr int32_t shift_y = 50;

constexpr float spin_scale = 5.0f;

} // namespace

oneco0::oneco0(display_device* display) : scene_part(data_set::sperm, 320.0f) {
    if (!valid) return;
    if (pictures.add_picture(display, "housena.bmp", 0, 0) == -1) valid = false;
    if (pictures.add_picture(display, "mirror3.bmp", 0, 1) == -1) valid = false;
}

void oneco0::run(display_device* display, int32_t, int32_t x, int32_t y) {
    if (!select_scene()) return;
    pictures.draw_picture(display->back.get(), x, y, 0);
    if (++statics.spin > 360) statics.spin = 0;
    pictures.draw_picture_rotated(display->back.get(), x, y, 1, statics.spin, spin_scale);
    ping_pong_step(frame, statics.rising, 0.0f, last_frame);
    show_scene_frame(frame);
    draw_scene(display, x, y);
}

// Every face of every mesh: a white triangle on every second column, its edge
// a-b in black; the scan line counter runs on across meshes and frames.
void oneco0::draw_scene(display_device* display, int32_t x, int32_t y) {
    const uint16_t white = pack_colour(*display->format, 255, 255, 255);
    const uint16_t black = pack_colour(*display->format, 0, 0, 0);
    for_each_mesh(display, x, y, [&](const raster_target& raster) {
        for_each_face(1, zoomed, [&] {
            fill_face_striped(raster, white, shift_x, shift_y);
            const scene_point &a = points[0], &b = points[1];
            draw_line(raster, a.x + shift_x, a.y + shift_y, b.x + shift_x, b.y + shift_y, black);
            if (++statics.scan_count > 10) statics.scan_count = 0;
            if (statics.scan_count == 0) draw_scan_line(display, x, y);
        });
    });
}

// From corner a (moved as the face) to the picture area's last column, grey
// with a chance of one in five; the row must lie strictly inside the picture
// area's rows, but the chances are drawn whether it does or not. Columns left
// of the picture area are no part of the span.
void oneco0::draw_scan_line(display_device* display, int32_t x, int32_t y) const {
    const clip_rect& area = display->clip;
    const int32_t row = y + points[0].y + shift_y;
    const bool inside = row > y && row < area.bottom;
    const uint16_t grey = pack_colour(*display->format, 120, 120, 120);
    const locked_pixels back(display->back.get());
    for (int32_t column = std::max(x + points[0].x + shift_x, x); column < area.right; ++column)
        if (random_int(5) == 2 && inside) back.write(row, column, grey);
}

} // namespace vilora
