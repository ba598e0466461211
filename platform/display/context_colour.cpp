#include "platform/display/internal/context_colour.h"

#include "platform/display/palette.h"

#include <algorithm>
#include <bit>

namespace vilora {

context_colour::channel context_colour::channel_of(uint32_t mask) {
    channel c;
    c.left_shift = mask ? std::countr_zero(mask) : 0;
    c.right_shift = 8 - std::min(std::popcount(mask), 8);
    return c;
}

context_colour::context_colour(const device_context& context) {
    const uint32_t bits = context.format.rgb_bit_count;
    if (bits == 8) {
        palette_ = context.palette.get();
        if (palette_) bytes_per_pixel_ = 1;
        return;
    }
    if (bits != 16 && bits != 24 && bits != 32) return;
    bytes_per_pixel_ = static_cast<int>(bits / 8);
    red_ = channel_of(context.format.red_mask);
    green_ = channel_of(context.format.green_mask);
    blue_ = channel_of(context.format.blue_mask);
}

uint32_t context_colour::pixel(uint8_t red, uint8_t green, uint8_t blue) {
    if (!palette_) return red_.pack(red) | green_.pack(green) | blue_.pack(blue);
    const uint32_t colour = uint32_t{red} << 16 | uint32_t{green} << 8 | blue;
    // Fibonacci hashing spreads neighbouring colours over the slots.
    cached_index& slot = cache_[(colour * 2654435769u) >> 20];
    if (slot.colour != (colour | 1u << 24)) {
        slot.colour = colour | 1u << 24;
        slot.index = static_cast<uint8_t>(nearest_palette_index(*palette_, red, green, blue));
    }
    return slot.index;
}

} // namespace vilora
