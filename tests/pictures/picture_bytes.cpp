#include "tests/pictures/picture_bytes.h"

#include <cstddef>

namespace vilora::testing {

namespace {
void put_le(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
void put_be(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
} // namespace

std::vector<uint8_t> bmp_bytes(const bmp_spec& spec) {
    const uint32_t palette_size = spec.bits == 8 ? 1024 : 0;
    const uint32_t pixel_offset = 14 + spec.info_size + palette_size;
    std::vector<uint8_t> out = {'B', 'M'};
    put_le(out, pixel_offset + static_cast<uint32_t>(spec.pixels.size()), 4);
    put_le(out, 0, 4);
    put_le(out, pixel_offset, 4);
    put_le(out, spec.info_size, 4);
    put_le(out, static_cast<uint32_t>(spec.width), 4);
    put_le(out, static_cast<uint32_t>(spec.height), 4);
    put_le(out, 1, 2);
    put_le(out, spec.bits, 2);
    put_le(out, spec.compression, 4);
    put_le(out, static_cast<uint32_t>(spec.pixels.size()), 4);
    put_le(out, 2835, 4);
    put_le(out, 2835, 4);
    put_le(out, spec.bits == 8 ? 256 : 0, 4);
    put_le(out, 0, 4);
    out.resize(14 + spec.info_size, 0);
    for (size_t i = 0; i < palette_size / 4; ++i) {
        const rgb colour = i < spec.palette.size() ? spec.palette[i] : rgb{0, 0, 0};
        out.insert(out.end(), {colour[2], colour[1], colour[0], 0});
    }
    out.insert(out.end(), spec.pixels.begin(), spec.pixels.end());
    return out;
}

std::vector<uint8_t> indexed_rows(int32_t width,
                                  const std::vector<std::vector<uint8_t>>& top_first) {
    const size_t stride = (static_cast<size_t>(width) + 3) / 4 * 4;
    std::vector<uint8_t> out;
    for (auto row = top_first.rbegin(); row != top_first.rend(); ++row) {
        std::vector<uint8_t> padded = *row;
        padded.resize(stride, 0xEE);
        out.insert(out.end(), padded.begin(), padded.end());
    }
    return out;
}

std::vector<uint8_t> psd_bytes(const psd_spec& spec) {
    std::vector<uint8_t> out = {'8', 'B', 'P', 'S'};
    put_be(out, spec.version, 2);
    out.insert(out.end(), 6, 0);
    put_be(out, spec.channels, 2);
    put_be(out, spec.height, 4);
    put_be(out, spec.width, 4);
    put_be(out, spec.depth, 2);
    put_be(out, spec.mode, 2);
    put_be(out, 0, 4); // colour-mode data
    put_be(out, spec.resources_size, 4);
    out.insert(out.end(), spec.resources_size, 0);
    put_be(out, 0, 4); // layer and mask information
    put_be(out, spec.compression, 2);
    out.insert(out.end(), spec.data.begin(), spec.data.end());
    return out;
}

} // namespace vilora::testing
