// BMP files: the 14-byte file header and the 40-byte information header are
// checked against the file before the conversion sees a byte of pixels.
#include "library/byte_reader.h"
#include "pictures/internal/bmp_conversion.h"
#include "pictures/picture_decoders.h"
#include "platform/display/surface.h"

#include <algorithm>

namespace vilora {

namespace {

constexpr uint32_t file_header_size = 14;
constexpr uint32_t info_header_size = 40;

// Pixel data the header promises: the rows as the conversion reads them (the
// last row without its padding); an RLE8 stream has no size of its own.
int64_t pixel_bytes_needed(const dib_header& header) {
    if (header.bits_per_pixel != 8) return dib_rows_size(header);
    if (header.compression == bmp_rle8) return 0;
    if (header.compression != dib_no_compression) return -1;
    return indexed_stride(header.width) * (header.height - 1) + header.width;
}

bool size_is_usable(const dib_header& header) {
    return header.width > 0 && header.height > 0 && header.width <= max_surface_side &&
           header.height <= max_surface_side &&
           int64_t{header.width} * header.height <= max_picture_pixels;
}

int read_bmp(std::span<const uint8_t> bytes, bmp_picture& picture) {
    byte_reader reader(bytes);
    if (reader.u8() != 'B' || reader.u8() != 'M') return decode_not_bmp;
    reader.seek(10);
    const uint32_t pixel_offset = reader.u32_le();
    const uint32_t header_size = reader.u32_le();
    dib_header& header = picture.header;
    header.width = reader.i32_le();
    header.height = reader.i32_le();
    header.planes = reader.u16_le();
    header.bits_per_pixel = reader.u16_le();
    header.compression = reader.u32_le();
    if (!reader.ok()) return decode_truncated;
    if (header_size < info_header_size) return decode_bmp_unsupported;
    if (!size_is_usable(header)) return decode_bad_size;
    const int64_t needed = pixel_bytes_needed(header);
    if (needed < 0) return decode_bmp_unsupported;
    if (pixel_offset > bytes.size() || static_cast<uint64_t>(needed) > bytes.size() - pixel_offset)
        return decode_truncated;

    if (header.bits_per_pixel == 8) {
        // 256 entries follow the information header, whatever the colour count
        // says; entries the file does not reach stay black.
        reader.seek(uint64_t{file_header_size} + header_size);
        const size_t available = std::min(reader.remaining(), picture.palette.size());
        std::span<const uint8_t> entries = reader.bytes(available);
        std::copy(entries.begin(), entries.end(), picture.palette.begin());
    }
    picture.pixels = bytes.subspan(pixel_offset);
    return decode_ok;
}

} // namespace

int decode_bmp(surface& target, display_device* display, int kind, std::span<const uint8_t> bytes,
               int32_t colour_keyed) {
    bmp_picture picture;
    if (int result = read_bmp(bytes, picture)) return result;
    if (target.create_surface(display, kind, picture.header.width, picture.header.height) != 0)
        return decode_no_surface;
    convert_bmp(target, picture, colour_keyed);
    return decode_ok;
}

} // namespace vilora
