#include "pictures/internal/bmp_conversion.h"

#include "pictures/internal/rle8.h"
#include "platform/display/display_device.h"
#include "platform/display/palette.h"

#include <cstring>
#include <vector>

namespace vilora {

namespace {

template <typename Pixel>
using colour_table = std::array<Pixel, 256>;

struct file_colour {
    uint8_t red, green, blue;
};

file_colour palette_colour(const bmp_picture& picture, size_t i) {
    return {picture.palette[i * 4 + 2], picture.palette[i * 4 + 1], picture.palette[i * 4]};
}

colour_table<uint16_t> table_for_format(const bmp_picture& picture, const pixel_format& format) {
    colour_table<uint16_t> table;
    for (size_t i = 0; i < 256; ++i) {
        const file_colour c = palette_colour(picture, i);
        table[i] = static_cast<uint16_t>(format.pack(c.red, c.green, c.blue));
    }
    return table;
}

colour_table<uint32_t> table_of_rgb(const bmp_picture& picture) {
    colour_table<uint32_t> table;
    for (size_t i = 0; i < 256; ++i) {
        const file_colour c = palette_colour(picture, i);
        table[i] = uint32_t{c.red} << 16 | uint32_t{c.green} << 8 | c.blue;
    }
    return table;
}

colour_table<uint8_t> table_for_screen_palette(const bmp_picture& picture,
                                               const palette_entries& screen) {
    colour_table<uint8_t> table;
    for (size_t i = 0; i < 256; ++i) {
        const file_colour c = palette_colour(picture, i);
        table[i] = static_cast<uint8_t>(nearest_palette_index(screen, c.red, c.green, c.blue));
    }
    return table;
}

colour_table<uint8_t> identity_table() {
    colour_table<uint8_t> table;
    for (size_t i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(i);
    return table;
}

// Pixels of one size in rows of `pitch` bytes, looked up through a table.
template <typename Pixel>
struct table_writer {
    uint8_t* pixels;
    int64_t pitch;
    const colour_table<Pixel>& table;

    uint8_t* at(int32_t row, int32_t x) const {
        return pixels + row * pitch + static_cast<int64_t>(x) * int64_t{sizeof(Pixel)};
    }
    void fill(int32_t row, int32_t x, int32_t count, uint8_t index) const {
        const Pixel value = table[index];
        uint8_t* p = at(row, x);
        for (int32_t i = 0; i < count; ++i, p += sizeof(Pixel))
            std::memcpy(p, &value, sizeof value);
    }
    void put(int32_t row, int32_t x, const uint8_t* indices, int32_t count) const {
        uint8_t* p = at(row, x);
        for (int32_t i = 0; i < count; ++i, p += sizeof(Pixel))
            std::memcpy(p, &table[indices[i]], sizeof(Pixel));
    }
};

// Uncompressed rows, or the RLE8 stream over a background of palette entry 0.
template <typename Pixel>
void write_indexed(const bmp_picture& picture, const table_writer<Pixel>& out) {
    const int32_t width = picture.header.width, height = picture.header.height;
    if (picture.header.compression == bmp_rle8) {
        for (int32_t row = 0; row < height; ++row) out.fill(row, 0, width, 0);
        byte_reader stream(picture.pixels);
        decode_rle8(stream, width, height, out);
        return;
    }
    const int64_t stride = indexed_stride(width);
    for (int32_t i = 0; i < height; ++i)
        out.put(height - 1 - i, 0, picture.pixels.data() + i * stride, width);
}

template <typename Pixel>
void write_indexed_to_surface(surface& target, const bmp_picture& picture,
                              const colour_table<Pixel>& table) {
    if (target.lock() != 0) return;
    write_indexed(picture, table_writer<Pixel>{target.pixels, target.pitch, table});
    target.unlock();
}

// 0x00RRGGBB rows, top row first, handed to the DIB conversion of the surface's
// drawing context.
void write_indexed_through_dib(surface& target, const bmp_picture& picture) {
    const int32_t width = picture.header.width, height = picture.header.height;
    std::vector<uint8_t> rows(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    const colour_table<uint32_t> table = table_of_rgb(picture);
    write_indexed(picture, table_writer<uint32_t>{rows.data(), int64_t{width} * 4, table});
    if (target.get_dc() != 0) return;
    copy_dib_to_context(*target.dc, dib_header{width, -height, 1, 32, dib_no_compression}, rows);
    target.release_dc();
}

void write_true_colour(surface& target, const bmp_picture& picture) {
    if (target.get_dc() != 0) return;
    copy_dib_to_context(*target.dc, picture.header, picture.pixels);
    target.release_dc();
}

// 8-bit screens: colour-keyed pictures take the nearest screen colours, the
// others keep their indices (their palette is meant to be the screen's).
void write_indexed_to_8_bit(surface& target, const bmp_picture& picture, int32_t colour_keyed) {
    const palette* screen = target.owner->screen_palette.get();
    if (!(colour_keyed && screen)) {
        write_indexed_to_surface(target, picture, identity_table());
    } else if (screen->entries) {
        write_indexed_to_surface(target, picture,
                                 table_for_screen_palette(picture, *screen->entries));
    } else {
        write_indexed_through_dib(target, picture);
    }
}

} // namespace

void convert_bmp(surface& target, const bmp_picture& picture, int32_t colour_keyed) {
    if (picture.header.bits_per_pixel != 8) return write_true_colour(target, picture);
    const pixel_format& format = *target.owner->format;
    switch (format.bits_per_pixel) {
    case 8:
        return write_indexed_to_8_bit(target, picture, colour_keyed);
    case 16:
        return write_indexed_to_surface(target, picture, table_for_format(picture, format));
    default:
        return write_indexed_through_dib(target, picture);
    }
}

} // namespace vilora
