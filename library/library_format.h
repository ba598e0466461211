// The byte layout of ".782" records: 32-bit little-endian signed fields at
// fixed offsets, independent of the host's byte order and struct padding.
// Shared by the reader and the tools that write archives.
#pragma once

#include "library/library_file.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace vilora {

inline constexpr size_t library_header_bytes = library_header_size;
inline constexpr size_t library_entry_bytes = library_entry_size;
// Longest member path or file name, not counting the terminating NUL.
inline constexpr size_t library_max_path = 255;

library_header decode_library_header(std::span<const uint8_t, library_header_bytes> bytes);
library_entry decode_library_entry(std::span<const uint8_t, library_entry_bytes> bytes);
void encode_library_header(const library_header& header,
                           std::span<uint8_t, library_header_bytes> bytes);
void encode_library_entry(const library_entry& entry,
                          std::span<uint8_t, library_entry_bytes> bytes);

// Member paths match ignoring ASCII letter case; other bytes compare exactly.
bool library_paths_equal(std::string_view a, std::string_view b);

} // namespace vilora
