#include "parts/oneco2.h"

#include "engine/engine.h"
#include "engine/numbers.h"

#include <cmath>

namespace vilora {

oneco2::class_statics oneco2::statics;

oneco2::oneco2(display_device* display) {
    valid = true;
    if (pictures.add_picture(display, "majic.bmp", 0, 0) == -1) valid = false;
    if (pictures.add_picture(display, "majicbig.bmp", 0, 0) == -1) valid = false;
    if (pictures.add_picture(display, "mex.bmp", 0, 1) == -1) valid = false;
}

// The blended picture's corner goes once around a circle of radius 100 about
// (-100, -100) every 180 calls, half a turn ahead of the spin; its level
// flickers within 120..149.
void oneco2::run(display_device* display, int32_t, int32_t x, int32_t y) {
    surface* back = display->back.get();
    statics.spin += 2;
    if (statics.spin > 360) statics.spin -= 360;
    statics.zoom.step();
    pictures.draw_picture_rotated(back, x + 120, y + 100, 0, statics.spin, statics.zoom.value);
    pictures.draw_picture(back, x, y, 2);
    const double angle = deg_to_rad(statics.spin + 180);
    const auto offset_x = static_cast<int32_t>(-100.0 - 100.0 * std::cos(angle));
    const auto offset_y = static_cast<int32_t>(-100.0 - 100.0 * std::sin(angle));
    pictures.draw_picture_faded(back, x + offset_x, y + offset_y, 1, 120 + random_int(30));
}

} // namespace vilora
