// The screen's pixel format, read once from the display when the mode is set.
// Every drawing routine packs colours with it.
#pragma once

#include <cstdint>

namespace vilora {

// The pixel format as the display reports it (32 bytes: size, flags, four-cc,
// bit count, red, green, blue and alpha masks).
struct format_record {
    uint32_t size = 0;
    uint32_t flags = 0;
    uint32_t four_cc = 0;
    uint32_t rgb_bit_count = 0;
    uint32_t red_mask = 0;
    uint32_t green_mask = 0;
    uint32_t blue_mask = 0;
    uint32_t alpha_mask = 0;
};
static_assert(sizeof(format_record) == 32);

inline constexpr uint32_t format_flag_rgb = 0x40;
inline constexpr uint32_t format_flag_palette_indexed = 0x20;

// Which 16-bit layout the display offers: 5-6-5 unless chosen otherwise.
enum class high_colour_layout { rgb565, rgb555 };
void set_high_colour_layout(high_colour_layout layout);
high_colour_layout current_high_colour_layout();

// `layout` values.
inline constexpr int32_t layout_other = 0;
inline constexpr int32_t layout_555 = 1;
inline constexpr int32_t layout_565 = 2;
inline constexpr int32_t layout_888 = 3;

class pixel_format {
public:
    virtual ~pixel_format() = default;

    // Fills every field from the display's record (masks only above 8 bits).
    void read(const format_record& record);

    // ((r >> red_right_shift) << red_left_shift) | the same for green and blue;
    // channels are 8-bit values.
    uint32_t pack(uint32_t red, uint32_t green, uint32_t blue) const {
        return ((red >> red_right_shift) << red_left_shift) |
               ((green >> green_right_shift) << green_left_shift) |
               ((blue >> blue_right_shift) << blue_left_shift);
    }

    uint32_t red_mask = 0, green_mask = 0, blue_mask = 0;
    // Each mask repeated in the four 16-bit lanes of a 64-bit word.
    uint64_t red_mask_x4 = 0, green_mask_x4 = 0, blue_mask_x4 = 0;
    // Position of each mask's lowest set bit (0 for an empty mask).
    int32_t red_left_shift = 0, green_left_shift = 0, blue_left_shift = 0;
    // 8 minus the mask's bit count: an 8-bit channel shifted right by it fits the field.
    int32_t red_right_shift = 0, green_right_shift = 0, blue_right_shift = 0;
    int32_t bits_per_pixel = 0;
    format_record record;
    int32_t layout = layout_other;
};

} // namespace vilora
