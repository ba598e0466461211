// Turns what a display surface holds into the 0x00RRGGBB frame the host shows.
#pragma once

#include "platform/display/pixel_format.h"
#include "platform/hosts/host.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vilora {

class video_surface;

// Converts surfaces of one pixel format; its tables are made once, with the
// format, not per frame. 5-6-5 frames take an SSE2 path that gives the same
// pixels as the tables (see pixel_paths.h).
class frame_converter {
public:
    explicit frame_converter(const format_record& format);

    // Fills `frame` (resized to the surface) from a surface of this format.
    void convert(const video_surface& surface, rgb_frame& frame) const;

private:
    // A channel field widened through a table: one lookup per channel and pixel.
    struct channel {
        int shift = 0;
        uint32_t field_mask = 0;
        std::vector<uint8_t> widened;
        explicit channel(uint32_t mask);
        uint32_t of(uint32_t pixel) const { return widened[pixel >> shift & field_mask]; }
    };
    template <typename Pixel>
    void convert_rows(const video_surface& s, uint32_t* out) const;

    channel red_, green_, blue_;
    bool is_565_ = false;
};

rgb_frame frame_from_surface(const video_surface& surface);

// Widens a channel field of `bits` bits to 0..255 (rounded to nearest).
uint8_t widen_channel(uint32_t value, int bits);

} // namespace vilora
