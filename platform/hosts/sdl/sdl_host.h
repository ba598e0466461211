// The SDL2 backend: a real window, full-screen on the desktop or windowed, with
// the show scaled up by whole pixels at 4:3. Nothing else includes SDL.
#pragma once

#include "platform/hosts/host.h"

#include <memory>
#include <string>

namespace vilora {

struct sdl_host_options {
    bool fullscreen = true;
    bool vsync = false; // the show paces itself at 60 ms per frame
    // "auto" (the cheapest where the show runs), "software", or one of SDL's
    // render drivers by name ("opengl", "opengles2", ...).
    std::string renderer = "auto";
};

// Null when SDL's video cannot start (no display); the reason goes to stderr.
std::unique_ptr<host_system> make_sdl_host(const sdl_host_options& options);

} // namespace vilora
