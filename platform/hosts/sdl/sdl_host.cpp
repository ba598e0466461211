#include "platform/hosts/sdl/sdl_host.h"

#include "platform/hosts/sdl/internal/present_geometry.h"
#include "platform/hosts/sdl/internal/sdl_audio.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vilora {

namespace {

struct sdl_window : host_window {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int texture_width = 0;
    int texture_height = 0;

    ~sdl_window() override {
        if (texture) SDL_DestroyTexture(texture);
        if (renderer) SDL_DestroyRenderer(renderer);
        if (window) SDL_DestroyWindow(window);
    }
};

class sdl_host : public host_system {
public:
    explicit sdl_host(const sdl_host_options& options) : options_(options) {}
    ~sdl_host() override { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

    host_window* open_window(const char* title, int, int, int, int) override {
        auto* w = new sdl_window;
        Uint32 flags = SDL_WINDOW_RESIZABLE;
        const screen_size desktop = desktop_size();
        const present_rect windowed = window_geometry(desktop.width, desktop.height);
        int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
        int width = windowed.width, height = windowed.height;
        if (options_.fullscreen) {
            // Made screen-sized at the origin too, so that it covers the screen even
            // where no window manager carries out the full-screen request.
            flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
            x = y = 0;
            width = desktop.width;
            height = desktop.height;
        }
        w->window = SDL_CreateWindow(title, x, y, width, height, flags);
        if (w->window) {
            Uint32 renderer_flags = options_.vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
            w->renderer = SDL_CreateRenderer(w->window, -1, renderer_flags);
            if (!w->renderer)
                w->renderer = SDL_CreateRenderer(w->window, -1, SDL_RENDERER_SOFTWARE);
        }
        if (!w->window || !w->renderer) {
            std::fprintf(stderr, "vilora: cannot open a window: %s\n", SDL_GetError());
            delete w;
            return nullptr;
        }
        return w;
    }

    void close_window(host_window* window) override { delete window; }

    bool next_event(host_window* window, host_event& event) override {
        auto* w = static_cast<sdl_window*>(window);
        SDL_Event e;
        // Events that mean nothing to the window procedure are dropped here, so
        // that one call still hands over at most one message.
        while (SDL_PollEvent(&e)) {
            if (translate(w, e, event)) return true;
        }
        return false;
    }

    screen_size desktop_size() override {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {320, 240};
        return {mode.w, mode.h};
    }

    void show_cursor(bool visible) override { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

    void message_box(host_window* owner, const char* text, const char* caption) override {
        SDL_Window* parent = owner ? static_cast<sdl_window*>(owner)->window : nullptr;
        // A box behind a full screen is no box.
        if (parent && is_fullscreen(static_cast<sdl_window*>(owner)))
            leave_fullscreen(static_cast<sdl_window*>(owner));
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, parent);
    }

    bool take_exclusive(host_window* window) override { return window != nullptr; }

    bool set_display_mode(host_window* window, int width, int height, int) override {
        auto* w = static_cast<sdl_window*>(window);
        if (!w) return false;
        if (w->texture && (w->texture_width != width || w->texture_height != height)) {
            SDL_DestroyTexture(w->texture);
            w->texture = nullptr;
        }
        if (!w->texture) {
            SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
            w->texture = SDL_CreateTexture(w->renderer, SDL_PIXELFORMAT_XRGB8888,
                                           SDL_TEXTUREACCESS_STREAMING, width, height);
            if (!w->texture) return false;
            w->texture_width = width;
            w->texture_height = height;
        }
        return true;
    }

    void present(host_window* window, const rgb_frame& frame) override {
        auto* w = static_cast<sdl_window*>(window);
        if (!w || !w->texture || frame.width != w->texture_width ||
            frame.height != w->texture_height)
            return;
        SDL_UpdateTexture(w->texture, nullptr, frame.pixels.data(),
                          frame.width * static_cast<int>(sizeof(uint32_t)));
        int out_w = 0, out_h = 0;
        SDL_GetRendererOutputSize(w->renderer, &out_w, &out_h);
        present_rect r = present_geometry(frame.width, frame.height, out_w, out_h);
        SDL_Rect target{r.x, r.y, r.width, r.height};
        SDL_SetRenderDrawColor(w->renderer, 0, 0, 0, 255);
        SDL_RenderClear(w->renderer);
        SDL_RenderCopy(w->renderer, w->texture, nullptr, &target);
        SDL_RenderPresent(w->renderer);
    }

    uint32_t display_losses() override { return losses_; }
    uint32_t tick_count() override { return monotonic_milliseconds(); }
    std::unique_ptr<audio_output> open_audio(int frequency) override {
        return open_sdl_audio(frequency);
    }

private:
    bool is_fullscreen(sdl_window* w) const {
        return (SDL_GetWindowFlags(w->window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    }

    // Back to a window of the size `--window` opens, centred: a window made
    // full screen at the start was created screen-sized, and would otherwise
    // return to that size with its bottom off the screen.
    void leave_fullscreen(sdl_window* w) {
        SDL_SetWindowFullscreen(w->window, 0);
        const screen_size desktop = desktop_size();
        const present_rect windowed = window_geometry(desktop.width, desktop.height);
        SDL_SetWindowSize(w->window, windowed.width, windowed.height);
        SDL_SetWindowPosition(w->window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }

    bool translate(sdl_window* w, const SDL_Event& e, host_event& event) {
        switch (e.type) {
        case SDL_QUIT:
            event.what = host_event::kind::close;
            return true;
        case SDL_KEYDOWN:
            if (e.key.keysym.sym == SDLK_RETURN && (e.key.keysym.mod & KMOD_ALT)) {
                if (is_fullscreen(w))
                    leave_fullscreen(w);
                else
                    SDL_SetWindowFullscreen(w->window, SDL_WINDOW_FULLSCREEN_DESKTOP);
                return false;
            }
            if (e.key.repeat) return false;
            event.what = host_event::kind::key_down;
            event.key = static_cast<int>(e.key.keysym.sym); // SDLK_ESCAPE is 27 too
            return true;
        case SDL_WINDOWEVENT:
            return translate_window_event(w, e.window.event, event);
        default:
            return false;
        }
    }

    // A full-screen show loses the display when it loses the focus, and stops
    // drawing until it is back; a windowed one only stops while minimised.
    bool translate_window_event(sdl_window* w, Uint8 what, host_event& event) {
        const bool fullscreen = is_fullscreen(w);
        if (what == SDL_WINDOWEVENT_CLOSE) {
            event.what = host_event::kind::close;
            return true;
        }
        if ((what == SDL_WINDOWEVENT_FOCUS_LOST && fullscreen) ||
            what == SDL_WINDOWEVENT_MINIMIZED) {
            if (fullscreen) ++losses_;
            event.what = host_event::kind::deactivate;
            return true;
        }
        if ((what == SDL_WINDOWEVENT_FOCUS_GAINED && fullscreen) ||
            what == SDL_WINDOWEVENT_RESTORED) {
            event.what = host_event::kind::activate;
            return true;
        }
        return false;
    }

    sdl_host_options options_;
    uint32_t losses_ = 0;
};

} // namespace

std::unique_ptr<host_system> make_sdl_host(const sdl_host_options& options) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "vilora: no display available: %s\n", SDL_GetError());
        return nullptr;
    }
    // Without a display server the video library falls back to drivers that
    // show nothing; a show nobody can see is no display, unless asked for.
    const std::string driver = SDL_GetCurrentVideoDriver();
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    if ((driver == "offscreen" || driver == "dummy") && !(requested && driver == requested)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        std::fprintf(stderr, "vilora: no display available (--capture DIR renders without one)\n");
        return nullptr;
    }
    return std::make_unique<sdl_host>(options);
}

} // namespace vilora
