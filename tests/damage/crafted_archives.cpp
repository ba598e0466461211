// Archives whose directory lies about their members, and pictures inside
// them that claim 65535 x 65535 pixels with a few bytes behind the claim.
#include "tests/damage/crafted.h"

#include "library/library_format.h"

#include <zlib.h>

#include <algorithm>
#include <span>

namespace vilora::damage {

namespace {

constexpr const char* archive_file = "dtroid.782";

struct member {
    library_entry entry;
    bytes data;
};

struct archive {
    library_header header;
    std::vector<member> members;
};

archive read_archive(const bytes& a) {
    archive out;
    out.header = decode_library_header(
        std::span<const uint8_t, library_header_bytes>(a.data(), library_header_bytes));
    size_t at = library_header_bytes;
    for (int32_t i = 0; i < out.header.entry_count; ++i) {
        member m;
        m.entry = decode_library_entry(
            std::span<const uint8_t, library_entry_bytes>(a.data() + at, library_entry_bytes));
        at += library_entry_bytes;
        const auto stored = static_cast<size_t>(m.entry.stored_size);
        m.data.assign(a.begin() + static_cast<ptrdiff_t>(at),
                      a.begin() + static_cast<ptrdiff_t>(at + stored));
        at += stored;
        out.members.push_back(std::move(m));
    }
    return out;
}

// The archive as bytes, every member's data offset where its data now lies;
// the directory's other fields are written as they are, lies included.
bytes write_archive(const archive& a) {
    bytes out(library_header_bytes);
    encode_library_header(
        a.header, std::span<uint8_t, library_header_bytes>(out.data(), library_header_bytes));
    for (const member& m : a.members) {
        library_entry entry = m.entry;
        entry.data_offset = static_cast<int32_t>(out.size() + library_entry_bytes);
        const size_t at = out.size();
        out.resize(at + library_entry_bytes);
        encode_library_entry(
            entry, std::span<uint8_t, library_entry_bytes>(out.data() + at, library_entry_bytes));
        out.insert(out.end(), m.data.begin(), m.data.end());
    }
    return out;
}

bool has_suffix(const char* name, const std::string& suffix) {
    const std::string n = name;
    if (n.size() < suffix.size()) return false;
    std::string end = n.substr(n.size() - suffix.size());
    std::transform(end.begin(), end.end(), end.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return end == suffix;
}

// The first member of the archives whose name ends in `suffix` (any case).
template <typename Change>
void change_member(const std::filesystem::path& data, const std::string& suffix, Change change) {
    for (const char* name : {archive_file, "robot1.782", "uganda4.782"}) {
        const std::filesystem::path file = data / name;
        archive a = read_archive(read_file(file));
        for (member& m : a.members)
            if (!m.entry.is_directory && has_suffix(m.entry.name, suffix)) {
                change(m);
                write_file(file, write_archive(a));
                return;
            }
    }
    throw std::runtime_error("no member ending in " + suffix);
}

// A member now stored as these bytes, uncompressed, its size theirs.
void store(member& m, bytes data) {
    m.entry.is_compressed = 0;
    m.entry.stored_size = static_cast<int32_t>(data.size());
    m.entry.size = m.entry.stored_size;
    m.data = std::move(data);
}

bytes bmp_claiming_65535_square() {
    bytes b(54 + 1024);
    b[0] = 'B';
    b[1] = 'M';
    put_u32(b, 2, static_cast<uint32_t>(b.size()));
    put_u32(b, 10, 54); // pixels follow the headers
    put_u32(b, 14, 40); // info header
    put_u32(b, 18, 65535);
    put_u32(b, 22, 65535);
    put_u16(b, 26, 1);  // planes
    put_u16(b, 28, 24); // bits per pixel
    return b;
}

void put_u16_big(bytes& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v >> 8);
    b[at + 1] = static_cast<uint8_t>(v);
}

bytes psd_claiming_65535_square() {
    bytes p(26 + 4 + 4 + 4 + 2 + 1024);
    std::copy_n("8BPS", 4, p.begin());
    put_u16_big(p, 4, 1);      // version
    put_u16_big(p, 12, 3);     // channels
    put_u16_big(p, 16, 65535); // height (32-bit, big-endian)
    put_u16_big(p, 20, 65535); // width
    put_u16_big(p, 22, 8);     // bits per channel
    put_u16_big(p, 24, 3);     // RGB; the three section lengths and the compression stay 0
    return p;
}

} // namespace

void archive_member_of_4_gib(const std::filesystem::path& data) {
    change_member(data, ".bmp", [](member& m) { m.entry.size = -1; });
}

void archive_member_of_2_gib(const std::filesystem::path& data) {
    change_member(data, ".bmp", [](member& m) { m.entry.size = 0x7FFFFFFF; });
}

void archive_member_inflating_past_its_size(const std::filesystem::path& data) {
    change_member(data, ".bmp", [](member& m) {
        // 64 MiB of zeros in a stream of some 64 KiB, under the member's own size.
        const bytes zeros(size_t{64} << 20);
        uLongf length = compressBound(static_cast<uLong>(zeros.size()));
        bytes stream(length);
        if (compress2(stream.data(), &length, zeros.data(), static_cast<uLong>(zeros.size()), 9) !=
            Z_OK)
            throw std::runtime_error("zlib failed");
        stream.resize(length);
        const int32_t claimed = m.entry.size;
        store(m, stream);
        m.entry.is_compressed = 1;
        m.entry.size = claimed;
    });
}

void archive_entries_65535(const std::filesystem::path& data) {
    const std::filesystem::path file = data / archive_file;
    bytes a = read_file(file);
    put_u32(a, library_header_bytes - 4, 65535); // the entry count ends the header
    write_file(file, a);
}

void archive_member_past_end(const std::filesystem::path& data) {
    change_member(data, ".bmp", [](member& m) {
        // Written with its real bytes, then told to hold far more.
        m.entry.stored_size = 0x7FFFFF00;
    });
}

void picture_bmp_65535_square(const std::filesystem::path& data) {
    change_member(data, ".bmp", [](member& m) { store(m, bmp_claiming_65535_square()); });
}

void picture_psd_65535_square(const std::filesystem::path& data) {
    change_member(data, ".psd", [](member& m) { store(m, psd_claiming_65535_square()); });
}

} // namespace vilora::damage
