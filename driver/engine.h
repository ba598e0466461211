// Engine services shared by the driver, the picture code and the effect parts:
// the frame clock, the pseudo-random generator, the screen globals, the
// processor check and two numeric helpers.
#pragma once

#include <atomic>
#include <cstdint>

namespace vilora {

class display_device;
class library_file;

// Paces the timeline. Only the timeline reads it: the parts animate per frame drawn.
class frame_clock {
public:
    frame_clock() { reset(); }
    virtual ~frame_clock() = default;

    void reset();
    // Milliseconds since start_tick, as an unsigned 32-bit difference (the wrap of
    // the tick counter is harmless), in seconds.
    double seconds_since_start() const;

    double frame_time = 0.0; // seconds since start_tick at the start of the current frame
    uint32_t start_tick = 0; // the host's millisecond tick count at reset
};

uint32_t tick_count();

// The runtime's linear congruential generator: state = state * 214013 + 2531011
// (mod 2^32); each value is bits 16..30 of the new state (0..32767).
void seed_random(uint32_t state);
void seed_random_from_time();
int32_t random_value();
// random_value() modulo n, n > 0.
int32_t random_int(int32_t n);

// Screen size of the chosen mode; 640 x 480 until the driver sets it.
int16_t get_screen_width();
int16_t get_screen_height();
void set_screen_size(int32_t width, int32_t height);
extern int32_t screen_width;
extern int32_t screen_height;

// The show's one display, whose back surface the triangle and line primitives
// draw into; null while there is none.
extern display_device* engine_display;

// Top-left corner of the 320x200 picture area on the back surface.
extern int32_t origin_x;
extern int32_t origin_y;

// The kind every picture surface is created with (off-screen, system memory).
inline constexpr int16_t picture_surface_kind = 3;
inline int16_t get_picture_surface_kind() {
    return picture_surface_kind;
}

// The engine's one ".782" reader, and the opening through which the driver
// switches picture loading to a library: the title is not checked; on success
// library_open becomes true and stays true (pictures are then read from the
// library only). A failed open leaves library_open as it was.
library_file& engine_library();
bool open_library(const char* file_name);
extern bool library_open;

// The processor runs the four-pixel blend paths. Set before the program starts;
// tests may set it either way.
extern bool cpu_has_mmx;
bool detect_mmx();

// Test mode ("T" on the command line) and the scene variant the music's cue
// track selects; the cue arrives on the audio thread, hence the atomic byte.
extern bool test_mode;
extern std::atomic<uint8_t> sync_variant;

// Degrees to radians with pi taken as 3.14: degrees * 0.017444444444444446.
double deg_to_rad(int32_t degrees);
// Sum of i * 1.1 for i = 1..n, accumulated in double and truncated toward zero;
// 0 for n <= 0.
int64_t step_sum(int32_t n);

} // namespace vilora
