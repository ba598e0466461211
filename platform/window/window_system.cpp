#include "platform/window/window_system.h"

#include "platform/hosts/host.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace vilora {

struct native_window {
    host_window* host_side = nullptr;
    window_procedure procedure = nullptr;
    void* user_data = nullptr;
};

namespace {
// Live windows; a handle not in the list is no (longer a) window.
std::vector<native_window*>& live_windows() {
    static std::vector<native_window*> windows;
    return windows;
}
} // namespace

window_handle create_native_window(const char* title, window_procedure procedure, void* user_data,
                                   uint32_t, int x, int y, int width, int height) {
    if (!procedure) return nullptr;
    host_window* host_side = host().open_window(title, x, y, width, height);
    if (!host_side) return nullptr;
    auto* window = new native_window{host_side, procedure, user_data};
    live_windows().push_back(window);
    return window;
}

bool is_window(window_handle window) {
    auto& windows = live_windows();
    return window && std::find(windows.begin(), windows.end(), window) != windows.end();
}

bool destroy_native_window(window_handle window) {
    if (!is_window(window)) return false;
    window->procedure(window, message_destroy, 0, 0);
    auto& windows = live_windows();
    windows.erase(std::find(windows.begin(), windows.end(), window));
    host().close_window(window->host_side);
    delete window;
    return true;
}

void* window_user_data(window_handle window) {
    return is_window(window) ? window->user_data : nullptr;
}

host_window* host_window_of(window_handle window) {
    return is_window(window) ? window->host_side : nullptr;
}

bool peek_message(window_handle window, window_message& message) {
    if (!is_window(window)) return false;
    host_event event;
    if (!host().next_event(window->host_side, event)) return false;
    message = window_message{window, 0, 0, 0};
    switch (event.what) {
    case host_event::kind::close:
        message.message = message_close;
        break;
    case host_event::kind::activate:
        message.message = message_activate_app;
        message.wparam = 1;
        break;
    case host_event::kind::deactivate:
        message.message = message_activate_app;
        break;
    case host_event::kind::key_down:
        message.message = message_key_down;
        message.wparam = static_cast<uintptr_t>(event.key);
        break;
    }
    return true;
}

void wait_message(window_handle window, uint32_t timeout_ms) {
    host().wait_for_event(host_window_of(window), timeout_ms);
}

intptr_t dispatch_message(const window_message& message) {
    if (!is_window(message.window)) return 0;
    return message.window->procedure(message.window, message.message, message.wparam,
                                     message.lparam);
}

intptr_t default_window_procedure(window_handle window, uint32_t message, uintptr_t, intptr_t) {
    if (message == message_close) destroy_native_window(window);
    return 0;
}

int screen_metric_width() {
    return host().desktop_size().width;
}
int screen_metric_height() {
    return host().desktop_size().height;
}
void show_cursor(bool visible) {
    host().show_cursor(visible);
}

void show_message_box(window_handle owner, const char* text, const char* caption) {
    // A copy on stderr, so that a machine without a display still tells why.
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    host().message_box(host_window_of(owner), text, caption);
}

} // namespace vilora
