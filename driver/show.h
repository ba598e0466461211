// The show: start-up, the music-synchronised timeline and shutdown. Everything
// the driver owns lives in one `show_state`; the window procedure's Escape
// handler tears it down from inside the message pump.
#pragma once

#include "driver/frame_clock.h"
#include "driver/frame_times.h"
#include "driver/part_roster.h"
#include "driver/schedule.h"
#include "platform/display/display_device.h"
#include "platform/sound/sound.h"
#include "platform/window/app_window.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vilora {

// How the show runs: on screen in real time, or headless and offline, one
// frame per 60 ms of music, for capturing or timing it.
enum class run_kind { show, capture, record, bench };

// A place in the music: pattern order and row.
struct show_position {
    uint16_t order = 0;
    uint16_t row = 0;
    bool operator==(const show_position&) const = default;
};

struct show_options {
    int32_t width = 320; // "0" on the command line: 200 lines; "1": 240
    int32_t height = 240;
    bool test_mode = false;  // "T": oneco1 every frame
    bool full_screen = true; // --window clears it
    run_kind kind = run_kind::show;
    std::optional<uint32_t> seed;       // --seed; else the time of day
    std::optional<part_call> only_part; // --part NAME[:MODE]
    // --start ORDER[:ROW]: the music starts there and the timeline with it; the
    // parts start fresh, as built.
    std::optional<show_position> start;
    // --until ORDER[:ROW]: the show ends when the music gets there.
    std::optional<show_position> until;
    int scale = 3; // --scale: whole pixels per pixel of the 4:3 picture in videos and screenshots
    bool calm = false; // --calm: the finale holds each scene for calm_hold_frames frames
};

// One frame as the timeline played it.
struct frame_record {
    uint64_t frame = 0;
    uint16_t order = 0;
    uint16_t row = 0;
    uint8_t variant = 0;
    std::vector<part_call> calls;
    // How much of the show's music, from its start position to order 67 or
    // --until, lies behind (headless runs only).
    double done = 0.0;
};

// Watches the show: the capture writer and the benchmark recorder are observers.
class show_observer {
public:
    virtual ~show_observer() = default;
    virtual void part_ran(const part_call&, std::chrono::nanoseconds) {}
    virtual void audio_played(const std::vector<int16_t>&) {}
    virtual void frame_done(const frame_record&) {}
};

// What the transport keys asked for (transport.h), kept between frames.
struct transport_state {
    bool paused = false;
    int steps = 0;              // frames to run while paused, one per "."
    int jump = 0;               // orders to move by before the next frame
    bool overlay = false;       // Tab
    bool overlay_stale = false; // shown or hidden since the frame on screen was presented
    frame_times times;
    frame_record shown; // the frame on screen
};

inline constexpr size_t audio_frames_per_show_frame = 2646; // 60 ms at 44100 Hz

struct show_state {
    show_options options;
    const part_roster* roster = nullptr;
    show_observer* observer = nullptr;
    app_window* window = nullptr;
    std::unique_ptr<display_device> display;
    music_handle music = 0;
    std::array<std::unique_ptr<effect_part>, part_class_count> parts;
    std::unique_ptr<frame_clock> clock;
    // The scene variant the music's cue track selects: written by the cue
    // callback alone, on the audio thread, hence the atomic byte; read by the
    // timeline once per frame.
    std::atomic<uint8_t> sync_variant{0};
    transport_state transport;
};

// Runs the show from start-up to its end; the program's exit status: 0 after
// the music's end or Escape, 1 when start-up fails (after its message), 2 for
// a start or end position the module does not have (after a line on stderr).
int run_show(show_state& state);

// run_show in two steps: start-up alone, which returns the exit status where
// it fails and nullopt where the timeline (timeline.h) may run.
std::optional<int> start_show(show_state& state);

// After a timeline that ended before its first frame: the show's message for
// music that cannot play, and the exit status 1.
int fail_without_a_frame(show_state& state);

// Stops the music and releases whatever the show still holds (after its end,
// after Escape, or after a failed start-up), so that the audio thread is gone
// before the program exits.
void finish_show(show_state& state);

// The timeline loop, once start-up has succeeded; false when the music had
// ended before the first frame.
bool run_timeline(show_state& state);

// The show's messages, caption "error".
inline constexpr const char* message_no_display = "directx not found. please install it!";
inline constexpr const char* message_no_mode =
    "a desirable graphics mode not found. this demo uses 320x240 or 320x200 16bit modes only!";
inline constexpr const char* message_no_music = "music couln't be started. the module not found!";

// The validity check order (it differs from the construction order).
inline constexpr std::array<part_id, part_class_count> validity_order = {
    part_id::oneco0,   part_id::otitulek, part_id::oskred0, part_id::ogreety, part_id::oneco1,
    part_id::oneco2,   part_id::oneco3,   part_id::oneco4,  part_id::oland,   part_id::pinkous,
    part_id::odistort, part_id::obw,      part_id::houp,
};

// The order in which Escape destroys the parts.
inline constexpr std::array<part_id, part_class_count> escape_order = {
    part_id::otitulek, part_id::oskred0, part_id::ogreety,  part_id::oneco0, part_id::oneco1,
    part_id::oneco2,   part_id::oneco3,  part_id::oneco4,   part_id::oland,  part_id::houp,
    part_id::pinkous,  part_id::obw,     part_id::odistort,
};

// Stores the cue's variant, bits 16..23 of the data word, in the show_state
// that `user` points at.
void music_cue_received(sync_handle sync, music_handle music, uint32_t data, void* user);

} // namespace vilora
