// BMP pixels into a picture surface of the screen's format. Internal to the
// picture decoders.
#pragma once

#include "platform/display/dib_conversion.h"

#include <array>
#include <cstdint>
#include <span>

namespace vilora {

class surface;

inline constexpr uint32_t bmp_rle8 = 1;

// A BMP file whose header the decoder has checked against the file's size.
struct bmp_picture {
    dib_header header;                   // width and height positive: rows bottom-up
    std::array<uint8_t, 1024> palette{}; // 256 x (blue, green, red, reserved)
    std::span<const uint8_t> pixels;     // from the pixel data offset to the end of the file
};

// Bytes per row of an uncompressed 8-bit picture: a multiple of 4.
inline int64_t indexed_stride(int64_t width) {
    return (width + 3) / 4 * 4;
}

// Writes the picture to (0, 0) of the surface, the bottom file row to the bottom
// surface row, by screen depth and picture format: 8-bit pictures through a
// 256-entry table (packed 16-bit pixels, 0x00RRGGBB rows converted as a DIB on
// 24 and 32-bit screens, screen palette indices on 8-bit screens), true colour
// through the DIB conversion.
void convert_bmp(surface& target, const bmp_picture& picture, int32_t colour_keyed);

} // namespace vilora
