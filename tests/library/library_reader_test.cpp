#include "library/library_file.h"

#include "library/data_file.h"
#include "library/file_problems.h"

#include "tests/library/library_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>

namespace vilora {
namespace {

using namespace vilora::testing;

class LibraryReader : public ::testing::Test {
protected:
    bool open(const std::vector<uint8_t>& bytes, bool skip_title_check = true) {
        write_bytes(file, bytes);
        return library.open(file.c_str(), skip_title_check);
    }
    std::string text(const char* path) {
        const auto bytes = library.load_member(path);
        return bytes ? std::string(bytes->begin(), bytes->end()) : "<unreadable>";
    }

    scratch_dir dir;
    std::string file = (dir / "test.782").string();
    library_file library;
};

TEST_F(LibraryReader, AcceptsOnlyTheOneVersionAndHeaderSize) {
    const std::vector<raw_member> members = {raw_file("a.bmp", 1, 0, bytes_of("a"))};
    library_header header = raw_header(1);
    header.version = 0x00010006;
    EXPECT_FALSE(open(raw_archive(header, members)));
    EXPECT_FALSE(library.is_open());

    header = raw_header(1);
    header.header_size = 272;
    EXPECT_FALSE(open(raw_archive(header, members)));

    EXPECT_TRUE(open(raw_archive(raw_header(1), members)));
    EXPECT_TRUE(library.is_open());
    EXPECT_EQ(library.header().entry_count, 1);
}

TEST_F(LibraryReader, ComparesTheTitleIgnoringCaseOnlyWhenAsked) {
    library_header header = raw_header(0);
    std::strcpy(header.title, "VEXA library FILE");
    EXPECT_TRUE(open(raw_archive(header, {}), false));

    std::strcpy(header.title, "Vexa Library file 2");
    EXPECT_FALSE(open(raw_archive(header, {}), false));
    EXPECT_TRUE(open(raw_archive(header, {}), true));

    // A title filling all 256 bytes with no NUL: never the expected title,
    // and terminated in memory.
    std::memset(header.title, 'x', sizeof header.title);
    EXPECT_FALSE(open(raw_archive(header, {}), false));
    EXPECT_TRUE(open(raw_archive(header, {}), true));
    EXPECT_EQ(std::strlen(library.header().title), 255u);
}

TEST_F(LibraryReader, RefusesMissingShortAndLongNamedFiles) {
    EXPECT_FALSE(library.open((dir / "missing.782").c_str(), true));
    EXPECT_FALSE(library.open(nullptr, true));
    EXPECT_FALSE(open({}));
    EXPECT_FALSE(open(std::vector<uint8_t>(267, 0)));

    // Names are limited to 255 characters: the archive's own, or its path
    // within the data directory; the directories above do not count.
    const std::vector<uint8_t> archive = raw_archive({});
    const std::filesystem::path deep = dir / std::string(200, 'd') / std::string(200, 'e');
    std::filesystem::create_directories(deep);
    const std::string path = (deep / "a.782").string();
    write_bytes(path, archive);
    take_file_problem();
    EXPECT_TRUE(library.open(path.c_str(), true));
    set_data_root(deep.string());
    EXPECT_TRUE(library.open(path.c_str(), true));
    set_data_root(dir.path.string());
    EXPECT_FALSE(library.open(path.c_str(), true)) << "d.../e.../a.782 is 409 characters";
    const std::optional<file_problem> problem = take_file_problem();
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->cause, "the name is longer than 255 characters");
    EXPECT_EQ(problem->file.size(), 60u);
    EXPECT_EQ(problem->file.substr(problem->file.size() - 10), "eeee/a.782");
    EXPECT_NE(problem->file.find("..."), std::string::npos);
    set_data_root("");
}

TEST_F(LibraryReader, FindsMembersByTheirFullPathIgnoringAsciiCase) {
    ASSERT_TRUE(
        open(raw_archive({raw_directory("anim", 1, 0), raw_file("f0.bmp", 2, 1, bytes_of("frame")),
                          raw_file("torture.bmp", 3, 0, bytes_of("tt")),
                          raw_file("\xC3\xA9t\xC3\xA9.bmp", 4, 0, bytes_of("e"))})));
    EXPECT_EQ(library.find_entry("anim/f0.bmp"), 1);
    EXPECT_EQ(library.find_entry("ANIM/F0.bmp"), 1);
    EXPECT_EQ(library.find_entry("f0.bmp"), -1);
    EXPECT_EQ(library.find_entry("anim"), -1); // directories only name paths
    EXPECT_EQ(library.find_entry("TORTURE.BMP"), 2);
    EXPECT_EQ(library.find_entry("torture.bmp "), -1);
    EXPECT_EQ(library.find_entry(nullptr), -1);
    // Only ASCII letters fold: the UTF-8 bytes of an accented letter do not.
    EXPECT_EQ(library.find_entry("\xC3\xA9T\xC3\xA9.BMP"), 3);
    EXPECT_EQ(library.find_entry("\xC3\x89T\xC3\x89.BMP"), -1);

    EXPECT_EQ(library.entry_path(1), "anim/f0.bmp");
    EXPECT_EQ(library.entry_path(0), "anim");
    EXPECT_EQ(library.entry_path(4), std::nullopt);
    EXPECT_EQ(library.entry_path(-1), std::nullopt);

    EXPECT_EQ(text("Anim/F0.BMP"), "frame");
    EXPECT_EQ(library.member_size("anim/f0.bmp"), 5);
    ASSERT_NE(library.entry_of("torture.bmp"), nullptr);
    EXPECT_EQ(library.entry_of("torture.bmp")->id, 3);

    std::FILE* stream = library.seek_member("torture.bmp");
    ASSERT_NE(stream, nullptr);
    char first[2] = {};
    ASSERT_EQ(std::fread(first, 1, 2, stream), 2u);
    EXPECT_EQ(std::string(first, 2), "tt");
}

TEST_F(LibraryReader, ResolvesDuplicatePathsAndIdsInFileOrder) {
    ASSERT_TRUE(
        open(raw_archive({raw_file("dup.bmp", 1, 0, bytes_of("first")),
                          raw_file("DUP.BMP", 2, 0, bytes_of("second")), raw_directory("old", 5, 0),
                          raw_directory("new", 5, 0), raw_file("x.bmp", 6, 5, bytes_of("x"))})));
    EXPECT_EQ(library.find_entry("dup.bmp"), 0);
    EXPECT_EQ(text("dup.bmp"), "first");
    // Of two entries with the parent's id, the last in file order is the parent.
    EXPECT_EQ(library.find_entry("new/x.bmp"), 4);
    EXPECT_EQ(library.find_entry("old/x.bmp"), -1);
}

TEST_F(LibraryReader, NeverFindsPathsThatCannotBeResolved) {
    raw_member unterminated = raw_file("", 9, 0, bytes_of("n"));
    std::memset(unterminated.entry.name, 'n', sizeof unterminated.entry.name);
    const std::string dir127(127, 'd'), name127(127, 'm'), name200(200, 'l');
    ASSERT_TRUE(open(raw_archive({
        raw_file("orphan.bmp", 1, 42, bytes_of("o")),       // parent id matches nothing
        raw_directory("a", 2, 3), raw_directory("b", 3, 2), // a -> b -> a
        raw_file("cycled.bmp", 4, 2, bytes_of("c")), raw_directory("self", 5, 5), // its own parent
        raw_file("selfish.bmp", 6, 5, bytes_of("s")), raw_directory(dir127, 7, 0),
        raw_file(name127, 8, 7, bytes_of("255")),    // 127 + 1 + 127 = 255 characters
        unterminated,                                // name without a NUL
        raw_file(name200, 10, 7, bytes_of("328")),   // 127 + 1 + 200 characters
        raw_file("under.bmp", 11, 9, bytes_of("u")), // below the unterminated name
    })));
    for (const char* path : {"orphan.bmp", "a/b/a/cycled.bmp", "b/a/cycled.bmp", "cycled.bmp",
                             "selfish.bmp", "self/selfish.bmp"})
        EXPECT_EQ(library.find_entry(path), -1) << path;
    for (int32_t index : {0, 1, 2, 3, 4, 5, 8, 9, 10})
        EXPECT_EQ(library.entry_path(index), std::nullopt) << index;
    EXPECT_EQ(text((dir127 + "/" + name127).c_str()), "255");
    EXPECT_EQ(library.find_entry((dir127 + "/" + name200).c_str()), -1);
    EXPECT_EQ(std::strlen(library.entry(8).name), 255u); // terminated in memory
}

TEST_F(LibraryReader, InflatesCompressedMembersToExactlyTheirSize) {
    const std::vector<uint8_t> picture = pattern_bytes(10000, 3);
    ASSERT_TRUE(open(raw_archive({raw_compressed("packed.bmp", 1, 0, picture),
                                  raw_file("plain.bmp", 2, 0, picture),
                                  raw_compressed("empty.bmp", 3, 0, {})})));
    EXPECT_LT(library.entry(0).stored_size, 10000);
    EXPECT_EQ(library.member_size("packed.bmp"), 10000);
    // Exactly `size` bytes of room: AddressSanitizer reports any byte beyond.
    std::vector<uint8_t> buffer(10000);
    ASSERT_TRUE(library.read_member("packed.bmp", buffer.data()));
    EXPECT_EQ(buffer, picture);
    EXPECT_EQ(library.load_member("plain.bmp"), picture);
    EXPECT_EQ(library.load_member("empty.bmp"), std::vector<uint8_t>{});
}

TEST_F(LibraryReader, FailsMembersWhoseDataDoesNotMatchTheirSize) {
    const std::vector<uint8_t> picture = pattern_bytes(4000, 9);
    raw_member longer = raw_compressed("longer.bmp", 1, 0, picture);
    longer.entry.size += 1;
    raw_member shorter = raw_compressed("shorter.bmp", 2, 0, picture);
    shorter.entry.size -= 1;
    raw_member corrupt = raw_compressed("corrupt.bmp", 3, 0, picture);
    corrupt.data[corrupt.data.size() / 2] ^= 0x55;
    raw_member huge = raw_compressed("huge.bmp", 4, 0, picture);
    huge.entry.size = INT32_MAX; // beyond what deflate could produce from the data
    raw_member overread = raw_file("overread.bmp", 5, 0, picture);
    overread.entry.size += 1; // a stored member reaching into the next entry
    ASSERT_TRUE(open(raw_archive(
        {longer, shorter, corrupt, huge, overread, raw_file("last.bmp", 6, 0, picture)})));

    for (const char* path : {"longer.bmp", "shorter.bmp", "corrupt.bmp", "overread.bmp"}) {
        std::vector<uint8_t> buffer(static_cast<size_t>(library.member_size(path)));
        EXPECT_FALSE(library.read_member(path, buffer.data())) << path;
        EXPECT_EQ(library.load_member(path), std::nullopt) << path;
    }
    EXPECT_EQ(library.load_member("huge.bmp"), std::nullopt);
    EXPECT_FALSE(library.failure_reason().empty());
    EXPECT_EQ(library.load_member("last.bmp"), picture);
}

TEST_F(LibraryReader, ReportsMissingMembersEverywhere) {
    ASSERT_TRUE(open(raw_archive({raw_directory("anim", 1, 0)})));
    uint8_t byte = 0;
    EXPECT_EQ(library.find_entry("missing.bmp"), -1);
    EXPECT_EQ(library.entry_of("missing.bmp"), nullptr);
    EXPECT_EQ(library.member_size("missing.bmp"), -1);
    EXPECT_FALSE(library.read_member("missing.bmp", &byte));
    EXPECT_EQ(library.seek_member("missing.bmp"), nullptr);
    EXPECT_EQ(library.load_member("missing.bmp"), std::nullopt);
    EXPECT_EQ(library.load_member("anim"), std::nullopt);
}

TEST_F(LibraryReader, ReadsNothingWhileNoFileIsOpen) {
    uint8_t buffer[16] = {};
    EXPECT_FALSE(library.read_member("a.bmp", buffer));
    EXPECT_EQ(library.seek_member("a.bmp"), nullptr);

    ASSERT_TRUE(open(raw_archive({raw_file("a.bmp", 1, 0, bytes_of("a"))})));
    EXPECT_TRUE(library.close());
    // The list stays, but nothing can be read from a closed library.
    EXPECT_EQ(library.find_entry("a.bmp"), 0);
    EXPECT_FALSE(library.read_member("a.bmp", buffer));
    EXPECT_EQ(library.seek_member("a.bmp"), nullptr);
    EXPECT_EQ(library.load_member("a.bmp"), std::nullopt);

    ASSERT_TRUE(open(raw_archive({raw_file("a.bmp", 1, 0, bytes_of("a"))})));
    EXPECT_FALSE(library.open((dir / "missing.782").c_str(), true));
    EXPECT_EQ(library.entry_count(), 1);
    EXPECT_FALSE(library.read_member("a.bmp", buffer));
}

TEST_F(LibraryReader, LeavesTheArchiveByteForByteUnchanged) {
    const std::vector<uint8_t> archive =
        raw_archive({raw_file("a.bmp", 1, 0, pattern_bytes(100, 1)),
                     raw_compressed("b.bmp", 2, 0, pattern_bytes(3000, 2))});
    write_bytes(file, archive);
    // Read-only, as on a CD: opening must not need write access.
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    ASSERT_TRUE(library.open(file.c_str(), true));
    EXPECT_TRUE(library.load_member("a.bmp"));
    EXPECT_TRUE(library.load_member("b.bmp"));
    library.close();
    EXPECT_EQ(read_bytes(file), archive);
    // The offsets stored as 0x7777 are computed in memory instead.
    EXPECT_EQ(library.entry(0).data_offset, 268 + 284);
    EXPECT_EQ(library.entry(1).data_offset, 268 + 284 + 100 + 284);
}

TEST_F(LibraryReader, RefusesDirectoriesThatOverrunTheFile) {
    const std::vector<raw_member> members = {raw_file("a.bmp", 1, 0, pattern_bytes(50, 1)),
                                             raw_file("b.bmp", 2, 0, pattern_bytes(70, 2))};
    const std::vector<uint8_t> good = raw_archive(members);
    ASSERT_TRUE(open(good));
    std::vector<uint8_t> trailing = good;
    trailing.push_back(0);
    EXPECT_TRUE(open(trailing)); // bytes after the last member are not read
    EXPECT_TRUE(open(raw_archive(raw_header(0), {})));

    const auto with_count = [&](int32_t count) { return raw_archive(raw_header(count), members); };
    const auto with_last = [&](auto change) {
        std::vector<raw_member> changed = members;
        change(changed.back().entry);
        return raw_archive(changed);
    };
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> bad = {
        {"one entry more than present", with_count(3)},
        {"largest entry count", with_count(INT32_MAX)},
        {"negative entry count", with_count(-1)},
        {"data cut by one byte", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"entry cut short",
         std::vector<uint8_t>(good.begin(), good.begin() + 268 + 284 + 50 + 100)},
        {"stored size past the end", with_last([](library_entry& e) { e.stored_size += 1; })},
        {"largest stored size", with_last([](library_entry& e) { e.stored_size = INT32_MAX; })},
        {"negative stored size", with_last([](library_entry& e) { e.stored_size = -70; })},
        {"negative size", with_last([](library_entry& e) { e.size = -1; })},
    };
    for (const auto& [what, bytes] : bad) {
        EXPECT_FALSE(open(bytes)) << what;
        EXPECT_FALSE(library.is_open()) << what;
        EXPECT_FALSE(library.failure_reason().empty()) << what;
    }
}

} // namespace
} // namespace vilora
