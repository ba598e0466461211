#include "platform/frame_conversion.h"

#include <bit>

namespace vilora {

uint8_t widen_channel(uint32_t value, int bits) {
    if (bits <= 0) return 0;
    const uint32_t max = (1u << bits) - 1;
    return static_cast<uint8_t>((value * 255 + max / 2) / max);
}

namespace {
struct channel {
    int shift = 0;
    int bits = 0;
    uint32_t mask = 0;
    uint8_t widen(uint32_t pixel) const { return widen_channel((pixel & mask) >> shift, bits); }
};

channel channel_of(uint32_t mask) {
    channel c;
    c.mask = mask;
    c.shift = mask ? std::countr_zero(mask) : 0;
    c.bits = std::popcount(mask);
    return c;
}
} // namespace

rgb_frame frame_from_surface(const video_surface& surface) {
    rgb_frame frame;
    frame.width = surface.width();
    frame.height = surface.height();
    frame.pixels.resize(static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height));
    const format_record& format = surface.format();
    const int bpp = surface.bytes_per_pixel();
    const channel red = channel_of(format.red_mask), green = channel_of(format.green_mask),
                  blue = channel_of(format.blue_mask);
    const palette_entries* palette = surface.palette().get();

    uint32_t* out = frame.pixels.data();
    for (int y = 0; y < frame.height; ++y) {
        const uint8_t* row = surface.memory() + static_cast<size_t>(y) * surface.pitch();
        for (int x = 0; x < frame.width; ++x, row += bpp) {
            uint32_t pixel = 0;
            for (int i = 0; i < bpp; ++i) pixel |= static_cast<uint32_t>(row[i]) << (8 * i);
            if (bpp == 1) {
                // Without a palette an index shows as its grey level.
                const palette_entry e = palette ? (*palette)[pixel]
                                                : palette_entry{uint8_t(pixel), uint8_t(pixel),
                                                                uint8_t(pixel), 0};
                *out++ = uint32_t{e.red} << 16 | uint32_t{e.green} << 8 | e.blue;
            } else {
                *out++ = uint32_t{red.widen(pixel)} << 16 | uint32_t{green.widen(pixel)} << 8 |
                         blue.widen(pixel);
            }
        }
    }
    return frame;
}

} // namespace vilora
