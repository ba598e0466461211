// Displays for tests: a headless host installed for the test's lifetime, a
// window, and a display device in the mode the test asks for (320x240x16 in
// 5-6-5 unless told otherwise).
#pragma once

#include "platform/display/display_device.h"
#include "platform/hosts/headless_host.h"
#include "platform/window/app_window.h"

#include <memory>

namespace vilora::testing {

// Installs a fresh headless host (or the given one) and puts the previous back.
class host_scope {
public:
    explicit host_scope(
        std::unique_ptr<headless_host> replacement = std::make_unique<headless_host>());
    ~host_scope();
    host_scope(const host_scope&) = delete;
    host_scope& operator=(const host_scope&) = delete;

    headless_host* host;

private:
    std::unique_ptr<host_system> previous_;
};

struct test_display {
    explicit test_display(int width = 320, int height = 240, int depth = 16,
                          high_colour_layout layout = high_colour_layout::rgb565);
    ~test_display();

    host_scope scope;
    app_window window;
    display_device display;
    int mode_result = -1; // what set_mode returned
};

} // namespace vilora::testing
