// PSD files: the merged image of an 8-bit RGB document, its planes taken into
// blue, green, red, alpha pixels that the DIB conversion brings to the screen
// format; the alpha plane also becomes the surface's alpha map.
#include "library/byte_reader.h"
#include "pictures/internal/packbits.h"
#include "pictures/picture_decoders.h"
#include "platform/display/dib_conversion.h"
#include "platform/display/surface.h"

#include <algorithm>
#include <vector>

namespace vilora {

namespace {

constexpr uint32_t psd_signature = 0x38425053; // "8BPS"
constexpr uint16_t psd_rgb_mode = 3;
constexpr uint16_t psd_packbits = 1;

struct psd_header {
    uint16_t channels = 0;
    int32_t height = 0;
    int32_t width = 0;
    uint16_t compression = 0;
};

int read_psd_header(byte_reader& reader, psd_header& header) {
    if (reader.u32_be() != psd_signature || reader.u16_be() != 1) return decode_psd_rejected;
    reader.skip(6);
    header.channels = reader.u16_be();
    const uint32_t height = reader.u32_be();
    const uint32_t width = reader.u32_be();
    const uint16_t bits = reader.u16_be();
    const uint16_t mode = reader.u16_be();
    if (!reader.ok() || header.channels > 4 || bits != 8) return decode_psd_rejected;
    if (mode != psd_rgb_mode) return decode_psd_not_rgb;
    // Colour-mode data, image resources, layer and mask information.
    for (int section = 0; section < 3; ++section) reader.skip(reader.u32_be());
    header.compression = reader.u16_be();
    if (!reader.ok()) return decode_truncated;
    if (header.compression > psd_packbits) return decode_psd_rejected;
    if (width == 0 || height == 0 || width > max_surface_side || height > max_surface_side ||
        uint64_t{width} * height > max_picture_pixels)
        return decode_bad_size;
    header.width = static_cast<int32_t>(width);
    header.height = static_cast<int32_t>(height);
    return decode_ok;
}

// The file's channels in order go to pixel bytes red, green, blue, alpha; a
// byte whose index is not below the channel count keeps its default (0, and
// 255 for alpha) and takes nothing from the file.
bool read_planes(byte_reader& reader, const psd_header& header, std::vector<uint8_t>& pixels) {
    constexpr int byte_of_channel[4] = {2, 1, 0, 3};
    const size_t plane_size = static_cast<size_t>(header.width) * header.height;
    pixels.assign(plane_size * 4, 0);
    for (size_t i = 0; i < plane_size; ++i) pixels[i * 4 + 3] = 255;
    // PackBits data starts with a 2-byte byte count per row and channel.
    if (header.compression == psd_packbits)
        reader.skip(uint64_t{2} * header.height * header.channels);

    std::vector<uint8_t> decoded;
    for (int byte : byte_of_channel) {
        if (byte >= header.channels) continue;
        std::span<const uint8_t> plane;
        if (header.compression == psd_packbits) {
            decoded.resize(plane_size);
            if (!decode_packbits(reader, decoded)) return false;
            plane = decoded;
        } else {
            plane = reader.bytes(plane_size);
        }
        if (!reader.ok()) return false;
        for (size_t i = 0; i < plane_size; ++i)
            pixels[i * 4 + static_cast<size_t>(byte)] = plane[i];
    }
    return true;
}

void build_alpha_map(surface& target, const psd_header& header,
                     const std::vector<uint8_t>& pixels) {
    if (!target.alpha_map) target.attach_alpha_map();
    const int32_t rows = std::min(header.height, target.height);
    const int32_t columns = std::min(header.width, target.width);
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < columns; ++x)
            target.alpha_map[static_cast<size_t>(y) * target.width + x] =
                pixels[(static_cast<size_t>(y) * header.width + x) * 4 + 3];
}

} // namespace

int decode_psd(surface& target, display_device* display, int kind, std::span<const uint8_t> bytes,
               int32_t build_alpha) {
    byte_reader reader(bytes);
    psd_header header;
    if (int result = read_psd_header(reader, header)) return result;
    std::vector<uint8_t> pixels;
    if (!read_planes(reader, header, pixels)) return decode_truncated;

    if (target.create_surface(display, kind, header.width, header.height) != 0)
        return decode_no_surface;
    if (target.get_dc() == 0) {
        const dib_header rows{header.width, -header.height, 1, 32, dib_no_compression};
        copy_dib_to_context(*target.dc, rows, pixels);
        target.release_dc();
    }
    if (build_alpha) build_alpha_map(target, header, pixels);
    return decode_ok;
}

} // namespace vilora
