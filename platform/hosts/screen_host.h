// The host that puts the show on a screen, as the program's build has it: the
// SDL2 window on the desktop. A build without a screen of its own (the
// WebAssembly engine run by node) has none, and says so.
#pragma once

#include "platform/hosts/host.h"

#include <memory>
#include <string>

namespace vilora {

struct screen_host_options {
    bool fullscreen = true;
    bool vsync = false; // the show paces itself at 60 ms per frame
    // "auto" (the cheapest where the show runs), "software", or one of SDL's
    // render drivers by name ("opengl", "opengles2", ...).
    std::string renderer = "auto";
};

// Null when no screen can be had; the reason goes to stderr.
std::unique_ptr<host_system> make_screen_host(const screen_host_options& options);

} // namespace vilora
