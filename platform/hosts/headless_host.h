// The null backend: no window, no screen. Presented frames go to a sink (the
// capture writer, or a test). Tests can also inject events and take the display
// memory away.
#pragma once

#include "platform/hosts/host.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace vilora {

class headless_host : public host_system {
public:
    using frame_sink = std::function<void(const rgb_frame&)>;

    headless_host() = default;
    explicit headless_host(frame_sink sink) : sink_(std::move(sink)) {}

    host_window* open_window(const char* title, int x, int y, int width, int height) override;
    void close_window(host_window* window) override;
    bool next_event(host_window* window, host_event& event) override;
    bool wait_event(host_window* window, host_event& event, int milliseconds) override;
    screen_size desktop_size() override { return {320, 240}; }
    void show_cursor(bool visible) override { cursor_visible = visible; }
    void message_box(host_window* owner, const char* text, const char* caption) override;

    bool take_exclusive(host_window* window) override { return window != nullptr; }
    bool set_display_mode(host_window* window, int width, int height, int depth) override;
    void present(host_window* window, const rgb_frame& frame) override;
    void set_overlay(host_window* window, const overlay_image* image, bool show_now) override;
    bool shows_frames() override { return static_cast<bool>(sink_); }
    uint32_t display_losses() override { return keep_losing ? ++losses : losses; }
    uint32_t tick_count() override { return monotonic_milliseconds(); }
    // No sound hardware here.
    std::unique_ptr<audio_output> open_audio(int) override { return nullptr; }
    // Noted for tests; the file stays where it was written.
    void hand_over_file(const std::string& path) override { files_handed_over.push_back(path); }

    // For tests and the capture mode.
    void set_sink(frame_sink sink) { sink_ = std::move(sink); }
    // From any thread.
    void post_event(const host_event& event);
    // From now on SIGINT, SIGTERM and SIGHUP (the terminal closed) close the
    // window, as they do a window on screen: the run ends as after Escape, and
    // what it writes is complete.
    void close_on_signals();
    void lose_display() { ++losses; }

    bool cursor_visible = true;
    bool keep_losing = false; // every query reports a new loss: restores never stick
    uint32_t losses = 0;
    int frames_presented = 0;
    bool overlay_shown = false;
    overlay_image overlay;   // the latest laid over the frames
    int overlay_redraws = 0; // frames shown again for the overlay
    int windows_open = 0;
    std::vector<std::string> files_handed_over;
    std::string last_message; // text of the last message box
    std::string last_caption;

private:
    frame_sink sink_;
    std::mutex events_lock_;
    std::condition_variable event_posted_;
    std::deque<host_event> events_;
};

} // namespace vilora
