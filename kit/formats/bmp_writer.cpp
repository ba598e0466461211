#include "kit/formats/bmp_writer.h"

#include <algorithm>
#include <cstddef>

namespace vilora::kit {
namespace {

constexpr uint32_t file_header_size = 14;
constexpr uint32_t info_header_size = 40;

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// File header and information header for `data_size` bytes of pixels after
// `palette_entries` palette entries.
std::vector<uint8_t> headers(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                             uint32_t palette_entries, uint32_t data_size) {
    const uint32_t data_offset = file_header_size + info_header_size + palette_entries * 4;
    std::vector<uint8_t> out;
    out.reserve(data_offset + data_size);
    out.push_back('B');
    out.push_back('M');
    put32(out, data_offset + data_size);
    put32(out, 0);
    put32(out, data_offset);
    put32(out, info_header_size);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    put16(out, 1);
    put16(out, bits);
    put32(out, compression);
    put32(out, data_size);
    put32(out, 2835); // 72 dots per inch, in dots per metre
    put32(out, 2835);
    put32(out, palette_entries);
    put32(out, 0);
    return out;
}

// Literal stretches shorter than 3 cannot be coded as literals; they go out
// as runs of one.
void put_literal(std::vector<uint8_t>& out, const uint8_t* p, size_t n) {
    if (n < 3) {
        for (size_t i = 0; i < n; ++i) {
            out.push_back(1);
            out.push_back(p[i]);
        }
        return;
    }
    out.push_back(0);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), p, p + n);
    if (n % 2) out.push_back(0);
}

void encode_row(std::vector<uint8_t>& out, const uint8_t* row, size_t width) {
    size_t i = 0, literal_start = 0;
    while (i < width) {
        size_t run = 1;
        while (i + run < width && run < 255 && row[i + run] == row[i]) ++run;
        if (run >= 2) {
            for (size_t s = literal_start; s < i; s += 255)
                put_literal(out, row + s, std::min<size_t>(255, i - s));
            out.push_back(static_cast<uint8_t>(run));
            out.push_back(row[i]);
            i += run;
            literal_start = i;
        } else {
            ++i;
        }
    }
    for (size_t s = literal_start; s < width; s += 255)
        put_literal(out, row + s, std::min<size_t>(255, width - s));
}

} // namespace

std::vector<uint8_t> rle8_encode(const indexed_picture& picture) {
    std::vector<uint8_t> out;
    const auto width = static_cast<size_t>(picture.width);
    for (int32_t r = picture.height - 1; r >= 0; --r) {
        encode_row(out, picture.indices.data() + static_cast<size_t>(r) * width, width);
        out.push_back(0);
        out.push_back(r == 0 ? 1 : 0);
    }
    if (picture.height == 0) {
        out.push_back(0);
        out.push_back(1);
    }
    return out;
}

std::vector<uint8_t> write_bmp8(const indexed_picture& picture, bool rle) {
    std::vector<uint8_t> data;
    if (rle) {
        data = rle8_encode(picture);
    } else {
        const auto width = static_cast<size_t>(picture.width);
        const size_t stride = (width + 3) & ~size_t{3};
        data.assign(stride * static_cast<size_t>(picture.height), 0);
        for (int32_t r = 0; r < picture.height; ++r)
            std::copy_n(picture.indices.begin() + static_cast<ptrdiff_t>(r * width), width,
                        data.begin() + static_cast<ptrdiff_t>(
                                           stride * static_cast<size_t>(picture.height - 1 - r)));
    }
    std::vector<uint8_t> out = headers(picture.width, picture.height, 8, rle ? 1 : 0, 256,
                                       static_cast<uint32_t>(data.size()));
    for (const rgb8& c : picture.palette) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<uint8_t> write_bmp24(const rgb_picture& picture) {
    const auto width = static_cast<size_t>(picture.width);
    const size_t stride = (width * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> out =
        headers(picture.width, picture.height, 24, 0, 0,
                static_cast<uint32_t>(stride * static_cast<size_t>(picture.height)));
    for (int32_t r = picture.height - 1; r >= 0; --r) {
        const rgb8* row = picture.pixels.data() + static_cast<size_t>(r) * width;
        for (size_t x = 0; x < width; ++x) {
            out.push_back(row[x].blue);
            out.push_back(row[x].green);
            out.push_back(row[x].red);
        }
        for (size_t pad = width * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

} // namespace vilora::kit
