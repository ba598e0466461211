// Which SDL renderer presents the show. Internal to the SDL backend.
//
// The show uploads one 320-pixel-wide frame 16.7 times a second and scales it
// by whole pixels, so the renderer is chosen for what that costs. Where no
// GPU drives OpenGL, Mesa's software rasteriser scales the frame in threads of
// its own for about twice what SDL's software renderer needs at every window
// size (README, "Measuring"), so the automatic choice takes the software
// renderer there and the accelerated one elsewhere.
#pragma once

#include <string>

struct SDL_Renderer;
struct SDL_Window;

namespace vilora {

// `choice`: "auto", "software", or the name of one of SDL's render drivers
// ("opengl", "opengles2", ...). A render driver named in SDL_RENDER_DRIVER
// counts as a choice too. Null when no renderer can be made (SDL_GetError says why).
SDL_Renderer* create_show_renderer(SDL_Window* window, const std::string& choice);

// True when the names of a renderer and its OpenGL implementation say that
// it draws on the processor: SDL's software renderer, or a GL renderer whose
// GL_RENDERER string names a software rasteriser.
bool draws_in_software(const char* renderer_name, const char* gl_renderer);

} // namespace vilora
