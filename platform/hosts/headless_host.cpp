#include "platform/hosts/headless_host.h"

namespace vilora {

namespace {
struct headless_window : host_window {
    std::string title;
};
} // namespace

host_window* headless_host::open_window(const char* title, int, int, int, int) {
    ++windows_open;
    auto* window = new headless_window;
    window->title = title ? title : "";
    return window;
}

void headless_host::close_window(host_window* window) {
    if (window) --windows_open;
    delete window;
}

bool headless_host::next_event(host_window*, host_event& event) {
    if (events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

void headless_host::wait_for_event(host_window* window, uint32_t timeout_ms) {
    if (events_.empty()) host_system::wait_for_event(window, timeout_ms);
}

void headless_host::message_box(host_window*, const char* text, const char* caption) {
    last_message = text ? text : "";
    last_caption = caption ? caption : "";
}

bool headless_host::set_display_mode(host_window* window, int, int, int) {
    return window != nullptr;
}

void headless_host::present(host_window*, const rgb_frame& frame) {
    ++frames_presented;
    if (sink_) sink_(frame);
}

} // namespace vilora
