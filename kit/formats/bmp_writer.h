// Writes BMP files: 8-bit palettised (uncompressed or RLE8) and 24-bit, rows
// bottom-up with a 40-byte information header, as the picture decoders and
// every common reader take them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vilora::kit {

struct rgb8 {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const rgb8&) const = default;
};

using bmp_palette = std::array<rgb8, 256>;

// An 8-bit picture: palette indices row-major, top row first.
struct indexed_picture {
    int32_t width = 0;
    int32_t height = 0;
    bmp_palette palette{};
    std::vector<uint8_t> indices;
};

// A true-colour picture: pixels row-major, top row first.
struct rgb_picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<rgb8> pixels;
};

// 256 palette entries are always written (the decoders read 256 whatever the
// header says); with `rle` the rows are RLE8-coded.
std::vector<uint8_t> write_bmp8(const indexed_picture& picture, bool rle);
std::vector<uint8_t> write_bmp24(const rgb_picture& picture);

// The RLE8 stream of the rows (bottom row first), ending with the
// end-of-picture code: runs of 2 or more equal indices as (count, index),
// stretches of 3 or more mixed indices as literals padded to an even length,
// each row but the last closed by the end-of-line code.
std::vector<uint8_t> rle8_encode(const indexed_picture& picture);

} // namespace vilora::kit
