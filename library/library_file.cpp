#include "library/library_file.h"

#include "library/data_file.h"
#include "library/file_problems.h"
#include "library/library_format.h"

#include <zlib.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <span>
#include <unordered_map>
#include <utility>

namespace vilora {
namespace {

// Deflate spends at least two bits (a one-bit length code and a one-bit
// distance code) on a 258-byte match, so no zlib stream inflates to more than
// 1032 times its own size. A member claiming more is corrupt, and refusing it
// before allocating keeps a forged `size` from costing 2 GiB of memory.
constexpr int64_t max_inflate_ratio = 1032;

// How much of a name too long to open a message shows.
constexpr size_t shortened_name_length = 60;

// Offsets in the file are 32-bit signed.
constexpr int64_t max_offset = std::numeric_limits<int32_t>::max();

std::string hex(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<uint32_t>(value));
    return text;
}

template <size_t n>
bool is_terminated(const char (&text)[n]) {
    return std::memchr(text, 0, n) != nullptr;
}

bool read_exactly(std::FILE* stream, void* buffer, size_t count) {
    return count == 0 || std::fread(buffer, 1, count, stream) == count;
}

// The record of `bytes.size()` bytes at `offset`; false when the file ends first.
bool read_record(std::FILE* stream, int64_t offset, std::span<uint8_t> bytes) {
    return fseeko(stream, offset, SEEK_SET) == 0 &&
           read_exactly(stream, bytes.data(), bytes.size());
}

// A member's size as it could possibly be given its stored bytes.
bool size_is_plausible(const library_entry& entry) {
    if (entry.size < 0 || entry.stored_size < 0) return false;
    if (!entry.is_compressed) return entry.size <= entry.stored_size;
    return entry.size <= int64_t{entry.stored_size} * max_inflate_ratio;
}

// Paths are built from the root down by following parent ids; when several
// entries carry the same id, the last in file order is the parent. Every step
// adds at least the "/" separator, so the 255-character limit also ends any
// parent-id cycle.
std::vector<std::optional<std::string>> resolve_paths(const std::vector<library_entry>& entries,
                                                      const std::vector<bool>& name_ok) {
    std::unordered_map<int32_t, size_t> by_id;
    for (size_t i = 0; i < entries.size(); ++i) by_id[entries[i].id] = i;

    std::vector<std::optional<std::string>> paths(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!name_ok[i]) continue;
        std::string path = entries[i].name;
        int32_t parent = entries[i].parent_id;
        bool resolved = path.size() <= library_max_path;
        while (resolved && parent != 0) {
            const auto found = by_id.find(parent);
            resolved = found != by_id.end() && name_ok[found->second];
            if (!resolved) break;
            const library_entry& up = entries[found->second];
            path = std::string(up.name) + "/" + path;
            resolved = path.size() <= library_max_path;
            parent = up.parent_id;
        }
        if (resolved) paths[i] = std::move(path);
    }
    return paths;
}

} // namespace

library_file::library_file() {
    entries_.reserve(1);
}

library_file::~library_file() {
    close();
}

bool library_file::fail(std::string reason) {
    failure_ = std::move(reason);
    note_file_problem(file_name_, failure_);
    return false;
}

bool library_file::open(const char* file_name, bool skip_title_check) {
    close();
    file_name_ = file_name ? file_name : "";
    if (!file_name) return fail("file name missing");
    // The limit is on the archive's own name; where its directory lies does not count.
    if (name_of_data_file(file_name_).size() > library_max_path) {
        failure_ = "the name is longer than 255 characters";
        note_file_problem(shortened(file_name_, shortened_name_length), failure_);
        return false;
    }
    // Read-only: the reader never writes into the archive, so it cannot damage
    // one and opens those on read-only media.
    std::string cause;
    stream_ = open_data_file(file_name_, &cause);
    if (!stream_) return fail(cause);
    file_size_ = -1;
    if (fseeko(stream_, 0, SEEK_END) == 0) file_size_ = ftello(stream_);
    open_ = file_size_ >= 0 ? read_directory(skip_title_check) : fail("cannot measure the file");
    if (!open_) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    return open_;
}

bool library_file::close() {
    if (stream_) std::fclose(stream_);
    stream_ = nullptr;
    open_ = false;
    return true;
}

bool library_file::read_directory(bool skip_title_check) {
    std::array<uint8_t, library_header_bytes> raw_header;
    if (!read_record(stream_, 0, raw_header))
        return fail("truncated at byte " + std::to_string(file_size_) +
                    ": shorter than the 268-byte library header");
    library_header header = decode_library_header(raw_header);
    if (header.version != library_version)
        return fail("not a library file (version field at offset 4 is " + hex(header.version) +
                    ", not 0x00010005)");
    if (header.header_size != library_header_size)
        return fail("bad header: header size at offset 0 is " + std::to_string(header.header_size) +
                    ", not 268");
    const bool title_matches =
        is_terminated(header.title) && library_paths_equal(header.title, expected_title_);
    header.title[sizeof header.title - 1] = '\0';
    if (!skip_title_check && !title_matches) return fail("not a library title");

    // Every entry takes 284 bytes of the file, so the count is bounded by the
    // file's size before anything is allocated for it.
    const int64_t room = (file_size_ - library_header_size) / library_entry_size;
    if (header.entry_count < 0 || header.entry_count > room)
        return fail("bad header: " + std::to_string(header.entry_count) +
                    " entries claimed at offset 264, the file holds at most " +
                    std::to_string(room));

    std::vector<library_entry> entries;
    std::vector<bool> name_ok;
    entries.reserve(static_cast<size_t>(header.entry_count));
    name_ok.reserve(entries.capacity());
    int64_t position = library_header_size;
    for (int32_t i = 0; i < header.entry_count; ++i) {
        const auto which = [i, position] {
            return "entry " + std::to_string(i) + " at offset " + std::to_string(position);
        };
        std::array<uint8_t, library_entry_bytes> raw_entry;
        if (!read_record(stream_, position, raw_entry))
            return fail("truncated at byte " + std::to_string(file_size_) + ": " + which() +
                        " is cut short");
        library_entry entry = decode_library_entry(raw_entry);
        position += library_entry_size;
        if (entry.stored_size < 0 || entry.size < 0) return fail(which() + " has a negative size");
        if (entry.stored_size > file_size_ - position || position > max_offset)
            return fail("truncated at byte " + std::to_string(file_size_) + ": " + which() +
                        " claims " + std::to_string(entry.stored_size) + " bytes of data");
        entry.data_offset = static_cast<int32_t>(position);
        position += entry.stored_size;
        name_ok.push_back(is_terminated(entry.name));
        entry.name[sizeof entry.name - 1] = '\0';
        entries.push_back(entry);
    }

    header_ = header;
    paths_ = resolve_paths(entries, name_ok);
    entries_ = std::move(entries);
    return true;
}

int32_t library_file::find_entry(const char* path) const {
    if (!path) return -1;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (!entries_[i].is_directory && paths_[i] && library_paths_equal(*paths_[i], path))
            return static_cast<int32_t>(i);
    return -1;
}

std::optional<std::string> library_file::entry_path(int32_t index) const {
    if (index < 0 || index >= entry_count()) return std::nullopt;
    return paths_[static_cast<size_t>(index)];
}

int32_t library_file::member_size(const char* path) const {
    const int32_t index = find_entry(path);
    return index < 0 ? -1 : entry(index).size;
}

const library_entry* library_file::entry_of(const char* path) const {
    const int32_t index = find_entry(path);
    return index < 0 ? nullptr : &entry(index);
}

std::FILE* library_file::seek_member(const char* path) {
    const library_entry* found = open_ ? entry_of(path) : nullptr;
    if (!found || fseeko(stream_, found->data_offset, SEEK_SET) != 0) return nullptr;
    return stream_;
}

const library_entry* library_file::readable_entry(const char* path) {
    const library_entry* found = open_ ? entry_of(path) : nullptr;
    if (!open_)
        fail("no library is open");
    else if (!found)
        fail(std::string("no member named ") + (path ? path : "(none)"));
    // Checked before anything is allocated for the member.
    else if (!size_is_plausible(*found))
        fail(std::string("member ") + path + ": size " + std::to_string(found->size) +
             " exceeds what its data can hold");
    else
        return found;
    return nullptr;
}

bool library_file::read_member(const char* path, uint8_t* buffer) {
    const library_entry* found = readable_entry(path);
    return found && read_entry(*found, buffer);
}

std::optional<std::vector<uint8_t>> library_file::load_member(const char* path) {
    const library_entry* found = readable_entry(path);
    if (!found) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(found->size));
    if (!read_entry(*found, bytes.data())) return std::nullopt;
    return bytes;
}

bool library_file::read_entry(const library_entry& entry, uint8_t* buffer) {
    if (fseeko(stream_, entry.data_offset, SEEK_SET) != 0) return fail("cannot seek to the member");
    const auto member = [&entry] {
        return std::string("member ") + entry.name + " (data at offset " +
               std::to_string(entry.data_offset) + ")";
    };
    if (!entry.is_compressed) {
        return read_exactly(stream_, buffer, static_cast<size_t>(entry.size)) ||
               fail(member() + " is cut short");
    }
    std::vector<uint8_t> packed(static_cast<size_t>(entry.stored_size));
    if (!read_exactly(stream_, packed.data(), packed.size()))
        return fail(member() + " is cut short");
    uLongf length = static_cast<uLongf>(entry.size);
    const int status =
        uncompress(buffer, &length, packed.data(), static_cast<uLong>(packed.size()));
    if (status != Z_OK || length != static_cast<uLongf>(entry.size))
        return fail(member() + ": compressed data does not inflate to its size of " +
                    std::to_string(entry.size) + " bytes");
    return true;
}

} // namespace vilora
