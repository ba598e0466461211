// RLE8, the run-length coding of 8-bit BMP pixels, decoded into whatever the
// caller writes pixels to. The stream's rows run bottom-up; the sink receives
// surface rows (0 = top) with every span already cut to the picture.
#pragma once

#include "library/byte_reader.h"

#include <algorithm>
#include <cstdint>

namespace vilora {

// Sink: fill(row, x, count, index) writes `count` pixels of one index;
// put(row, x, indices, count) writes `count` indices one by one.
// The stream is read in 2-byte codes:
//   n > 0, i     n pixels of index i
//   0, 0         end of line: next row, x = 0
//   0, 1         end of picture
//   0, 2, dx, dy move right by dx and up (in the stream's order) by dy
//   0, n >= 3    n literal indices, then a pad byte when the stream position
//                (from the start of the pixel data) is odd
// Decoding stops at the end of the picture, the end of the data, or once the
// row lies above the picture's top row.
template <typename Sink>
void decode_rle8(byte_reader& stream, int32_t width, int32_t height, Sink& sink) {
    const size_t start = stream.position();
    int64_t x = 0;
    int64_t row = 0; // counted from the bottom, as the stream counts
    // Only x ever grows, so a span is cut at the right edge only.
    auto visible = [&](int64_t count) { return std::clamp<int64_t>(width - x, 0, count); };
    while (row < height) {
        const uint8_t count = stream.u8();
        const uint8_t value = stream.u8();
        if (!stream.ok()) return;
        const int32_t surface_row = static_cast<int32_t>(height - 1 - row);
        if (count > 0) {
            if (int64_t n = visible(count))
                sink.fill(surface_row, static_cast<int32_t>(x), static_cast<int32_t>(n), value);
            x += count;
        } else if (value == 0) {
            ++row;
            x = 0;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            x += stream.u8();
            row += stream.u8();
        } else {
            auto literals = stream.bytes(value);
            if (!stream.ok()) return;
            if (int64_t n = visible(value))
                sink.put(surface_row, static_cast<int32_t>(x), literals.data(),
                         static_cast<int32_t>(n));
            x += value;
            if ((stream.position() - start) % 2 == 1) stream.skip(1);
        }
    }
}

} // namespace vilora
