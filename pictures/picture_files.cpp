// Pictures read from plain files rather than a library.
#include "pictures/picture_decoders.h"
#include "pictures/picture_list.h"

#include "library/data_file.h"

namespace vilora {

namespace {
// No picture the decoders take needs a larger file: 2^24 pixels of four raw
// channels are 64 MiB.
constexpr uint64_t max_picture_file_size = uint64_t{256} << 20;
} // namespace

const char* decode_failure_text(int code) {
    switch (code) {
    case decode_not_bmp:
        return "not a BMP file (it does not start with B, M)";
    case decode_psd_not_rgb:
        return "the PSD colour mode is not RGB";
    case decode_psd_rejected:
        return "a PSD header the decoder does not take";
    case decode_bmp_unsupported:
        return "a BMP format the conversion does not cover";
    case decode_truncated:
        return "truncated: the file holds fewer bytes than its header claims";
    case decode_bad_size:
        return "the picture size is empty or too large";
    case decode_no_surface:
        return "the display cannot create the picture surface";
    default:
        return "the file cannot be read";
    }
}

bool file_exists(const char* file_name) {
    return file_name && data_file_readable(file_name);
}

std::optional<std::vector<uint8_t>> read_whole_file(const char* file_name) {
    if (!file_name) return std::nullopt;
    return read_data_file(file_name, max_picture_file_size);
}

int decode_bmp_file(surface& target, display_device* display, int kind, const char* file_name,
                    int32_t colour_keyed) {
    std::optional<std::vector<uint8_t>> bytes = read_whole_file(file_name);
    if (!bytes) return decode_file_unreadable;
    return decode_bmp(target, display, kind, *bytes, colour_keyed);
}

int decode_psd_file(surface& target, display_device* display, int kind, const char* file_name,
                    int32_t build_alpha) {
    std::optional<std::vector<uint8_t>> bytes = read_whole_file(file_name);
    if (!bytes) return decode_file_unreadable;
    return decode_psd(target, display, kind, *bytes, build_alpha);
}

} // namespace vilora
