// One row of a keyed copy: source pixels whose colour lies in [low, high] are
// left out, every other one is copied. 16 and 32-bit rows have SSE2 and AVX2
// routines beside the plain one, chosen by pixel_paths.h; all give the same
// destination.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vilora {

// `bytes` per pixel is 1 to 4; the colour of a 32-bit pixel is its low 24 bits.
// Source and destination rows must not overlap.
void copy_keyed_row(uint8_t* d, const uint8_t* s, size_t count, int bytes, uint32_t low,
                    uint32_t high);

} // namespace vilora
