// Where the rasterisers draw: the locked back surface of the engine's display,
// and the picture area on it as far as the surface really holds it.
#pragma once

#include <cstdint>
#include <cstring>

namespace vilora {

struct raster_target {
    uint8_t* pixels = nullptr; // row 0 of the back surface
    int32_t pitch = 0;
    // The picture area (origin_x <= column < screen_width - origin_x, and so for
    // rows) cut to the surface; right and bottom exclusive.
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool holds(int64_t column, int64_t row) const {
        return column >= left && column < right && row >= top && row < bottom;
    }
    void put(int64_t column, int64_t row, uint16_t colour) const {
        std::memcpy(pixels + row * pitch + column * 2, &colour, sizeof colour);
    }
};

// The target now; false when there is no display, its back surface is not
// locked or does not hold 16-bit pixels, or the picture area is empty.
bool current_raster_target(raster_target& target);

} // namespace vilora
