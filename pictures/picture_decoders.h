// The picture decoders: a whole BMP or PSD file in memory becomes a new surface
// of the display's pixel format, the picture at its (0, 0). Each returns 0 or
// one of the codes below; the picture list turns any code into -1.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vilora {

class display_device;
class surface;

inline constexpr int decode_ok = 0;
inline constexpr int decode_file_unreadable = 12;
inline constexpr int decode_not_bmp = 24;
inline constexpr int decode_psd_not_rgb = 27;
inline constexpr int decode_psd_rejected = 33;
// A BMP layout the conversion does not cover: a header shorter than 40 bytes,
// other than 8, 16, 24 or 32 bits, RLE8 on other than 8 bits, bit fields.
inline constexpr int decode_bmp_unsupported = 40;
// The header claims more pixel data than the file holds.
inline constexpr int decode_truncated = 41;
// A side of 0, a negative height, or more than max_picture_pixels pixels.
inline constexpr int decode_bad_size = 42;
// The display could not create the picture's surface.
inline constexpr int decode_no_surface = 43;

// A decoder's code in words, for the messages that name a refused picture.
const char* decode_failure_text(int code);

// Largest picture taken: 2^24 pixels, 64 MiB in a 32-bit conversion buffer.
inline constexpr int64_t max_picture_pixels = int64_t{1} << 24;

// A BMP file: 8-bit palettised (uncompressed or RLE8) or 16 (5-5-5), 24 or 32-bit
// uncompressed, rows bottom-up. On a colour-keyed picture of an 8-bit screen the
// palette indices are remapped to the nearest screen colours.
int decode_bmp(surface& target, display_device* display, int kind, std::span<const uint8_t> bytes,
               int32_t colour_keyed);

// A PSD file of 8-bit RGB channels (3, or 4 with alpha), raw or PackBits. With
// build_alpha the fourth channel (255 without one) becomes the surface's alpha map.
int decode_psd(surface& target, display_device* display, int kind, std::span<const uint8_t> bytes,
               int32_t build_alpha);

// The whole file, or nullopt when it cannot be opened or read.
std::optional<std::vector<uint8_t>> read_whole_file(const char* file_name);

// The decoders on a file: decode_file_unreadable when it cannot be read.
int decode_bmp_file(surface& target, display_device* display, int kind, const char* file_name,
                    int32_t colour_keyed);
int decode_psd_file(surface& target, display_device* display, int kind, const char* file_name,
                    int32_t build_alpha);

} // namespace vilora
