#include "tests/library/library_test_support.h"

#include "library/library_format.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace vilora::testing {

namespace fs = std::filesystem;

scratch_dir::scratch_dir() {
    static std::atomic<int> counter{0};
    path = fs::temp_directory_path() /
           ("vilora-lib-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path);
    fs::create_directories(path);
}

scratch_dir::~scratch_dir() {
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path, ec);
}

void write_bytes(const fs::path& file, const std::vector<uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << file;
}

std::vector<uint8_t> read_bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> bytes_of(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<uint8_t> pattern_bytes(size_t count, uint8_t seed) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(seed + i % 37 * (i % 5));
    return bytes;
}

namespace {

raw_member raw_entry(const std::string& name, int32_t id, int32_t parent_id) {
    raw_member member;
    std::memcpy(member.entry.name, name.data(), std::min(name.size(), sizeof member.entry.name));
    member.entry.id = id;
    member.entry.parent_id = parent_id;
    // Deliberately wrong: the reader must compute the real offset itself.
    member.entry.data_offset = 0x7777;
    return member;
}

} // namespace

raw_member raw_file(const std::string& name, int32_t id, int32_t parent_id,
                    const std::vector<uint8_t>& bytes) {
    raw_member member = raw_entry(name, id, parent_id);
    member.data = bytes;
    member.entry.stored_size = static_cast<int32_t>(bytes.size());
    member.entry.size = static_cast<int32_t>(bytes.size());
    return member;
}

raw_member raw_compressed(const std::string& name, int32_t id, int32_t parent_id,
                          const std::vector<uint8_t>& bytes) {
    raw_member member = raw_entry(name, id, parent_id);
    uLongf packed_size = compressBound(static_cast<uLong>(bytes.size()));
    member.data.resize(packed_size);
    EXPECT_EQ(compress(member.data.data(), &packed_size, bytes.data(), bytes.size()), Z_OK);
    member.data.resize(packed_size);
    member.entry.is_compressed = 1;
    member.entry.stored_size = static_cast<int32_t>(packed_size);
    member.entry.size = static_cast<int32_t>(bytes.size());
    return member;
}

raw_member raw_directory(const std::string& name, int32_t id, int32_t parent_id) {
    raw_member member = raw_entry(name, id, parent_id);
    member.entry.is_directory = 1;
    return member;
}

library_header raw_header(int32_t member_count) {
    library_header header;
    header.header_size = library_header_size;
    header.version = library_version;
    std::strcpy(header.title, library_title);
    header.entry_count = member_count;
    return header;
}

std::vector<uint8_t> raw_archive(const library_header& header,
                                 const std::vector<raw_member>& members) {
    std::vector<uint8_t> bytes(library_header_bytes);
    encode_library_header(header, std::span(bytes).first<library_header_bytes>());
    for (const raw_member& member : members) {
        std::array<uint8_t, library_entry_bytes> entry;
        encode_library_entry(member.entry, entry);
        bytes.insert(bytes.end(), entry.begin(), entry.end());
        bytes.insert(bytes.end(), member.data.begin(), member.data.end());
    }
    return bytes;
}

std::vector<uint8_t> raw_archive(const std::vector<raw_member>& members) {
    return raw_archive(raw_header(static_cast<int32_t>(members.size())), members);
}

} // namespace vilora::testing
