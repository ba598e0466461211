#include "engine/engine.h"

#include "platform/display/display_device.h"

namespace vilora {

namespace {
screen_state the_screen;
} // namespace

const screen_state& engine_screen() {
    return the_screen;
}

void set_screen(display_device* display, int32_t width, int32_t height) {
    the_screen.display = display;
    the_screen.screen_width = width;
    the_screen.screen_height = height;
    the_screen.origin_x = 0;
    the_screen.origin_y = height == 200 ? 0 : 20;
    if (display) display->clip = the_screen.picture_area();
}

void leave_screen() {
    the_screen.display = nullptr;
}

} // namespace vilora
