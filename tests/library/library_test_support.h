// Helpers for the library tests: a scratch directory, whole-file I/O, and
// archives assembled byte by byte, so that tests can build the broken ones no
// writer would make.
#pragma once

#include "library/library_file.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vilora::testing {

// A fresh directory, removed with everything in it at the end of the test.
class scratch_dir {
public:
    scratch_dir();
    ~scratch_dir();
    scratch_dir(const scratch_dir&) = delete;
    scratch_dir& operator=(const scratch_dir&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path / name; }
    std::filesystem::path path;
};

void write_bytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> read_bytes(const std::filesystem::path& file);
std::vector<uint8_t> bytes_of(const std::string& text);
// Bytes that compress well but not to nothing: a short counting pattern.
std::vector<uint8_t> pattern_bytes(size_t count, uint8_t seed);

// One member as it will lie in the file; data_offset is written as given.
struct raw_member {
    library_entry entry;
    std::vector<uint8_t> data;
};

raw_member raw_file(const std::string& name, int32_t id, int32_t parent_id,
                    const std::vector<uint8_t>& bytes);
raw_member raw_compressed(const std::string& name, int32_t id, int32_t parent_id,
                          const std::vector<uint8_t>& bytes);
raw_member raw_directory(const std::string& name, int32_t id, int32_t parent_id);

// A well-formed header for `member_count` entries.
library_header raw_header(int32_t member_count);
std::vector<uint8_t> raw_archive(const library_header& header,
                                 const std::vector<raw_member>& members);
std::vector<uint8_t> raw_archive(const std::vector<raw_member>& members);

} // namespace vilora::testing
