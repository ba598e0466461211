#include "parts/noise_lines.h"

#include "engine/engine.h"

namespace vilora {

void draw_noise_lines(const locked_pixels& back, int32_t count, uint16_t colour, int32_t x,
                      int32_t y) {
    int32_t thirds[320];
    for (int32_t n = 0; n < count; ++n) {
        const int32_t row = y + random_int(200);
        random_ints(3, thirds, 320);
        for (int32_t k = 0; k < 320; ++k)
            if (thirds[k] == 2) back.write(row, x + k, colour);
    }
}

} // namespace vilora
