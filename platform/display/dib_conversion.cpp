#include "platform/display/dib_conversion.h"

#include "platform/display/internal/context_colour.h"

#include <algorithm>
#include <cstdlib>

namespace vilora {

namespace {
// A 5-bit field widened to 8 bits by repeating its top bits: 0 -> 0, 31 -> 255.
constexpr uint8_t widen5(uint32_t field) {
    return static_cast<uint8_t>(field << 3 | field >> 2);
}

void convert_row(context_colour& colours, const uint8_t* source, uint8_t* destination,
                 int32_t count, int bits_per_pixel) {
    const int out = colours.bytes_per_pixel();
    for (int32_t i = 0; i < count; ++i, destination += out) {
        uint32_t pixel;
        if (bits_per_pixel == 16) {
            const uint32_t v = static_cast<uint32_t>(source[0] | source[1] << 8);
            pixel = colours.pixel(widen5(v >> 10 & 31), widen5(v >> 5 & 31), widen5(v & 31));
            source += 2;
        } else {
            pixel = colours.pixel(source[2], source[1], source[0]);
            source += bits_per_pixel / 8;
        }
        colours.store(destination, pixel);
    }
}
} // namespace

int64_t dib_stride(int64_t width, int bits_per_pixel) {
    return (width * bits_per_pixel + 31) / 32 * 4;
}

int64_t dib_rows_size(const dib_header& header) {
    const int bits = header.bits_per_pixel;
    if (header.planes != 1 || header.compression != dib_no_compression) return -1;
    if (bits != 16 && bits != 24 && bits != 32) return -1;
    const int64_t rows = std::abs(int64_t{header.height});
    if (header.width <= 0 || header.width > dib_max_side || rows == 0 || rows > dib_max_side)
        return -1;
    return dib_stride(header.width, bits) * (rows - 1) + int64_t{header.width} * (bits / 8);
}

int32_t copy_dib_to_context(device_context& context, const dib_header& header,
                            std::span<const uint8_t> rows) {
    const int64_t needed = dib_rows_size(header);
    if (needed < 0 || static_cast<uint64_t>(needed) > rows.size() || !context.pixels) return 0;
    context_colour colours(context);
    if (!colours.usable()) return 0;

    const int64_t row_count = std::abs(int64_t{header.height});
    const int64_t stride = dib_stride(header.width, header.bits_per_pixel);
    const bool bottom_up = header.height > 0;
    const int32_t columns = std::min(header.width, context.width);
    int32_t copied = 0;
    for (int64_t i = 0; i < row_count; ++i) {
        const int64_t y = bottom_up ? row_count - 1 - i : i;
        if (y >= context.height) continue;
        convert_row(colours, rows.data() + i * stride, context.pixels + y * context.pitch, columns,
                    header.bits_per_pixel);
        ++copied;
    }
    return copied;
}

} // namespace vilora
