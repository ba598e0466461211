#include "kit/formats/library_writer.h"

#include "library/library_file.h"
#include "library/library_format.h"
#include "tests/library/library_test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace vilora {
namespace {

using namespace vilora::testing;
using kit::library_writer;

struct sample_member {
    std::string path;
    std::vector<uint8_t> bytes;
    bool store;
};

const std::vector<sample_member>& sample_members() {
    static const std::vector<sample_member> members = {
        {"torture.bmp", pattern_bytes(5000, 1), false},
        {"anim/f0.bmp", pattern_bytes(777, 2), true},
        {"anim/f1.bmp", pattern_bytes(12345, 3), false},
        {"anim/deep/x.psd", pattern_bytes(64, 4), false},
        {"empty.bmp", {}, false},
        {"empty-stored.bmp", {}, true},
    };
    return members;
}

library_writer sample_writer() {
    library_writer writer;
    for (const sample_member& m : sample_members())
        EXPECT_TRUE(writer.add_member(m.path, m.bytes, m.store)) << writer.error();
    EXPECT_TRUE(writer.add_directory("emptydir"));
    return writer;
}

TEST(LibraryWriter, ArchivesReadBackThroughTheReader) {
    scratch_dir dir;
    const std::string file = (dir / "out.782").string();
    library_writer writer = sample_writer();
    ASSERT_TRUE(writer.write(file)) << writer.error();

    library_file library;
    ASSERT_TRUE(library.open(file.c_str(), false)); // with the title check
    EXPECT_EQ(library.header().version, library_version);
    EXPECT_STREQ(library.header().title, "Vexa Library file");
    for (const sample_member& m : sample_members()) {
        EXPECT_EQ(library.load_member(m.path.c_str()), m.bytes) << m.path;
        ASSERT_NE(library.entry_of(m.path.c_str()), nullptr);
        EXPECT_EQ(library.entry_of(m.path.c_str())->is_compressed != 0, !m.store) << m.path;
    }
    EXPECT_LT(library.entry_of("anim/f1.bmp")->stored_size, 12345);
    // torture, anim, f0, f1, deep, x, empty, empty-stored, emptydir
    EXPECT_EQ(library.entry_count(), 9);
    EXPECT_EQ(library.entry_path(8), "emptydir");
    EXPECT_TRUE(library.entry(8).is_directory);
}

TEST(LibraryWriter, WritesUniqueIdsParentsBeforeChildrenAndTrueOffsets) {
    const std::vector<uint8_t> bytes = sample_writer().archive();
    const library_header header =
        decode_library_header(std::span(bytes).first<library_header_bytes>());
    EXPECT_EQ(header.header_size, 268);
    EXPECT_EQ(header.version, 0x00010005);

    std::map<int32_t, std::string> directories; // id -> path, as seen so far
    std::set<int32_t> ids;
    std::set<std::string> paths;
    size_t offset = library_header_bytes;
    for (int32_t i = 0; i < header.entry_count; ++i) {
        ASSERT_LE(offset + library_entry_bytes, bytes.size());
        const library_entry entry =
            decode_library_entry(std::span(bytes).subspan(offset).first<library_entry_bytes>());
        EXPECT_EQ(entry.data_offset, static_cast<int32_t>(offset + library_entry_bytes));
        EXPECT_NE(entry.id, 0);
        EXPECT_TRUE(ids.insert(entry.id).second) << "duplicate id " << entry.id;
        ASSERT_TRUE(entry.parent_id == 0 || directories.count(entry.parent_id))
            << entry.name << " comes before its parent";
        const std::string path =
            entry.parent_id == 0 ? entry.name : directories[entry.parent_id] + "/" + entry.name;
        paths.insert(path);
        if (entry.is_directory) directories[entry.id] = path;
        offset += library_entry_bytes + static_cast<size_t>(entry.stored_size);
    }
    EXPECT_EQ(offset, bytes.size());
    EXPECT_EQ(paths, (std::set<std::string>{"torture.bmp", "anim", "anim/f0.bmp", "anim/f1.bmp",
                                            "anim/deep", "anim/deep/x.psd", "empty.bmp",
                                            "empty-stored.bmp", "emptydir"}));
}

TEST(LibraryWriter, RefusesPathsTheReaderCouldNotServe) {
    library_writer writer;
    const std::vector<uint8_t> bytes = bytes_of("x");
    for (const std::string& path :
         {std::string(), std::string("/abs.bmp"), std::string("a//b.bmp"), std::string("a/"),
          std::string("../up.bmp"), std::string("a/./b.bmp"), std::string(256, 'n'),
          std::string(128, 'd') + "/" + std::string(127, 'm'), std::string("nul\0.bmp", 8)}) {
        EXPECT_FALSE(writer.add_member(path, bytes)) << path;
        EXPECT_FALSE(writer.error().empty());
    }
    EXPECT_TRUE(writer.add_member(std::string(128, 'd') + "/" + std::string(126, 'm'), bytes));

    ASSERT_TRUE(writer.add_member("anim/f0.bmp", bytes));
    EXPECT_FALSE(writer.add_member("ANIM/F0.BMP", bytes)); // the reader could not tell them apart
    EXPECT_FALSE(writer.add_member("anim/f0.bmp/x.bmp", bytes));
    EXPECT_FALSE(writer.add_directory("anim/f0.bmp"));
    EXPECT_FALSE(writer.add_member("anim", bytes));
    EXPECT_TRUE(writer.add_directory("Anim")); // already there
    EXPECT_TRUE(writer.add_member("Anim/f1.bmp", bytes));
    EXPECT_EQ(writer.entry_count(), 5); // the long directory and its member, anim, f0, f1
}

} // namespace
} // namespace vilora
