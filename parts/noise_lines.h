// Noise lines: random rows of the picture area, each with about a third of
// its pixels set to one colour.
#pragma once

#include "parts/part_pixels.h"

#include <cstdint>

namespace vilora {

// `count` times: a row r = random_int(200), then for each column k = 0..319
// in order one draw of random_int(3); a draw of 2 sets (y + r, x + k) to
// `colour`. The draws are made whatever the surface, so the sequence of
// random numbers never depends on where the picture area lies. Once every
// pixel of the picture area inside the surface holds `colour`, further lines
// change nothing: the draws they would make are skipped in one jump of the
// generator, so the cost of a call is bounded by what covering the area takes.
void draw_noise_lines(const locked_pixels& back, int32_t count, uint16_t colour, int32_t x,
                      int32_t y);

} // namespace vilora
