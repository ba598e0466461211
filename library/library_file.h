// The reader of ".782" resource library files: a 268-byte header followed by
// members, each a 284-byte directory entry and then its data, stored as is or
// as one zlib stream. One file is open at a time; members are found by their
// path (names of the parent directories joined with "/"), ignoring ASCII case.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace vilora {

inline constexpr int32_t library_header_size = 268;
inline constexpr int32_t library_entry_size = 284;
inline constexpr int32_t library_version = 0x00010005;
inline constexpr const char* library_title = "Vexa Library file";

// All integers 32-bit little-endian signed in the file.
struct library_header {
    int32_t header_size = 0; // must be 268
    int32_t version = 0;     // must be 0x00010005
    char title[256] = {};    // NUL-terminated
    int32_t entry_count = 0; // members that follow
};

struct library_entry {
    int32_t stored_size = 0;  // bytes of data following this entry (compressed size)
    int32_t data_offset = 0;  // absolute offset of the data: entry offset + 284
    int32_t is_directory = 0; // directories only name paths; lookups never find them
    int32_t is_compressed = 0;
    char name[256] = {};   // this entry's own path component
    int32_t parent_id = 0; // id of the containing directory; 0 at the top level
    int32_t id = 0;
    int32_t size = 0; // size once read (uncompressed)
};

class library_file {
public:
    library_file();
    virtual ~library_file();
    library_file(const library_file&) = delete;
    library_file& operator=(const library_file&) = delete;

    // Opens an archive (read-only) and reads its directory; false when the file
    // is missing or not a valid archive. With skip_title_check the title is not
    // compared. A failed open leaves the previous entry list in place, but
    // nothing can be read until an open succeeds.
    bool open(const char* file_name, bool skip_title_check);
    bool close();

    // Index of the first non-directory entry whose path equals `path` ignoring
    // ASCII case; -1 when none does (or path is null).
    int32_t find_entry(const char* path) const;
    // The entry's full path (at most 255 characters); nullopt for an index
    // outside the list or a path that cannot be resolved.
    std::optional<std::string> entry_path(int32_t index) const;
    // Uncompressed size, or -1 when not found.
    int32_t member_size(const char* path) const;
    // The stream positioned at the member's data; null when no file is open or
    // the path is not found.
    std::FILE* seek_member(const char* path);
    // Fills `buffer` with exactly member_size(path) bytes; false on any failure.
    bool read_member(const char* path, uint8_t* buffer);
    // The member's bytes in a new buffer; nullopt on any failure.
    std::optional<std::vector<uint8_t>> load_member(const char* path);
    // The entry, or null when the library holds no member of that path.
    const library_entry* entry_of(const char* path) const;

    bool is_open() const { return open_; }
    // In memory every name and the title end in a NUL, even where the file's do
    // not (such an entry's path is unresolvable).
    int32_t entry_count() const { return static_cast<int32_t>(entries_.size()); }
    const library_entry& entry(int32_t index) const { return entries_[static_cast<size_t>(index)]; }
    const library_header& header() const { return header_; }
    // The name given to the last open.
    const std::string& file_name() const { return file_name_; }
    // Why the last failed open or read failed, in a few words.
    const std::string& failure_reason() const { return failure_; }

private:
    bool read_directory(bool skip_title_check);
    // The member `path` names when it can be read now; null (with a reason) otherwise.
    const library_entry* readable_entry(const char* path);
    bool read_entry(const library_entry& entry, uint8_t* buffer);
    bool fail(std::string reason);

    std::string expected_title_ = library_title;
    std::vector<library_entry> entries_;
    // Each entry's full path, resolved once per open; nullopt when unresolvable.
    std::vector<std::optional<std::string>> paths_;
    library_header header_;
    std::FILE* stream_ = nullptr;
    std::string file_name_;
    int64_t file_size_ = 0;
    bool open_ = false;
    std::string failure_;
};

} // namespace vilora
