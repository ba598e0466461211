// A plain rectangle; right and bottom are exclusive.
#pragma once

#include <cstdint>

namespace vilora {

struct clip_rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    static clip_rect from_size(int32_t x, int32_t y, int32_t width, int32_t height) {
        return {x, y, x + width, y + height};
    }
};

} // namespace vilora
