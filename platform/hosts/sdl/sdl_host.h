// The SDL2 backend: a real window, full-screen on the desktop or windowed, with
// the show scaled up by whole pixels at 4:3. Nothing else includes SDL.
#pragma once

#include "platform/hosts/screen_host.h"

#include <memory>

namespace vilora {

using sdl_host_options = screen_host_options;

// Null when SDL's video cannot start (no display); the reason goes to stderr.
// make_screen_host is this one in the desktop build.
std::unique_ptr<host_system> make_sdl_host(const sdl_host_options& options);

} // namespace vilora
