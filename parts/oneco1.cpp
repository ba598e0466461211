#include "parts/oneco1.h"
#include "engine/data_set.h"

#include "engine/engine.h"
#include "parts/part_pixels.h"

namespace vilora {

oneco1::class_statics oneco1::statics;

namespace {

// The scene rocks between frame 60 and its end.
constexpr float lowest_frame = 60.0f;

// Wide angle: the camera's projection constants each 200 smaller.
constexpr scene_projection wide_angle = [] {
    scene_projection p = centred_at(160.0f, 90.0f);
    p.persp_offset = -200.0f;
    return p;
}();

constexpr uint32_t caption_colour = 0xB4B4B4; // (180, 180, 180) as 0x00BBGGRR
constexpr int32_t caption_spacing = 20;
// Rows are drawn while they start above this row of the picture area.
constexpr int32_t caption_bottom = 220;

} // namespace

oneco1::oneco1(display_device* display) : scene_part(data_set::hrouda2, 320.0f) {
    if (!valid) return;
    caption_font = create_font("MS SANS SERIFF", 12, 12);
    if (pictures.add_picture_sequence(display, "noon%d.bmp", 4, 0, 0) == -1) valid = false;
}

void oneco1::run(display_device* display, int32_t, int32_t x, int32_t y) {
    if (!select_scene()) return;
    statics.backdrop = statics.backdrop == 3 ? 0 : static_cast<uint8_t>(statics.backdrop + 1);
    pictures.draw_picture(display->back.get(), x, y, statics.backdrop);
    ping_pong_step(frame, statics.rising, lowest_frame, last_frame);
    show_scene_frame(frame);
    draw_wireframe(display, x, y);
    if (++statics.roll > caption_spacing) statics.roll = 0;
    draw_caption_rows(display, x, y);
    // The bars are in screen coordinates: the letterbox above and below the
    // picture area, empty on a 200-line screen.
    surface& back = *display->back;
    back.fill_rect(0, 0, back.width, y, 0);
    back.fill_rect(0, back.height - y, back.width, back.height, 0);
}

// The first third of every mesh's faces, grey by corner c's depth.
void oneco1::draw_wireframe(display_device* display, int32_t x, int32_t y) {
    for_each_mesh(display, x, y, [&](const raster_target& raster) {
        for_each_face(3, wide_angle, [&] {
            const int32_t grey = depth_value(vertex[2]);
            draw_face_lines(raster, pack_colour(*display->format, grey, grey, grey));
        });
    });
}

// One row every 20 lines from roll - 20 on: 12 rows, or 11 when roll is 20.
void oneco1::draw_caption_rows(display_device* display, int32_t x, int32_t y) const {
    for (int32_t row = statics.roll - caption_spacing; row < caption_bottom; row += caption_spacing)
        draw_text(display->back.get(), x + 20, y + row, caption_colour, caption_font, "%s",
                  caption);
}

} // namespace vilora
