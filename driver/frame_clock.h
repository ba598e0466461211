// The clock that paces the timeline. Only the timeline reads it: the parts
// animate per frame drawn, not per unit of time.
#pragma once

#include <cstdint>
#include <optional>

namespace vilora {

inline constexpr uint32_t frame_period_ms = 60;

class frame_clock {
public:
    frame_clock() { reset(); }
    virtual ~frame_clock() = default;

    void reset();
    // Milliseconds since start_tick, as an unsigned 32-bit difference (the wrap of
    // the tick counter is harmless), in seconds.
    double seconds_since_start() const;

    // Takes the frame's start into frame_time. Frames follow each other on a 60 ms
    // beat: a frame starts where the previous one was presented, so that what the
    // present costs falls inside this frame's 60 ms and not after them. After a
    // pause, or when the previous frame ended a whole period ago, it starts now.
    void begin_frame(bool after_pause = false);
    // Sleeps until 60 ms have passed since the frame's start (at once for a frame
    // that took longer), and marks that moment, the present's, as the next
    // frame's start.
    void wait_for_frame_end();
    // The same without waiting: true once 60 ms have passed since the frame's
    // start. A caller that looks only now and then (a browser page, once per
    // display refresh) sees the end late; the next frame then starts where this
    // one's 60 ms ended, not where it looked, so that frames keep their 60 ms
    // beat on average.
    bool frame_end_reached();
    double frame_time = 0.0; // seconds since start_tick at the start of the current frame
    uint32_t start_tick = 0; // the host's millisecond tick count at reset

private:
    uint32_t elapsed_ms() const;

    uint32_t frame_start_ms_ = 0; // frame_time in whole milliseconds
    std::optional<uint32_t> next_start_ms_;
};

// The host's millisecond tick count.
uint32_t tick_count();

} // namespace vilora
