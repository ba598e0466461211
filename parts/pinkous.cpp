#include "parts/pinkous.h"

#include "engine/data_files.h"
#include "engine/data_set.h"
#include "engine/engine.h"
#include "parts/displacement_pass.h"
#include "parts/flicker_caption.h"

namespace vilora {

pinkous::class_statics pinkous::statics;

pinkous::pinkous(display_device* display) {
    valid = true;
    open_library(data_file(data_set::robot1).c_str());
    if (maps.add_picture_sequence(display, "%d.bmp", 2, 0, 0) == -1) valid = false;
    open_library(data_file(data_set::uganda4).c_str());
    if (maps.add_picture(display, "hlavni.bmp", 0, 0) == -1) valid = false;
    if (sprites.add_picture(display, "field.bmp", 0, 0) == -1) valid = false;
    if (sprites.add_picture(display, "box.bmp", 0, 1) == -1) valid = false;
    caption_font = create_font("MS SANS SERIFF", 12, 12);
}

// Rows outside 52..148 keep the backdrop. The window spans the columns
// strictly between box 3 and 100 pixels right of it: empty while box 3 waits
// at 320, sliding in from the right edge and out at the left as it moves.
// The row map is read up to column 419 and row 198, the column map up to
// 369 x 198, the source up to 319 x 149.
void pinkous::run(display_device* display, int32_t, int32_t x, int32_t y) {
    sprites.draw_picture(display->back.get(), x, y, 0);
    for (int32_t& box : statics.box_x) {
        box -= 2;
        if (box <= -100) box = 320;
    }
    statics.motion.step();
    displacement pass = displacement_of(maps, 0, 1, statics.motion);
    pass.first_column = 0;
    pass.last_column = 319;
    pass.first_row = 52;
    pass.last_row = 148;
    pass.window_left = statics.box_x[3];
    pass.window_right = statics.box_x[3] + 100;
    run_displacement(display, pass, x, y);
    for (int32_t box : statics.box_x) sprites.draw_picture(display->back.get(), x + box, y + 50, 1);
    draw_flicker_caption(display->back.get(), caption_font, "my mom is not scener",
                         statics.clean_frames, x + 20, y + 170);
}

} // namespace vilora
