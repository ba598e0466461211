#include "parts/obw.h"

#include "engine/engine.h"
#include "parts/displacement_pass.h"
#include "parts/noise_lines.h"
#include "parts/part_pixels.h"

namespace vilora {

obw::class_statics obw::statics;

namespace {

constexpr const char* captions[5] = {
    "sexy shapes around a dog",   "going up and flying",    "telepathy is the way",
    "there is a bear in da 4est", "fucking breakfast time",
};
constexpr uint32_t caption_colour = 0xA06464; // (100, 100, 160) as 0x00BBGGRR

} // namespace

obw::obw(display_device* display) {
    valid = true;
    if (maps.add_picture_sequence(display, "f%d.bmp", 3, 0, 0) == -1) valid = false;
    if (backdrops.add_picture(display, "torture.bmp", 0, 0) == -1) valid = false;
    if (backdrops.add_picture(display, "zool.bmp", 0, 0) == -1) valid = false;
    if (backdrops.add_picture(display, "sorry.bmp", 0, 1) == -1) valid = false;
    caption_font = create_font("MS SANS SERIFF", 24, 24);
    for (int32_t& caption : statics.caption_x) caption = random_int(320);
}

void obw::run(display_device* display, int32_t mode, int32_t x, int32_t y) {
    switch (mode) {
    case 0:
        bend_picture(display, x, y);
        break;
    case 1:
        scroll_captions(display, x, y);
        break;
    case 2:
        eat_picture(display, x, y);
        break;
    default:
        break;
    }
}

// The columns 0..79 and the rows outside 32..168 keep the backdrop. The maps
// are read up to 250 pixels beyond the rectangle (570 x 419 pictures).
void obw::bend_picture(display_device* display, int32_t x, int32_t y) {
    backdrops.draw_picture(display->back.get(), x, y, 0);
    statics.motion.step();
    displacement pass = displacement_of(maps, 0, 1, statics.motion);
    pass.first_column = 80;
    pass.last_column = 319;
    pass.first_row = 32;
    pass.last_row = 168;
    run_displacement(display, pass, x, y);
}

// A caption that has scrolled past -600 comes back at the right edge.
void obw::scroll_captions(display_device* display, int32_t x, int32_t y) {
    backdrops.draw_picture(display->back.get(), x, y, 1);
    if (random_int(22) == 0)
        for (int32_t& caption : statics.caption_x) caption += 12;
    for (int32_t k = 0; k < 5; ++k) {
        int32_t& caption = statics.caption_x[static_cast<size_t>(k)];
        draw_text(display->back.get(), x + caption, y + 40 * k, caption_colour, caption_font, "%s",
                  captions[k]);
        caption -= 3;
        if (caption < -600) caption = 320;
    }
    const locked_pixels back(display->back.get());
    draw_noise_lines(back, 20, pack_colour(*display->format, 220, 220, 220), x, y);
}

// Every frame draws one black line more than the last: 51 on the first.
void obw::eat_picture(display_device* display, int32_t x, int32_t y) {
    backdrops.draw_picture(display->back.get(), x, y, 2);
    const locked_pixels back(display->back.get());
    ++statics.noise_count;
    draw_noise_lines(back, statics.noise_count + 50, pack_colour(*display->format, 0, 0, 0), x, y);
}

} // namespace vilora
