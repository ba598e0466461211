// Writes PSD files: 8 bits per channel, RGB colour mode, 3 channels or 4 with
// alpha, raw or PackBits-compressed. The merged image carries the picture;
// with alpha, one raw layer of the same pixels marks the fourth channel as
// the merged image's transparency, as readers expect.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vilora::kit {

// One plane per channel in the order red, green, blue (, alpha), each
// width x height bytes, row-major, top row first.
struct psd_picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<std::vector<uint8_t>> planes;
};

// With `packbits` every row of every channel is packed on its own and the
// table of packed row sizes precedes the data, as readers expect.
std::vector<uint8_t> write_psd(const psd_picture& picture, bool packbits);

// PackBits: runs of 2 to 128 equal bytes as (257 - n, byte) and literal
// stretches of 1 to 128 bytes as (n - 1, bytes).
std::vector<uint8_t> packbits_encode(const uint8_t* bytes, size_t size);

} // namespace vilora::kit
