#include "platform/display/frame_conversion.h"

#include "platform/display/internal/video_memory.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace vilora {

uint8_t widen_channel(uint32_t value, int bits) {
    if (bits <= 0) return 0;
    const uint32_t max = (1u << bits) - 1;
    return static_cast<uint8_t>((value * 255 + max / 2) / max);
}

namespace {
// A channel field widened through a table: one lookup per channel and pixel.
struct channel {
    int shift = 0;
    uint32_t field_mask = 0;
    std::vector<uint8_t> widened;

    explicit channel(uint32_t mask) {
        shift = mask ? std::countr_zero(mask) : 0;
        const int bits = std::min(std::popcount(mask), 16);
        field_mask = bits ? (1u << bits) - 1 : 0;
        widened.resize(size_t{field_mask} + 1);
        for (uint32_t v = 0; v <= field_mask; ++v) widened[v] = widen_channel(v, bits);
    }
    uint32_t of(uint32_t pixel) const { return widened[pixel >> shift & field_mask]; }
};

template <typename Pixel>
void convert_rows(const video_surface& s, uint32_t* out) {
    const format_record& f = s.format();
    const channel red(f.red_mask), green(f.green_mask), blue(f.blue_mask);
    for (int y = 0; y < s.height(); ++y) {
        const uint8_t* row = s.memory() + static_cast<size_t>(y) * s.pitch();
        for (int x = 0; x < s.width(); ++x, row += sizeof(Pixel)) {
            Pixel p;
            std::memcpy(&p, row, sizeof p);
            *out++ = red.of(p) << 16 | green.of(p) << 8 | blue.of(p);
        }
    }
}

void convert_24_bit_rows(const video_surface& s, uint32_t* out) {
    for (int y = 0; y < s.height(); ++y) {
        const uint8_t* row = s.memory() + static_cast<size_t>(y) * s.pitch();
        for (int x = 0; x < s.width(); ++x, row += 3)
            *out++ = uint32_t{row[0]} | uint32_t{row[1]} << 8 | uint32_t{row[2]} << 16;
    }
}

// Without a palette an index shows as its grey level.
void convert_indexed_rows(const video_surface& s, uint32_t* out) {
    uint32_t colours[256];
    const palette_entries* palette = s.palette().get();
    for (uint32_t i = 0; i < 256; ++i) {
        const palette_entry e =
            palette ? (*palette)[i] : palette_entry{uint8_t(i), uint8_t(i), uint8_t(i), 0};
        colours[i] = uint32_t{e.red} << 16 | uint32_t{e.green} << 8 | e.blue;
    }
    for (int y = 0; y < s.height(); ++y) {
        const uint8_t* row = s.memory() + static_cast<size_t>(y) * s.pitch();
        for (int x = 0; x < s.width(); ++x) *out++ = colours[row[x]];
    }
}
} // namespace

rgb_frame frame_from_surface(const video_surface& surface) {
    rgb_frame frame;
    frame.width = surface.width();
    frame.height = surface.height();
    frame.pixels.resize(static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height));
    switch (surface.bytes_per_pixel()) {
    case 1:
        convert_indexed_rows(surface, frame.pixels.data());
        break;
    case 2:
        convert_rows<uint16_t>(surface, frame.pixels.data());
        break;
    case 3:
        convert_24_bit_rows(surface, frame.pixels.data());
        break;
    default:
        convert_rows<uint32_t>(surface, frame.pixels.data());
        break;
    }
    return frame;
}

} // namespace vilora
