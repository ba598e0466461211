// Our conversion of device-independent bitmaps into a drawing context: rows of
// 16 (5-5-5), 24 or 32-bit pixels, bottom-up or top-down, copied one to one to
// (0, 0) of the context's surface in its own pixel format.
#pragma once

#include "platform/display/device_context.h"

#include <cstdint>
#include <span>

namespace vilora {

inline constexpr uint32_t dib_no_compression = 0;
// Longest side taken: keeps every size computation far inside 64 bits.
inline constexpr int64_t dib_max_side = int64_t{1} << 24;

// The fields of the 40-byte bitmap information header the conversion uses.
struct dib_header {
    int32_t width = 0;
    int32_t height = 0; // positive: rows bottom-up; negative: rows top-down
    uint16_t planes = 1;
    uint16_t bits_per_pixel = 0;
    uint32_t compression = dib_no_compression;
};

// Bytes per row of a DIB: rows are padded to a multiple of 4 bytes.
int64_t dib_stride(int64_t width, int bits_per_pixel);
// Bytes the rows of the header occupy, the last row without its padding; -1 for
// a header the conversion does not take (not 1 plane, not 16, 24 or 32 bits
// uncompressed, or a side of 0 or above dib_max_side).
int64_t dib_rows_size(const dib_header& header);

// Copies the rows to (0, 0) of the context, cut to its size. A 16-bit pixel is
// 0RRRRRGGGGGBBBBB; 24 and 32-bit pixels are blue, green, red (and an unused
// byte). Colours go through the context's format, the nearest palette colour at
// 8 bits per pixel. Returns the number of rows copied: 0 when the header is
// refused or `rows` is shorter than the header says.
int32_t copy_dib_to_context(device_context& context, const dib_header& header,
                            std::span<const uint8_t> rows);

} // namespace vilora
