// BMP and PSD files assembled field by field, so that tests can make the
// unusual and the broken ones that no writer would.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vilora::testing {

using rgb = std::array<uint8_t, 3>;

struct bmp_spec {
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 8;
    uint32_t compression = 0;
    uint32_t info_size = 40;  // information header bytes; larger ones are zero-padded
    std::vector<rgb> palette; // 8-bit pictures: written as 256 entries, the rest black
    std::vector<uint8_t> pixels;
};

// File header, information header, palette (8-bit only), pixels.
std::vector<uint8_t> bmp_bytes(const bmp_spec& spec);

// Rows of an uncompressed 8-bit picture from its indices (top row first, as a
// person reads them): written bottom-up and padded to 4 bytes.
std::vector<uint8_t> indexed_rows(int32_t width,
                                  const std::vector<std::vector<uint8_t>>& top_first);

struct psd_spec {
    uint16_t version = 1;
    uint16_t channels = 3;
    uint32_t width = 1;
    uint32_t height = 1;
    uint16_t depth = 8;
    uint16_t mode = 3;
    uint16_t compression = 0;
    uint32_t resources_size = 0; // bytes of (zero) image resources
    std::vector<uint8_t> data;   // everything after the compression field
};

std::vector<uint8_t> psd_bytes(const psd_spec& spec);

} // namespace vilora::testing
