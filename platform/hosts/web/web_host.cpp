#include "platform/hosts/web/web_host.h"

#include "platform/hosts/web/internal/web_audio.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <vector>

// What the page (page.js) gives the engine on Module.page: `canvas` and
// `overlay`, the two canvases, with their 2D contexts `canvasContext` and
// `overlayContext`; `frameSize(w, h)` and `overlaySize(w, h)`, called when
// either changes, so that the page lays them out; `messageBox(caption, text)`;
// `download(name, bytes)`; `toggleFullscreen()`; and `audio`, the sound sink.

// clang-format off
EM_JS(void, page_frame_size, (int width, int height), {
    const page = Module.page;
    page.canvas.width = width;
    page.canvas.height = height;
    page.frameSize(width, height);
});
EM_JS(void, page_put_frame, (const uint32_t* rgba, int width, int height), {
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    Module.page.canvasContext.putImageData(new ImageData(pixels, width, height), 0, 0);
});
EM_JS(void, page_put_overlay, (const uint32_t* rgba, int width, int height), {
    const page = Module.page;
    if (width === 0) {
        page.overlaySize(0, 0);
        return;
    }
    if (page.overlay.width !== width || page.overlay.height !== height) {
        page.overlay.width = width;
        page.overlay.height = height;
    }
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    page.overlayContext.putImageData(new ImageData(pixels, width, height), 0, 0);
    page.overlaySize(width, height);
});
EM_JS(void, page_message_box, (const char* caption, const char* text), {
    Module.page.messageBox(UTF8ToString(caption), UTF8ToString(text));
});
EM_JS(void, page_download, (const char* name, const uint8_t* bytes, int size), {
    Module.page.download(UTF8ToString(name), HEAPU8.slice(bytes, bytes + size));
});
EM_JS(void, page_toggle_fullscreen, (), {
    Module.page.toggleFullscreen();
});
EM_JS(int, page_width, (), { return window.innerWidth; });
EM_JS(int, page_height, (), { return window.innerHeight; });
// clang-format on

namespace vilora {

namespace {

struct web_window : host_window {};

// The virtual key code of a key the show answers to (the KeyboardEvent's
// `key`, so "." wherever the layout has it); 0 for any other.
int virtual_key(const EmscriptenKeyboardEvent& e) {
    struct named_key {
        const char* name;
        int key;
    };
    static constexpr named_key keys[] = {
        {"Escape", key_escape},
        {"Tab", key_tab},
        {" ", key_space},
        {"PageUp", key_page_up},
        {"PageDown", key_page_down},
        {"ArrowLeft", key_left},
        {"ArrowRight", key_right},
        {"F12", key_f12},
        {".", key_period},
    };
    for (const named_key& k : keys)
        if (std::strcmp(e.key, k.name) == 0) return k.key;
    return 0;
}

// A held key repeats where that means going on: stepping and jumping.
bool repeats(int key) {
    return key == key_period || key == key_left || key == key_right || key == key_page_up ||
           key == key_page_down;
}

// 0x00RRGGBB -> the bytes R, G, B, 255 that a canvas takes.
uint32_t opaque_rgba(uint32_t xrgb) {
    return 0xFF000000u | (xrgb & 0xFFu) << 16 | (xrgb & 0xFF00u) | (xrgb >> 16 & 0xFFu);
}

// 0xAARRGGBB -> the bytes R, G, B, A.
uint32_t rgba_of_argb(uint32_t argb) {
    return (argb & 0xFF00FF00u) | (argb & 0xFFu) << 16 | (argb >> 16 & 0xFFu);
}

class web_host : public host_system {
public:
    // A show started in a tab already hidden (autoplay in the background)
    // waits until the tab is seen, as one hidden later does.
    web_host() {
        emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, 1, on_key);
        emscripten_set_visibilitychange_callback(this, 1, on_visibility);
        EmscriptenVisibilityChangeEvent now{};
        if (emscripten_get_visibility_status(&now) == EMSCRIPTEN_RESULT_SUCCESS && now.hidden)
            on_visibility(EMSCRIPTEN_EVENT_VISIBILITYCHANGE, &now, this);
    }
    // The browser's callbacks go with the host: a page plays show after show.
    ~web_host() override {
        emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, 1, nullptr);
        emscripten_set_visibilitychange_callback(nullptr, 1, nullptr);
        hold_web_audio(false);
    }

    host_window* open_window(const char*, int, int, int, int) override {
        if (window_) return nullptr; // the page has one canvas
        window_ = std::make_unique<web_window>();
        return window_.get();
    }
    void close_window(host_window* window) override {
        if (window == window_.get()) window_.reset();
    }
    bool next_event(host_window* window, host_event& event) override {
        if (!window || window != window_.get() || events_.empty()) return false;
        event = events_.front();
        events_.pop_front();
        return true;
    }
    // A page cannot sleep: it goes back to the browser, which calls again.
    bool wait_event(host_window* window, host_event& event, int) override {
        return next_event(window, event);
    }
    screen_size desktop_size() override { return {page_width(), page_height()}; }
    void show_cursor(bool) override {}
    void message_box(host_window*, const char* text, const char* caption) override {
        page_message_box(caption ? caption : "", text ? text : "");
    }

    bool take_exclusive(host_window* window) override { return window != nullptr; }
    bool set_display_mode(host_window* window, int width, int height, int) override {
        if (!window || width <= 0 || height <= 0) return false;
        page_frame_size(width, height);
        return true;
    }
    void present(host_window* window, const rgb_frame& frame) override {
        if (!window || frame.pixels.empty()) return;
        rgba_.resize(frame.pixels.size());
        for (size_t i = 0; i < frame.pixels.size(); ++i) rgba_[i] = opaque_rgba(frame.pixels[i]);
        page_put_frame(rgba_.data(), frame.width, frame.height);
    }
    // The overlay has a canvas of its own over the frame's: nothing to show again.
    void set_overlay(host_window* window, const overlay_image* image, bool) override {
        if (!window) return;
        if (!image || image->width <= 0 || image->height <= 0) {
            page_put_overlay(nullptr, 0, 0);
            return;
        }
        overlay_rgba_.resize(image->pixels.size());
        for (size_t i = 0; i < image->pixels.size(); ++i)
            overlay_rgba_[i] = rgba_of_argb(image->pixels[i]);
        page_put_overlay(overlay_rgba_.data(), image->width, image->height);
    }
    uint32_t display_losses() override { return 0; }

    uint32_t tick_count() override { return static_cast<uint32_t>(emscripten_get_now()); }
    std::unique_ptr<audio_output> open_audio(int frequency) override {
        return open_web_audio(frequency);
    }

    void hand_over_file(const std::string& path) override {
        std::ifstream file(path, std::ios::binary);
        if (!file) return;
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        const size_t slash = path.find_last_of('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        page_download(name.c_str(), bytes.data(), static_cast<int>(bytes.size()));
    }

private:
    // Called by the browser inside its own key handler, so that the request
    // for full screen counts as the user's.
    static EM_BOOL on_key(int, const EmscriptenKeyboardEvent* e, void* user) {
        auto* self = static_cast<web_host*>(user);
        const bool alt_enter = e->altKey && std::strcmp(e->key, "Enter") == 0;
        if (alt_enter || ((e->key[0] == 'f' || e->key[0] == 'F') && e->key[1] == 0)) {
            if (!e->repeat) page_toggle_fullscreen();
            return EM_TRUE;
        }
        const int key = virtual_key(*e);
        if (key == 0) return EM_FALSE;
        if (!e->repeat || repeats(key)) self->events_.push_back({host_event::kind::key_down, key});
        return EM_TRUE; // no scrolling, no focus moving on Tab, no browser shortcut
    }

    // A hidden tab holds the show: the sound stops where it is, and with it
    // the music's clock; nothing is drawn until the tab is seen again.
    static EM_BOOL on_visibility(int, const EmscriptenVisibilityChangeEvent* e, void* user) {
        auto* self = static_cast<web_host*>(user);
        hold_web_audio(e->hidden != 0);
        self->events_.push_back(
            {e->hidden ? host_event::kind::deactivate : host_event::kind::activate, 0});
        return EM_FALSE;
    }

    std::unique_ptr<web_window> window_;
    std::deque<host_event> events_;
    std::vector<uint32_t> rgba_;
    std::vector<uint32_t> overlay_rgba_;
};

} // namespace

std::unique_ptr<host_system> make_web_host() {
    return std::make_unique<web_host>();
}

} // namespace vilora
