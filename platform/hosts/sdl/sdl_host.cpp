#include "platform/hosts/sdl/sdl_host.h"

#include "platform/hosts/sdl/internal/present_geometry.h"
#include "platform/hosts/sdl/internal/sdl_audio.h"
#include "platform/hosts/sdl/internal/sdl_renderer.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vilora {

namespace {

// The virtual key code of a key the show answers to; 0 for any other.
int virtual_key(SDL_Keycode key) {
    switch (key) {
    case SDLK_ESCAPE:
        return key_escape;
    case SDLK_TAB:
        return key_tab;
    case SDLK_SPACE:
        return key_space;
    case SDLK_PAGEUP:
        return key_page_up;
    case SDLK_PAGEDOWN:
        return key_page_down;
    case SDLK_LEFT:
        return key_left;
    case SDLK_RIGHT:
        return key_right;
    case SDLK_F12:
        return key_f12;
    case SDLK_PERIOD:
        return key_period;
    default:
        return 0;
    }
}

// A held key repeats where that means going on: stepping and jumping.
bool repeats(int key) {
    return key == key_period || key == key_left || key == key_right || key == key_page_up ||
           key == key_page_down;
}

struct sdl_window : host_window {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int texture_width = 0; // the frame size set_display_mode asked for
    int texture_height = 0;
    bool has_frame = false;         // the texture holds a presented frame
    SDL_Texture* overlay = nullptr; // blended over the frame; null: none
    int overlay_width = 0;
    int overlay_height = 0;
    bool renderer_failed = false;
    bool overlay_drawn = false; // the last draw laid the overlay over the frame
    // The software renderer keeps what it drew: the black around the frame is
    // drawn again only when the output's size changes or the
    // overlay was drawn.
    bool keeps_its_picture = false;
    int cleared_width = 0;
    int cleared_height = 0;

    ~sdl_window() override {
        if (overlay) SDL_DestroyTexture(overlay);
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
        if (!w->window) {
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

    bool wait_event(host_window* window, host_event& event, int milliseconds) override {
        auto* w = static_cast<sdl_window*>(window);
        const Uint32 until = SDL_GetTicks() + static_cast<Uint32>(std::max(milliseconds, 0));
        SDL_Event e;
        for (;;) {
            const int left = static_cast<int>(until - SDL_GetTicks());
            if (left <= 0 || !SDL_WaitEventTimeout(&e, left)) return next_event(window, event);
            if (translate(w, e, event)) return true;
        }
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

    // The renderer is made here rather than with the window, so that the show's
    // data can load meanwhile: an OpenGL one takes a tenth of a second.
    bool prepare_presentation(host_window* window) override {
        auto* w = static_cast<sdl_window*>(window);
        if (!w || w->renderer_failed) return false;
        if (w->renderer) return true;
        if (options_.vsync) SDL_SetHint(SDL_HINT_RENDER_VSYNC, "1");
        w->renderer = create_show_renderer(w->window, options_.renderer);
        if (!w->renderer) {
            w->renderer_failed = true;
            std::fprintf(stderr, "vilora: cannot draw in the window: %s\n", SDL_GetError());
            return false;
        }
        SDL_SetRenderDrawColor(w->renderer, 0, 0, 0, 255);
        SDL_RendererInfo info{};
        w->keeps_its_picture = SDL_GetRendererInfo(w->renderer, &info) == 0 &&
                               (info.flags & SDL_RENDERER_SOFTWARE) != 0;
        return w->texture_width <= 0 || make_texture(w);
    }

    bool presentation_takes_time() override { return true; }

    bool set_display_mode(host_window* window, int width, int height, int) override {
        auto* w = static_cast<sdl_window*>(window);
        if (!w || width <= 0 || height <= 0) return false;
        if (w->texture && (w->texture_width != width || w->texture_height != height)) {
            SDL_DestroyTexture(w->texture);
            w->texture = nullptr;
        }
        w->texture_width = width;
        w->texture_height = height;
        return !w->renderer || make_texture(w);
    }

    void present(host_window* window, const rgb_frame& frame) override {
        auto* w = static_cast<sdl_window*>(window);
        if (!w || !prepare_presentation(w)) return;
        if (!w->texture || frame.width != w->texture_width || frame.height != w->texture_height)
            return;
        SDL_UpdateTexture(w->texture, nullptr, frame.pixels.data(),
                          frame.width * static_cast<int>(sizeof(uint32_t)));
        w->has_frame = true;
        draw(w);
    }

    void set_overlay(host_window* window, const overlay_image* image, bool show_now) override {
        auto* w = static_cast<sdl_window*>(window);
        if (!w || !prepare_presentation(w)) return;
        if (!image || image->width <= 0 || image->height <= 0) {
            if (w->overlay) SDL_DestroyTexture(w->overlay);
            w->overlay = nullptr;
        } else {
            if (w->overlay &&
                (w->overlay_width != image->width || w->overlay_height != image->height)) {
                SDL_DestroyTexture(w->overlay);
                w->overlay = nullptr;
            }
            if (!w->overlay) {
                w->overlay =
                    SDL_CreateTexture(w->renderer, SDL_PIXELFORMAT_ARGB8888,
                                      SDL_TEXTUREACCESS_STREAMING, image->width, image->height);
                if (!w->overlay) return;
                SDL_SetTextureBlendMode(w->overlay, SDL_BLENDMODE_BLEND);
                w->overlay_width = image->width;
                w->overlay_height = image->height;
            }
            SDL_UpdateTexture(w->overlay, nullptr, image->pixels.data(),
                              image->width * static_cast<int>(sizeof(uint32_t)));
        }
        if (show_now && w->has_frame) draw(w);
    }

    uint32_t display_losses() override { return losses_; }
    uint32_t tick_count() override { return monotonic_milliseconds(); }
    std::unique_ptr<audio_output> open_audio(int frequency) override {
        return open_sdl_audio(frequency);
    }

private:
    // The frame scaled into the window, the overlay over its top-left corner
    // at whole window pixels (larger on large screens), then shown.
    static void draw(sdl_window* w) {
        int out_w = 0, out_h = 0;
        SDL_GetRendererOutputSize(w->renderer, &out_w, &out_h);
        present_rect r = present_geometry(w->texture_width, w->texture_height, out_w, out_h);
        SDL_Rect target{r.x, r.y, r.width, r.height};
        if (!w->keeps_its_picture || w->overlay_drawn || out_w != w->cleared_width ||
            out_h != w->cleared_height) {
            SDL_SetRenderDrawColor(w->renderer, 0, 0, 0, 255);
            SDL_RenderClear(w->renderer);
            w->cleared_width = out_w;
            w->cleared_height = out_h;
        }
        SDL_RenderCopy(w->renderer, w->texture, nullptr, &target);
        w->overlay_drawn = w->overlay != nullptr;
        if (w->overlay) {
            const int size = std::max(1, r.height / 720);
            const int margin = 8 * size;
            SDL_Rect place{r.x + margin, r.y + margin, w->overlay_width * size,
                           w->overlay_height * size};
            SDL_RenderCopy(w->renderer, w->overlay, nullptr, &place);
        }
        SDL_RenderPresent(w->renderer);
    }

    // The frame goes up once per present at its own size; the renderer scales it.
    static bool make_texture(sdl_window* w) {
        if (w->texture) return true;
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        w->texture =
            SDL_CreateTexture(w->renderer, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                              w->texture_width, w->texture_height);
        return w->texture != nullptr;
    }

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
            event.key = virtual_key(e.key.keysym.sym);
            if (event.key == 0 || (e.key.repeat && !repeats(event.key))) return false;
            event.what = host_event::kind::key_down;
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

std::unique_ptr<host_system> make_screen_host(const screen_host_options& options) {
    return make_sdl_host(options);
}

} // namespace vilora
