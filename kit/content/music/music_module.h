// The demo's music, "muska.xm", composed and synthesised in code.
#pragma once

#include "kit/formats/xm_writer.h"

#include <cstdint>
#include <vector>

namespace vilora::kit::music {

// The show ends when playback reaches this order; the music has faded to
// silence by then.
constexpr int music_end_order = 67;
// The cue track: its notes' volume-column values pick scene variants.
constexpr uint8_t music_cue_instrument = 64;

// The module in memory, and its file's bytes: the same on every machine.
xm_module music_module();
std::vector<uint8_t> make_music_module();

} // namespace vilora::kit::music
