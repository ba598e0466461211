// What a whole destination must hold after a cross-fade or an alpha blit of
// one picture, pixel by pixel from the formulas (blend_oracle.h), the shared
// clipping rule and, on 16-bit screens with the four-pixel paths, the groups
// of four counted from the first pixel of every clipped row.
#pragma once

#include "tests/pictures/blit_pictures.h"

#include <cstdint>
#include <vector>

namespace vilora::testing {

// level >= 0: a cross-fade at that level; level < 0: an alpha blit.
std::vector<uint32_t> expected_blend(blit_screen& screen, int32_t index, int32_t x, int32_t y,
                                     int32_t level, const std::vector<uint32_t>& before);

} // namespace vilora::testing
