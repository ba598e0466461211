// Writes one seed of a fuzz target's corpus; false when the file cannot be written.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace vilora::fuzzing {

inline bool write_seed(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace vilora::fuzzing
