#include "driver/frame_clock.h"

#include "platform/hosts/host.h"

namespace vilora {

uint32_t tick_count() {
    return host().tick_count();
}

void frame_clock::reset() {
    start_tick = tick_count();
}

double frame_clock::seconds_since_start() const {
    const uint32_t elapsed = tick_count() - start_tick;
    return elapsed * 0.001;
}

} // namespace vilora
