#include "driver/engine.h"

#include "library/library_file.h"

#include <cmath>

namespace vilora {

int32_t screen_width = 640;
int32_t screen_height = 480;
display_device* engine_display = nullptr;
int32_t origin_x = 0;
int32_t origin_y = 0;
bool test_mode = false;
std::atomic<uint8_t> sync_variant{0};
bool cpu_has_mmx = detect_mmx();
bool library_open = false;

// Statics of one file initialise in order of definition: the reader is
// constructed after the processor check.
namespace {
library_file the_library;
} // namespace

library_file& engine_library() {
    return the_library;
}

int16_t get_screen_width() {
    return static_cast<int16_t>(screen_width);
}
int16_t get_screen_height() {
    return static_cast<int16_t>(screen_height);
}

void set_screen_size(int32_t width, int32_t height) {
    screen_width = width;
    screen_height = height;
}

double deg_to_rad(int32_t degrees) {
    return degrees * 0.017444444444444446;
}

int64_t step_sum(int32_t n) {
    double sum = 0.0;
    for (int32_t i = 1; i <= n; ++i) sum += i * 1.1;
    return static_cast<int64_t>(std::trunc(sum));
}

} // namespace vilora
