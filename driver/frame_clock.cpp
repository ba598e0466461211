#include "driver/frame_clock.h"

#include "platform/hosts/host.h"

namespace vilora {

uint32_t tick_count() {
    return host().tick_count();
}

void frame_clock::reset() {
    start_tick = tick_count();
    frame_start_ms_ = 0;
    next_start_ms_.reset();
}

uint32_t frame_clock::elapsed_ms() const {
    return tick_count() - start_tick;
}

double frame_clock::seconds_since_start() const {
    return elapsed_ms() * 0.001;
}

void frame_clock::begin_frame(bool after_pause) {
    const uint32_t now = elapsed_ms();
    frame_start_ms_ = now;
    if (next_start_ms_ && !after_pause && now - *next_start_ms_ < frame_period_ms)
        frame_start_ms_ = *next_start_ms_;
    next_start_ms_.reset();
    frame_time = frame_start_ms_ * 0.001;
}

// At least 60 ms since the frame's start, counted in whole ticks: the same
// condition as ((tick - start) * 0.001 - frame_time) * 1000 >= 60 without the
// rounding of the seconds, which denies it at exactly 60 ms about half the
// time and so made every other frame 61 ms long.
void frame_clock::wait_for_frame_end() {
    for (;;) {
        const uint32_t now = elapsed_ms();
        if (now - frame_start_ms_ >= frame_period_ms) {
            next_start_ms_ = now;
            return;
        }
        host().sleep_until_tick(start_tick + frame_start_ms_ + frame_period_ms);
    }
}

bool frame_clock::frame_end_reached() {
    if (elapsed_ms() - frame_start_ms_ < frame_period_ms) return false;
    next_start_ms_ = frame_start_ms_ + frame_period_ms;
    return true;
}

} // namespace vilora
