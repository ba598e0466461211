// The clock that paces the timeline. Only the timeline reads it: the parts
// animate per frame drawn, not per unit of time.
#pragma once

#include <cstdint>

namespace vilora {

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

// The host's millisecond tick count.
uint32_t tick_count();

} // namespace vilora
