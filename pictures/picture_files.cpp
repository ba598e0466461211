// Pictures read from plain files rather than a library.
#include "pictures/picture_decoders.h"
#include "pictures/picture_list.h"

#include <cstdio>
#include <memory>

namespace vilora {

namespace {
// No picture the decoders take needs a larger file: 2^24 pixels of four raw
// channels are 64 MiB.
constexpr long max_picture_file_size = 256L << 20;

struct file_closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
} // namespace

bool file_exists(const char* file_name) {
    if (!file_name) return false;
    std::unique_ptr<std::FILE, file_closer> file(std::fopen(file_name, "r"));
    return file != nullptr;
}

std::optional<std::vector<uint8_t>> read_whole_file(const char* file_name) {
    if (!file_name) return std::nullopt;
    std::unique_ptr<std::FILE, file_closer> file(std::fopen(file_name, "rb"));
    if (!file) return std::nullopt;
    const long start = std::ftell(file.get());
    if (start < 0 || std::fseek(file.get(), 0, SEEK_END) != 0) return std::nullopt;
    const long end = std::ftell(file.get());
    if (end < start || end - start > max_picture_file_size ||
        std::fseek(file.get(), start, SEEK_SET) != 0)
        return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(end - start));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return std::nullopt;
    return bytes;
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
