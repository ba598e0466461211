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

void frame_clock::wait_for_frame_end() {
    // The condition is the one the show always paced by, in seconds as
    // ((tick - start) * 0.001 - frame_time) * 1000 >= 60; the sleep aims at the
    // tick where it first holds, one tick later should rounding deny it there.
    uint32_t deadline = start_tick + frame_start_ms_ + frame_period_ms;
    for (;;) {
        const uint32_t now = elapsed_ms();
        if ((now * 0.001 - frame_time) * 1000.0 >= frame_period_ms) {
            next_start_ms_ = now;
            return;
        }
        const uint32_t tick = start_tick + now;
        if (static_cast<int32_t>(deadline - tick) <= 0) deadline = tick + 1;
        host().sleep_until_tick(deadline);
    }
}

} // namespace vilora
