#include "parts/houp.h"
#include "engine/data_set.h"

#include "engine/engine.h"
#include "parts/part_pixels.h"
#include "raster/raster.h"

#include <algorithm>

namespace vilora {

houp::class_statics houp::statics;

namespace {

constexpr int32_t brightest_grey = 100;
constexpr uint32_t digit_colour = 0x0000C8; // (200, 0, 0) as 0x00BBGGRR

} // namespace

houp::houp(display_device* display) : scene_part(data_set::psyki, 220.0f) {
    if (!valid) return;
    if (pictures.add_picture(display, "glit.bmp", 0, 0) == -1) valid = false;
    digit_font = create_font("MS SANS SERIFF", 12, 12);
}

void houp::run(display_device* display, int32_t, int32_t x, int32_t y) {
    if (!select_scene()) return;
    pictures.draw_picture(display->back.get(), x, y, 0);
    // Backwards, and round from the first frame to the last.
    frame -= 1.0f;
    if (frame < 0.0f) frame = last_frame;
    show_scene_frame(frame);
    statics.stretch.step();
    draw_wireframe(display, x, y);
    draw_digit_rows(display, x, y);
}

// Every face: x = truncate((persp_x * x / z + 50) * stretch), grey by corner
// c's depth / 3, never brighter than 100.
void houp::draw_wireframe(display_device* display, int32_t x, int32_t y) {
    scene_projection breathing = centred_at(50.0f, 90.0f);
    breathing.shrink_x = statics.stretch.value;
    for_each_mesh(display, x, y, [&](const raster_target& raster) {
        for_each_face(1, breathing, [&] {
            const int32_t grey = std::min(depth_value(vertex[2] * 0.33333334f), brightest_grey);
            const uint16_t colour = pack_colour(*display->format, grey, grey, grey);
            draw_shaken_line(raster, points[0], points[1], colour);
            draw_shaken_line(raster, points[1], points[2], colour);
            draw_shaken_line(raster, points[0], points[2], colour);
        });
    });
}

// Each of the four coordinates moved by its own 0..9, drawn in the order
// x0, y0, x1, y1.
void houp::draw_shaken_line(const raster_target& raster, const scene_point& from,
                            const scene_point& to, uint16_t colour) const {
    const int32_t x0 = from.x + random_int(10);
    const int32_t y0 = from.y + random_int(10);
    const int32_t x1 = to.x + random_int(10);
    const int32_t y1 = to.y + random_int(10);
    draw_line(raster, x0, y0, x1, y1, colour);
}

// Five rows of six random digits, 10 pixels apart from row 77 on.
void houp::draw_digit_rows(display_device* display, int32_t x, int32_t y) const {
    for (int32_t line = 0; line < 5; ++line) {
        char digits[7] = {};
        for (int32_t k = 0; k < 6; ++k) digits[k] = static_cast<char>('0' + random_int(10));
        draw_text(display->back.get(), x + 200, y + 77 + 10 * line, digit_colour, digit_font, "%s",
                  digits);
    }
}

} // namespace vilora
