// Writes ".782" archives from memory. Members are given as (path, bytes); the
// directories on their paths become directory entries, each written before
// its children. Ids are handed out from 1 in order of adding, so every id is
// unique and every parent id names the directory above.
#pragma once

#include "library/library_file.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vilora::kit {

class library_writer {
public:
    // A directory entry for `path` and any missing ancestor; one already
    // present is kept. False (see error()) for an invalid path or one that
    // names a member.
    bool add_directory(std::string_view path);
    // A member holding `bytes`, zlib-compressed (one-shot) unless `store`.
    // False for an invalid path, a path already taken (letter case aside, as
    // the reader matches), or an archive that would outgrow 32-bit offsets.
    bool add_member(std::string_view path, std::span<const uint8_t> bytes, bool store = false);

    // The archive as it goes to disk.
    std::vector<uint8_t> archive() const;
    // Writes archive() to `file_name`, whole or not at all; false (see
    // error()) on any I/O failure, and then an earlier file there is as it was.
    bool write(const std::string& file_name);

    const std::string& error() const { return error_; }
    int32_t entry_count() const { return static_cast<int32_t>(members_.size()); }

private:
    struct member {
        library_entry entry;
        std::vector<uint8_t> data;
    };

    // Id of the directory at `path` (0 for the top level), added if missing;
    // -1 on failure.
    int32_t directory_id(std::string_view path);
    bool append(library_entry entry, std::vector<uint8_t> data, const std::string& path);
    bool fail(std::string reason);

    std::vector<member> members_;
    // Index into members_ by path in lower case.
    std::map<std::string, size_t> by_path_;
    int64_t archive_size_ = library_header_size;
    std::string error_;
};

// Whether `path` is usable inside an archive and outside it: components of
// 1 to 255 bytes joined with "/", none "." or "..", no NUL or other control
// character (below 0x20, or 0x7F), at most 255 bytes.
bool is_valid_member_path(std::string_view path);

} // namespace vilora::kit
