// The engine services that the picture code, the rasterisers and the effect
// parts build on: the screen the show draws on, the processor's blend paths,
// the engine's one ".782" reader and the pseudo-random generator (the numeric
// helpers are in numbers.h). What they hold lives in a few records, each
// saying who writes it.
#pragma once

#include "platform/display/clip_rect.h"

#include <cstdint>

namespace vilora {

class display_device;
class library_file;

// The screen the show draws on. Start-up alone writes it, through set_screen,
// before any part is built (tests and tools that stand in for start-up call
// set_screen too). The timeline hands its display and origin to the parts
// with every frame.
struct screen_state {
    display_device* display = nullptr; // whose back surface the frame is drawn into
    int32_t screen_width = 640;        // the mode; 640 x 480 until start-up sets it
    int32_t screen_height = 480;
    int32_t origin_x = 0; // top-left corner of the 320x200 picture area
    int32_t origin_y = 0;

    // The picture area: origin_x <= column < screen_width - origin_x, and so
    // for rows; right and bottom exclusive.
    clip_rect picture_area() const {
        return {origin_x, origin_y, screen_width - origin_x, screen_height - origin_y};
    }
};

const screen_state& engine_screen();
// The screen of a mode: the picture area at the top of a 200-line screen and
// letterboxed, 20 black lines above and below, on any other. The picture area
// becomes the display's clip, through which the picture blits and the
// rasterisers cut everything they draw.
void set_screen(display_device* display, int32_t width, int32_t height);
// The display is gone (start-up's teardown); the mode stays as it was.
void leave_screen();

// What the processor runs. Set before the program starts, from detect_mmx;
// tests, benchmarks and fuzz targets switch it to force one blend path or the
// other. Nothing else writes it.
struct processor_state {
    bool cpu_has_mmx = false; // the four-pixel blend paths run here
};
extern processor_state processor;
bool detect_mmx();

// The engine's one ".782" reader, and the opening through which start-up
// switches picture loading to a library: the title is not checked; on success
// library_open() becomes true and stays true (pictures are then read from the
// library only). A failed open leaves it as it was. open_library alone sets
// it; close_library, for tests that go back to plain files, clears it.
library_file& engine_library();
bool open_library(const char* file_name);
bool library_open();
void close_library();

// The runtime's linear congruential generator: state = state * 214013 + 2531011
// (mod 2^32); each value is bits 16..30 of the new state (0..32767). The state
// is 1 until seeded; seed_random alone writes it, and random_value steps it.
// Both are inline: the noise lines draw one value per pixel, and with n known
// where it is called the remainder becomes a multiplication.
struct random_state {
    uint32_t state = 1;
};
inline random_state random_generator;

void seed_random(uint32_t state);
void seed_random_from_time();
inline int32_t random_value() {
    random_generator.state = random_generator.state * 214013u + 2531011u;
    return static_cast<int32_t>(random_generator.state >> 16 & 0x7FFF);
}
// random_value() modulo n, n > 0; 0 for any other n.
inline int32_t random_int(int32_t n) {
    const int32_t value = random_value();
    return n > 0 ? value % n : 0;
}
// The next `count` results of random_int(n), 0 <= count <= random_batch_limit,
// exactly as that many calls give them. Each state is reached from the first
// in one step, state_k = A_k state_0 + C_k (A_k = 214013^k, C_k the sum of
// 2531011 * 214013^i for i < k, mod 2^32), so the steps do not wait on each
// other.
inline constexpr int32_t random_batch_limit = 320;
void random_ints(int32_t n, int32_t* out, int32_t count);
// Moves the generator on by `draws` values, as that many calls of
// random_value would, in O(log draws) steps: the affine step s -> A s + C
// composed with itself by squaring.
void skip_random(uint64_t draws);

} // namespace vilora
