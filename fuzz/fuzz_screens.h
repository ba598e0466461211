// Headless displays at every screen depth, made once per fuzzing run: each
// input is decoded for all of them, so every conversion path sees it. They are
// never destroyed: at exit the window registry they would unregister from may
// already be gone.
#pragma once

#include "platform/display/display_device.h"
#include "platform/window/app_window.h"

#include <array>
#include <cstdlib>

namespace vilora::fuzzing {

struct fuzz_screen {
    app_window window;
    display_device display;
};

inline std::array<fuzz_screen, 4>& fuzz_screens() {
    static auto* const screens = new std::array<fuzz_screen, 4>;
    static const bool ready = [] {
        const int depths[] = {8, 16, 24, 32};
        for (size_t i = 0; i < screens->size(); ++i) {
            fuzz_screen& s = (*screens)[i];
            s.window.create_window("fuzz", app_window::procedure, window_style_popup, 0, 0, 320,
                                   240);
            s.display.create_interface();
            if (s.display.set_mode(0, s.window.handle, 320, 240, depths[i]) != 0) std::abort();
        }
        return true;
    }();
    (void)ready;
    return *screens;
}

} // namespace vilora::fuzzing
