// The host system behind the platform layer: everything vilora needs from the
// operating system goes through this one interface. Three backends implement
// it: SDL2 (a real window, sdl/), web (a canvas in a browser page, web/) and
// headless (no window at all, frames go to a sink). The engine never sees
// which one runs.
#pragma once

#include "platform/sound/audio_output.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vilora {

// A window of the host; each backend derives its own.
struct host_window {
    virtual ~host_window() = default;
};

// A finished frame as it reaches the screen: 0x00RRGGBB per pixel, row-major.
struct rgb_frame {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// A picture laid over the presented frame for the viewer alone: 0xAARRGGBB,
// row-major. It is never part of the frame, so captures and the display
// memory do not see it.
struct overlay_image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// Virtual key codes of the keys the show answers to, as key_down events carry them.
inline constexpr int key_tab = 0x09;
inline constexpr int key_escape = 27;
inline constexpr int key_space = 0x20;
inline constexpr int key_page_up = 0x21;
inline constexpr int key_page_down = 0x22;
inline constexpr int key_left = 0x25;
inline constexpr int key_right = 0x27;
inline constexpr int key_f12 = 0x7B;
inline constexpr int key_period = 0xBE;

// What the host tells the window layer; translated into window messages there.
struct host_event {
    enum class kind { close, activate, deactivate, key_down };
    kind what = kind::close;
    int key = 0; // virtual key code for key_down
};

struct screen_size {
    int width = 0;
    int height = 0;
};

class host_system {
public:
    virtual ~host_system() = default;

    // Windows. open_window returns null when the host cannot show one.
    virtual host_window* open_window(const char* title, int x, int y, int width, int height) = 0;
    virtual void close_window(host_window* window) = 0;
    // Takes at most one event for the window without waiting.
    virtual bool next_event(host_window* window, host_event& event) = 0;
    // The same, sleeping until an event comes or `milliseconds` have passed.
    virtual bool wait_event(host_window* window, host_event& event, int milliseconds) = 0;
    virtual screen_size desktop_size() = 0;
    virtual void show_cursor(bool visible) = 0;
    // Modal where the host can show one (the window layer also copies it to stderr).
    virtual void message_box(host_window* owner, const char* text, const char* caption) = 0;

    // The display: the window becomes the exclusive owner of the screen, which then
    // shows frames of width x height at the given depth.
    virtual bool take_exclusive(host_window* window) = 0;
    virtual bool set_display_mode(host_window* window, int width, int height, int depth) = 0;
    // Makes ready what presenting to the window needs, where that takes time;
    // the driver calls it while the show's data loads on another thread, and
    // present does it itself when it has not been done. False when the window
    // cannot be drawn in.
    virtual bool prepare_presentation(host_window*) { return true; }
    // True where prepare_presentation takes long enough to be worth doing
    // while the data loads on another thread.
    virtual bool presentation_takes_time() { return false; }
    virtual void present(host_window* window, const rgb_frame& frame) = 0;
    // Lays `image` over the frames presented from now on, at the picture's
    // top-left corner; null takes it away. With `show_now` the frame on screen
    // is shown again with it (while the show stands still).
    virtual void set_overlay(host_window* window, const overlay_image* image, bool show_now) = 0;
    // False where nobody looks at presented frames: they are then handed over
    // empty, without being converted.
    virtual bool shows_frames() { return true; }
    // Counts the times the display memory was taken away (the full-screen window lost
    // the focus). Surfaces created or restored before the latest loss are lost.
    virtual uint32_t display_losses() = 0;

    // Milliseconds of a monotonic clock, 32-bit, wrapping.
    virtual uint32_t tick_count() = 0;
    // Sleeps until tick_count() has reached `tick` (compared as a signed 32-bit
    // difference, so across the wrap); returns at once when it already has.
    virtual void sleep_until_tick(uint32_t tick);

    // The default sound device for 16-bit stereo at the given rate; null when
    // there is none.
    virtual std::unique_ptr<audio_output> open_audio(int frequency) = 0;

    // A file just written for the user (a screenshot). Where the user cannot
    // reach the program's files (a browser page), the host hands it over as a
    // download; elsewhere it is where it was written.
    virtual void hand_over_file(const std::string&) {}
};

// The host in use. Until set_host is called it is a headless host.
host_system& host();
// Replaces the host; returns the previous one.
std::unique_ptr<host_system> set_host(std::unique_ptr<host_system> replacement);

uint32_t monotonic_milliseconds();

} // namespace vilora
