#include "kit/formats/library_writer.h"

#include "library/library_format.h"
#include "platform/hosts/output_file.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace vilora::kit {
namespace {

std::string lower_case(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// The parent's path and the last component.
std::pair<std::string_view, std::string_view> split_last(std::string_view path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {{}, path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

library_entry entry_named(std::string_view name) {
    library_entry entry;
    std::memcpy(entry.name, name.data(), name.size());
    return entry;
}

} // namespace

bool is_valid_member_path(std::string_view path) {
    if (path.empty() || path.size() > library_max_path) return false;
    // Control characters would end up in file names on extraction, and in the
    // terminal when listed; other bytes above 0x7E may be another system's
    // letters and stay allowed.
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return false;
    }
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

bool library_writer::fail(std::string reason) {
    error_ = std::move(reason);
    return false;
}

bool library_writer::add_directory(std::string_view path) {
    if (!is_valid_member_path(path))
        return fail("invalid archive path '" + std::string(path) + "'");
    return directory_id(path) >= 0;
}

bool library_writer::add_member(std::string_view path, std::span<const uint8_t> bytes, bool store) {
    const std::string name(path);
    if (!is_valid_member_path(path)) return fail("invalid archive path '" + name + "'");
    if (by_path_.count(lower_case(path))) return fail("'" + name + "' is already in the archive");
    if (bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return fail("'" + name + "' is larger than an archive member can be");

    const auto [parent_path, leaf] = split_last(path);
    const int32_t parent = directory_id(parent_path);
    if (parent < 0) return false;

    library_entry entry = entry_named(leaf);
    entry.parent_id = parent;
    entry.size = static_cast<int32_t>(bytes.size());
    std::vector<uint8_t> data;
    if (store) {
        data.assign(bytes.begin(), bytes.end());
    } else {
        uLongf packed_size = compressBound(static_cast<uLong>(bytes.size()));
        data.resize(packed_size);
        if (compress(data.data(), &packed_size, bytes.data(), static_cast<uLong>(bytes.size())) !=
            Z_OK)
            return fail("cannot compress '" + name + "'");
        data.resize(packed_size);
        entry.is_compressed = 1;
    }
    return append(entry, std::move(data), name);
}

int32_t library_writer::directory_id(std::string_view path) {
    if (path.empty()) return 0;
    const auto found = by_path_.find(lower_case(path));
    if (found != by_path_.end()) {
        const library_entry& existing = members_[found->second].entry;
        if (existing.is_directory) return existing.id;
        fail("'" + std::string(path) + "' is a member, not a directory");
        return -1;
    }
    const auto [parent_path, leaf] = split_last(path);
    const int32_t parent = directory_id(parent_path);
    if (parent < 0) return -1;
    library_entry entry = entry_named(leaf);
    entry.is_directory = 1;
    entry.parent_id = parent;
    if (!append(entry, {}, std::string(path))) return -1;
    return members_.back().entry.id;
}

bool library_writer::append(library_entry entry, std::vector<uint8_t> data,
                            const std::string& path) {
    const int64_t data_offset = archive_size_ + library_entry_size;
    const int64_t end = data_offset + static_cast<int64_t>(data.size());
    if (end > std::numeric_limits<int32_t>::max())
        return fail("the archive would outgrow 32-bit offsets at '" + path + "'");
    entry.id = static_cast<int32_t>(members_.size()) + 1;
    entry.stored_size = static_cast<int32_t>(data.size());
    entry.data_offset = static_cast<int32_t>(data_offset);
    archive_size_ = end;
    by_path_[lower_case(path)] = members_.size();
    members_.push_back({entry, std::move(data)});
    return true;
}

std::vector<uint8_t> library_writer::archive() const {
    std::vector<uint8_t> bytes(static_cast<size_t>(archive_size_));
    library_header header;
    header.header_size = library_header_size;
    header.version = library_version;
    std::strncpy(header.title, library_title, sizeof header.title - 1);
    header.entry_count = entry_count();
    encode_library_header(header, std::span(bytes).first<library_header_bytes>());
    for (const member& m : members_) {
        const auto at = static_cast<size_t>(m.entry.data_offset);
        encode_library_entry(
            m.entry,
            std::span(bytes).subspan(at - library_entry_bytes).first<library_entry_bytes>());
        std::copy(m.data.begin(), m.data.end(), bytes.begin() + static_cast<ptrdiff_t>(at));
    }
    return bytes;
}

bool library_writer::write(const std::string& file_name) {
    const std::vector<uint8_t> bytes = archive();
    std::string failure;
    return write_whole_file(file_name, bytes.data(), bytes.size(), failure) || fail(failure);
}

} // namespace vilora::kit
