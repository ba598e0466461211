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

// --calm: the finale shows each scene it picks for this many frames at least,
// so that at 60 ms a frame the picture changes at most three times a second.
inline constexpr int calm_hold_frames = 6;

// The finale's scene under --calm. The finale still draws random_int(15) on
// every frame, as without --calm, so the generator advances as the show has
// always advanced it; a draw only takes the screen once the scene before it
// has been shown for calm_hold_frames frames, and the others are let go.
class finale_hold {
public:
    part_call hold(part_call drawn);

private:
    part_call shown_{};
    int frames_shown_ = 0; // 0: nothing shown yet
};

// The run calls of one frame, in order. `variant` is the frame's one snapshot of
// sync_variant. The finale draws random_int(15) for its scene; with `calm`
// that scene passes through it.
std::vector<part_call> scheduled_calls(uint16_t order, uint16_t row, uint8_t variant,
                                       bool in_test_mode, finale_hold* calm = nullptr);

// The finale's scenes, indexed by random_int(15).
part_call shuffle_entry(int k);

} // namespace vilora
