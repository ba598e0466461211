#include "parts/otitulek.h"
#include "engine/data_set.h"

#include "engine/engine.h"
#include "engine/numbers.h"
#include "parts/noise_lines.h"
#include "parts/part_pixels.h"

#include <cmath>

namespace vilora {

namespace {

constexpr int32_t fade_limit = 183;

// Corner a about (150, 110), b about (170, 90), c about (160, 100), at twice
// the camera's projection constants: the wireframe is drawn large and each
// triangle's corners are pulled towards a centre of their own.
constexpr scene_projection wire_projection = {
    .centre_x = {150.0f, 170.0f, 160.0f}, .centre_y = {110.0f, 90.0f, 100.0f}, .persp_scale = 2.0f};

} // namespace

otitulek::otitulek(display_device* display) : scene_part(data_set::hedge, 320.0f) {
    if (!valid) return;
    last_frame = 30.0f;
    if (tops.add_picture_sequence(display, "top%d.bmp", 4, 0, 0) == -1) valid = false;
    if (mushroom.add_picture(display, "mushk.bmp", 0, 0) == -1) valid = false;
}

void otitulek::run(display_device* display, int32_t mode, int32_t x, int32_t y) {
    if (!select_scene()) return;
    tops.draw_picture(display->back.get(), x, y, random_int(4));
    if (mode == 5) return;

    ping_pong_step(frame, rising, 0.0f, last_frame);
    if (++angle > 360) angle -= 360;
    show_scene_frame(last_frame - frame);
    draw_solid_pass(display, x, y);

    step_wire_frame();
    show_scene_frame(static_cast<float>(wire_frame));
    draw_wire_pass(display, mode, x, y);

    draw_noise(display, mode, x, y);

    if (mode >= 4) {
        if (++fade > fade_limit) fade = fade_limit;
        mushroom.draw_picture_faded(display->back.get(), x, y + 70 + random_int(4), 0, fade);
    }
}

// The first half of every mesh's faces, shifted round a circle of radius 50
// whose centre lies 20 pixels up and left; grey by the depth of corner c.
void otitulek::draw_solid_pass(display_device* display, int32_t x, int32_t y) {
    const double radians = deg_to_rad(angle);
    const auto offset_x = static_cast<int32_t>(50.0 * std::cos(radians) - 20.0);
    const auto offset_y = static_cast<int32_t>(50.0 * std::sin(radians) - 20.0);
    for_each_mesh(display, x, y, [&](const raster_target& raster) {
        for_each_face(2, centred_at(160.0f, 100.0f), [&] {
            const int32_t grey = depth_value(vertex[2]);
            fill_face(raster, pack_colour(*display->format, grey, grey, grey), offset_x, offset_y);
        });
    });
}

// One scene frame every tenth call, swinging between 0 and last_frame.
void otitulek::step_wire_frame() {
    if (--wire_delay >= 1) return;
    if (wire_rising) {
        ++wire_frame;
        if (static_cast<float>(wire_frame) > last_frame) {
            wire_rising = false;
            --wire_frame;
        }
    } else if (--wire_frame < 0) {
        wire_frame = 0;
        wire_rising = true;
    }
    wire_delay = 10;
}

// Modes 0 and 1 walk and project the wireframe without drawing it.
void otitulek::draw_wire_pass(display_device* display, int32_t mode, int32_t x, int32_t y) {
    for_each_mesh(display, x, y, [&](const raster_target& raster) {
        for_each_face(2, wire_projection, [&] {
            const int32_t grey = depth_value(vertex[2] * 0.5f);
            if (mode >= 2) draw_face_lines(raster, pack_colour(*display->format, grey, grey, grey));
        });
    });
}

// The chance of one in ten is drawn only in the modes that use it, so modes 0
// and 3 leave the random sequence to the other draws.
void otitulek::draw_noise(display_device* display, int32_t mode, int32_t x, int32_t y) {
    int32_t lines = 0;
    if (mode >= 1 && mode != 3 && random_int(10) == 3) lines = 50;
    if (mode == 3) lines = 200;
    if (lines == 0) return;
    const locked_pixels back(display->back.get());
    draw_noise_lines(back, lines, pack_colour(*display->format, 220, 220, 220), x, y);
}

} // namespace vilora
