#include "library/library_format.h"

#include "library/byte_reader.h"

#include <cstring>

namespace vilora {
namespace {

// A record's fixed-size text field, as it lies in the file.
template <size_t n>
void read_text(byte_reader& in, char (&text)[n]) {
    const std::span<const uint8_t> bytes = in.bytes(n);
    std::memcpy(text, bytes.data(), bytes.size());
}

void put_i32(uint8_t* p, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(bits >> (8 * i));
}

char ascii_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

// The records are read field by field in file order; their fixed size holds
// every field, so the reads cannot fail.
static_assert(library_header_bytes == 4 + 4 + sizeof library_header::title + 4);
static_assert(library_entry_bytes == 4 * 4 + sizeof library_entry::name + 3 * 4);
library_header decode_library_header(std::span<const uint8_t, library_header_bytes> bytes) {
    byte_reader in(bytes);
    library_header header;
    header.header_size = in.i32_le();
    header.version = in.i32_le();
    read_text(in, header.title);
    header.entry_count = in.i32_le();
    return header;
}

library_entry decode_library_entry(std::span<const uint8_t, library_entry_bytes> bytes) {
    byte_reader in(bytes);
    library_entry entry;
    entry.stored_size = in.i32_le();
    entry.data_offset = in.i32_le();
    entry.is_directory = in.i32_le();
    entry.is_compressed = in.i32_le();
    read_text(in, entry.name);
    entry.parent_id = in.i32_le();
    entry.id = in.i32_le();
    entry.size = in.i32_le();
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
