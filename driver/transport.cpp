#include "driver/transport.h"

#include "driver/overlay.h"
#include "driver/screenshot.h"
#include "platform/window/window_system.h"

#include <algorithm>
#include <cstdio>

namespace vilora {

namespace {

// How long the still show sleeps for a message at most, in milliseconds: a
// message wakes it at once, so this only bounds the wait.
constexpr int still_wait = 250;

host_window* host_window_of_show(const show_state& s) {
    return host_window_of(s.window->handle);
}

void show_overlay(show_state& s, bool show_now) {
    host_window* window = host_window_of_show(s);
    if (!window) return;
    if (!s.transport.overlay) {
        host().set_overlay(window, nullptr, show_now);
        return;
    }
    const overlay_facts facts{&s.transport.shown, s.transport.times.last(),
                              s.transport.times.percentile_99(), music_level(s.music),
                              s.transport.paused};
    const overlay_image image = draw_overlay(facts);
    host().set_overlay(window, &image, show_now);
}

void pause(show_state& s, bool paused) {
    s.transport.paused = paused;
    s.transport.steps = 0;
    if (paused)
        music_pause(s.music);
    else
        music_play(s.music);
    s.transport.overlay_stale = true; // "paused" comes and goes
}

void take_screenshot(const show_state& s) {
    std::string failure;
    const std::string path =
        write_screenshot(".", s.display->shown_frame(), s.options.scale, failure);
    if (path.empty()) {
        std::fprintf(stderr, "vilora: no screenshot: %s\n", failure.c_str());
        return;
    }
    std::fprintf(stderr, "vilora: screenshot %s (and its 4:3 copy)\n", path.c_str());
    host().hand_over_file(path);
}

// Orders from the current position, kept within the show: order 0 to the
// last before its end.
void jump(show_state& s) {
    const uint32_t position = music_position(s.music);
    const int order = static_cast<int>(position & 0xFFFF);
    const int target = std::clamp(order + s.transport.jump, 0, final_order - 1);
    s.transport.jump = 0;
    // The variant the show starts with, for a place before any cue; the seek
    // hands over the last cue before the target where there is one.
    const uint8_t variant = s.sync_variant.exchange(0);
    if (!music_seek(s.music, static_cast<uint16_t>(target), 0)) {
        s.sync_variant.store(variant);
        return;
    }
    // A still show shows where it went.
    if (s.transport.paused) s.transport.steps = std::max(s.transport.steps, 1);
}

} // namespace

void transport_key(show_state& s, int key) {
    if (!s.display || s.music == 0) return;
    transport_state& t = s.transport;
    switch (key) {
    case key_space:
        pause(s, !t.paused);
        break;
    case key_period:
        if (t.paused)
            ++t.steps;
        else
            pause(s, true);
        break;
    case key_right:
        ++t.jump;
        break;
    case key_left:
        --t.jump;
        break;
    case key_page_down:
        t.jump += 4;
        break;
    case key_page_up:
        t.jump -= 4;
        break;
    case key_tab:
        t.overlay = !t.overlay;
        t.overlay_stale = true;
        break;
    case key_f12:
        take_screenshot(s);
        break;
    default:
        break;
    }
}

bool transport_before_frame(show_state& s) {
    transport_state& t = s.transport;
    if (t.jump != 0) jump(s);
    if (!t.paused) return true;
    if (t.steps > 0) {
        --t.steps;
        music_play(s.music); // for the one frame's 60 ms
        return true;
    }
    if (t.overlay_stale) {
        t.overlay_stale = false;
        show_overlay(s, true);
    }
    s.window->pump_waiting(still_wait);
    return false;
}

void transport_frame_drawn(show_state& s, const frame_record& record, double milliseconds) {
    transport_state& t = s.transport;
    t.times.add(milliseconds);
    t.shown = record;
    if (t.overlay || t.overlay_stale) show_overlay(s, false);
    t.overlay_stale = false;
}

void transport_after_frame(show_state& s) {
    if (s.transport.paused) music_pause(s.music);
}

} // namespace vilora
