// Which parts draw at a position of the music: the fixed schedule by pattern
// order and row, the finale's shuffle, and test mode.
#pragma once

#include "driver/part_roster.h"

#include <cstdint>
#include <vector>

namespace vilora {

struct part_call {
    part_id part;
    int mode;
    bool operator==(const part_call&) const = default;
};

inline constexpr uint16_t final_order = 67; // reaching it ends the show

// The run calls of one frame, in order. `variant` is the frame's one snapshot of
// sync_variant. The finale draws random_int(15) for its scene.
std::vector<part_call> scheduled_calls(uint16_t order, uint16_t row, uint8_t variant,
                                       bool in_test_mode);

// The finale's scenes, indexed by random_int(15).
part_call shuffle_entry(int k);

} // namespace vilora
