// Frames made larger for people to look at: the show's 320-pixel modes shown
// at 4:3, as the monitors of their day showed them, by whole pixels.
#pragma once

#include "platform/hosts/host.h"

namespace vilora {

// The shape a frame is shown at: 320x240 for the demo's 320x200 and 320x240
// modes, the frame's own size otherwise.
screen_size shown_shape(int frame_width, int frame_height);

// The frame at `factor` times its shown shape, each pixel taken from the
// nearest source pixel (a 240-line frame becomes factor x factor blocks; a
// 200-line one repeats its rows 6 times in 5 at factor 1). An empty frame for
// a factor below 1 or an empty source.
rgb_frame scaled_to_shown_shape(const rgb_frame& frame, int factor);

} // namespace vilora
