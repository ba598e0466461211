#include "tests/support/test_display.h"

namespace vilora::testing {

host_scope::host_scope(std::unique_ptr<headless_host> replacement) : host(replacement.get()) {
    previous_ = set_host(std::move(replacement));
}

host_scope::~host_scope() {
    set_host(std::move(previous_));
}

test_display::test_display(int width, int height, int depth, high_colour_layout layout) {
    set_high_colour_layout(layout);
    window.create_window("test", app_window::procedure, window_style_popup, 0, 0, width, height);
    display.create_interface();
    mode_result = display.set_mode(0, window.handle, width, height, depth);
}

test_display::~test_display() {
    set_high_colour_layout(high_colour_layout::rgb565);
}

} // namespace vilora::testing
