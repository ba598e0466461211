#include "platform/hosts/sdl/internal/sdl_renderer.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vilora {

namespace {

constexpr unsigned gl_renderer_string = 0x1F01; // GL_RENDERER

// The GL_RENDERER string of the renderer's context, which SDL has just made
// current; null for a renderer that is no GL one.
const char* gl_renderer_of(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0)
        return nullptr;
    using get_string = const unsigned char* (*)(unsigned);
    auto gl_get_string = reinterpret_cast<get_string>(SDL_GL_GetProcAddress("glGetString"));
    if (!gl_get_string || !SDL_GL_GetCurrentContext()) return nullptr;
    return reinterpret_cast<const char*>(gl_get_string(gl_renderer_string));
}

// Without a render node (or the proprietary driver's device) no GPU can serve
// OpenGL here: Mesa would rasterise in software, and creating its context
// alone costs a tenth of a second, so the probe is skipped.
bool gpu_device_present() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error))
        if (entry.path().filename().string().rfind("renderD", 0) == 0) return true;
    return std::filesystem::exists("/dev/nvidia0", error);
}

// The window's own surface, not a texture of an accelerated renderer behind
// it, which on such a machine would be the software rasteriser again.
SDL_Renderer* software_renderer(SDL_Window* window) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0"); // the environment still decides first
    return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

} // namespace

bool draws_in_software(const char* renderer_name, const char* gl_renderer) {
    if (renderer_name && std::strcmp(renderer_name, "software") == 0) return true;
    if (!gl_renderer) return false;
    for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(gl_renderer, name)) return true;
    return false;
}

SDL_Renderer* create_show_renderer(SDL_Window* window, const std::string& choice) {
    const char* from_environment = std::getenv("SDL_RENDER_DRIVER");
    std::string wanted = choice;
    if (wanted == "auto" && from_environment && *from_environment) wanted = from_environment;
    if (wanted == "software") return software_renderer(window);
    if (wanted != "auto") {
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, wanted.c_str());
        return SDL_CreateRenderer(window, -1, 0);
    }
    if (!gpu_device_present()) return software_renderer(window);
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer) return software_renderer(window);
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    if (!draws_in_software(info.name, gl_renderer_of(renderer))) return renderer;
    SDL_DestroyRenderer(renderer);
    return software_renderer(window);
}

} // namespace vilora
