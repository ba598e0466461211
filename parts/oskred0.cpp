#include "parts/oskred0.h"
#include "engine/data_set.h"

#include "engine/engine.h"
#include "engine/numbers.h"
#include "parts/part_pixels.h"

namespace vilora {

namespace {

struct credit_move {
    int32_t mode;
    size_t counter; // index into drop, and the picture is counter + 1
    int32_t change;
    int32_t place_y; // the picture's resting row
};

// Rising modes count down towards the picture's place, falling ones count up.
constexpr credit_move credit_moves[] = {
    {2, 0, -1, 154}, {5, 0, +1, 154}, {3, 1, -1, 131},
    {6, 1, +1, 131}, {4, 2, -1, 154}, {7, 2, +1, 154},
};

} // namespace

oskred0::oskred0(display_device* display) : scene_part(data_set::vosaq, 320.0f) {
    if (!valid) return;
    for (const char* name : {"credits.bmp", "cred-code.bmp", "cred-music.bmp", "cred-3d.bmp"})
        if (pictures.add_picture(display, name, 0, 0) == -1) valid = false;
}

void oskred0::run(display_device* display, int32_t mode, int32_t x, int32_t y) {
    if (!select_scene()) return;
    pictures.draw_picture(display->back.get(), x, y, 0);
    draw_credit(display, mode, x, y);
    advance_frame();
    draw_scene(display, x, y);
}

void oskred0::draw_credit(display_device* display, int32_t mode, int32_t x, int32_t y) {
    for (const credit_move& move : credit_moves) {
        if (move.mode != mode) continue;
        int32_t& steps = drop[move.counter];
        steps += move.change;
        if (steps < 0) steps = 0;
        const auto fall = static_cast<int32_t>(step_sum(steps));
        pictures.draw_picture(display->back.get(), x + 3, y + move.place_y + fall,
                              static_cast<int32_t>(move.counter) + 1);
    }
}

// Per mesh: the first half of the faces solid, green by the depth of corner
// c; then one jitter of 0..4 pixels for the wireframe of its first eighth.
void oskred0::draw_scene(display_device* display, int32_t x, int32_t y) {
    for_each_mesh(display, x, y, [&](const raster_target& raster) {
        for_each_face(2, centred_at(120.0f, 100.0f), [&] {
            const int32_t green = depth_value(vertex[2] * 0.5f);
            fill_face(raster, pack_colour(*display->format, 9, green, 9));
        });
        const int32_t jitter = random_int(5);
        for_each_face(8, centred_at(120.0f, 100.0f, 2.0f), [&] {
            const int32_t grey = depth_value(vertex[2]);
            draw_face_lines(raster, pack_colour(*display->format, grey, grey, grey), jitter);
        });
    });
}

} // namespace vilora
