#include "platform/hosts/headless_host.h"

#include <chrono>
#include <csignal>

namespace vilora {

namespace {
struct headless_window : host_window {
    std::string title;
};

volatile std::sig_atomic_t signal_arrived = 0;

extern "C" void note_signal(int) {
    signal_arrived = 1;
}
} // namespace

void headless_host::close_on_signals() {
    struct sigaction action {};
    action.sa_handler = note_signal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

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

void headless_host::post_event(const host_event& event) {
    {
        std::lock_guard guard(events_lock_);
        events_.push_back(event);
    }
    event_posted_.notify_all();
}

bool headless_host::next_event(host_window*, host_event& event) {
    if (signal_arrived) {
        signal_arrived = 0;
        event = host_event{host_event::kind::close};
        return true;
    }
    std::lock_guard guard(events_lock_);
    if (events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

bool headless_host::wait_event(host_window*, host_event& event, int milliseconds) {
    std::unique_lock guard(events_lock_);
    if (!event_posted_.wait_for(guard, std::chrono::milliseconds(milliseconds),
                                [&] { return !events_.empty(); }))
        return false;
    event = events_.front();
    events_.pop_front();
    return true;
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

void headless_host::set_overlay(host_window*, const overlay_image* image, bool show_now) {
    overlay_shown = image != nullptr;
    if (image) overlay = *image;
    if (show_now) ++overlay_redraws;
}

} // namespace vilora
