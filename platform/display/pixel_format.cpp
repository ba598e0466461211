#include "platform/display/pixel_format.h"

#include <bit>

namespace vilora {

namespace {
int32_t lowest_set_bit(uint32_t mask) {
    return mask ? std::countr_zero(mask) : 0;
}
int32_t right_shift_of(uint32_t mask) {
    return 8 - std::popcount(mask);
}
constexpr uint64_t four_lanes = 0x0001000100010001ull;
} // namespace

void pixel_format::read(const format_record& source) {
    record = source;
    bits_per_pixel = static_cast<int32_t>(record.rgb_bit_count);
    if (bits_per_pixel > 8) {
        red_mask = record.red_mask;
        green_mask = record.green_mask;
        blue_mask = record.blue_mask;
        red_left_shift = lowest_set_bit(red_mask);
        green_left_shift = lowest_set_bit(green_mask);
        blue_left_shift = lowest_set_bit(blue_mask);
        red_right_shift = right_shift_of(red_mask);
        green_right_shift = right_shift_of(green_mask);
        blue_right_shift = right_shift_of(blue_mask);
        if (red_mask == 0x7C00 && green_mask == 0x03E0 && blue_mask == 0x001F)
            layout = layout_555;
        else if (red_mask == 0xF800 && green_mask == 0x07E0 && blue_mask == 0x001F)
            layout = layout_565;
        else if (red_mask == 0xFF0000 && green_mask == 0x00FF00 && blue_mask == 0x0000FF)
            layout = layout_888;
        else
            layout = layout_other;
    }
    red_mask_x4 = red_mask * four_lanes;
    green_mask_x4 = green_mask * four_lanes;
    blue_mask_x4 = blue_mask * four_lanes;
}

} // namespace vilora
