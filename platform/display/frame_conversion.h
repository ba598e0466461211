// Turns what a display surface holds into the 0x00RRGGBB frame the host shows.
#pragma once

#include "platform/hosts/host.h"

#include <cstdint>

namespace vilora {

class video_surface;

rgb_frame frame_from_surface(const video_surface& surface);

// Widens a channel field of `bits` bits to 0..255 (rounded to nearest).
uint8_t widen_channel(uint32_t value, int bits);

} // namespace vilora
