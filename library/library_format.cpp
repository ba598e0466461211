#include "library/library_format.h"

#include <cstring>

namespace vilora {
namespace {

int32_t get_i32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 |
                                static_cast<uint32_t>(p[3]) << 24);
}

void put_i32(uint8_t* p, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(bits >> (8 * i));
}

char ascii_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

library_header decode_library_header(std::span<const uint8_t, library_header_bytes> bytes) {
    library_header header;
    header.header_size = get_i32(&bytes[0]);
    header.version = get_i32(&bytes[4]);
    std::memcpy(header.title, &bytes[8], sizeof header.title);
    header.entry_count = get_i32(&bytes[264]);
    return header;
}

library_entry decode_library_entry(std::span<const uint8_t, library_entry_bytes> bytes) {
    library_entry entry;
    entry.stored_size = get_i32(&bytes[0]);
    entry.data_offset = get_i32(&bytes[4]);
    entry.is_directory = get_i32(&bytes[8]);
    entry.is_compressed = get_i32(&bytes[12]);
    std::memcpy(entry.name, &bytes[16], sizeof entry.name);
    entry.parent_id = get_i32(&bytes[272]);
    entry.id = get_i32(&bytes[276]);
    entry.size = get_i32(&bytes[280]);
    return entry;
}

void encode_library_header(const library_header& header,
                           std::span<uint8_t, library_header_bytes> bytes) {
    put_i32(&bytes[0], header.header_size);
    put_i32(&bytes[4], header.version);
    std::memcpy(&bytes[8], header.title, sizeof header.title);
    put_i32(&bytes[264], header.entry_count);
}

void encode_library_entry(const library_entry& entry,
                          std::span<uint8_t, library_entry_bytes> bytes) {
    put_i32(&bytes[0], entry.stored_size);
    put_i32(&bytes[4], entry.data_offset);
    put_i32(&bytes[8], entry.is_directory);
    put_i32(&bytes[12], entry.is_compressed);
    std::memcpy(&bytes[16], entry.name, sizeof entry.name);
    put_i32(&bytes[272], entry.parent_id);
    put_i32(&bytes[276], entry.id);
    put_i32(&bytes[280], entry.size);
}

bool library_paths_equal(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    return true;
}

} // namespace vilora
