#include "tests/pictures/blit_expectations.h"

#include "engine/engine.h"
#include "tests/pictures/blend_oracle.h"

#include <algorithm>

namespace vilora::testing {

namespace {

struct row_context {
    const std::vector<uint32_t>& source; // the picture's pixels
    const uint8_t* alpha;
    int32_t picture_width;
    int32_t first_u; // picture column of the row's first drawn pixel
    int32_t columns; // drawn pixels in the row
    bool grouped;    // four-pixel path
};

uint32_t alpha_pixel(const display_device& display, const row_context& row, int32_t v, int32_t i,
                     uint32_t d) {
    const auto at = [&](int32_t k) {
        return static_cast<size_t>(v) * static_cast<size_t>(row.picture_width) +
               static_cast<size_t>(row.first_u + k);
    };
    const uint32_t s = row.source[at(i)];
    const int32_t a = row.alpha[at(i)];
    if (row.grouped && i < row.columns / 4 * 4) {
        const int32_t g = i / 4 * 4;
        bool clear = true, solid = true;
        for (int32_t k = g; k < g + 4; ++k) {
            clear = clear && row.alpha[at(k)] == 0;
            solid = solid && row.alpha[at(k)] == 255;
        }
        return clear ? d : solid ? s : oracle_blend(display, s, d, a, true); // 16 bits only
    }
    const int32_t copy_from = display.format->bits_per_pixel == 8 ? 248 : 255;
    return a == 0           ? d
           : a >= copy_from ? oracle_copy(display, s, d)
                            : oracle_blend(display, s, d, a, false);
}

} // namespace

std::vector<uint32_t> expected_blend(blit_screen& screen, int32_t index, int32_t x, int32_t y,
                                     int32_t level, const std::vector<uint32_t>& before) {
    const display_device& display = screen.screen.display;
    surface& picture = screen.picture(index);
    const std::vector<uint32_t> source = pixel_values(picture);
    const clip_rect& c = *picture.clip;
    const int32_t width = screen.back().width, height = screen.back().height;
    const int64_t left = std::max<int64_t>({x, c.left, 0});
    const int64_t right = std::min<int64_t>({int64_t{x} + picture.width, c.right, width});
    const bool keyed = picture.flags & surface_colour_keyed;
    const bool grouped = processor.cpu_has_mmx && display.format->bits_per_pixel == 16;
    std::vector<uint32_t> out = before;
    if (left >= right) return out;
    for (int64_t r = std::max<int64_t>({y, c.top, 0});
         r < std::min<int64_t>({int64_t{y} + picture.height, c.bottom, height}); ++r) {
        const auto v = static_cast<int32_t>(r - y);
        const row_context row{source,
                              picture.alpha_map.get(),
                              picture.width,
                              static_cast<int32_t>(left - x),
                              static_cast<int32_t>(right - left),
                              grouped};
        for (int32_t i = 0; i < row.columns; ++i) {
            const auto at = static_cast<size_t>(r * width + left + i);
            const uint32_t s = source[static_cast<size_t>(v) * static_cast<size_t>(picture.width) +
                                      static_cast<size_t>(row.first_u + i)];
            if (level < 0) {
                out[at] = alpha_pixel(display, row, v, i, before[at]);
            } else if (!keyed || key_value(display, s) != picture.colour_key) {
                const bool group = grouped && i < row.columns / 4 * 4;
                out[at] = oracle_blend(display, s, before[at], level, group);
            }
        }
    }
    return out;
}

} // namespace vilora::testing
