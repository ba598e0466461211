// vilora-kit lib, run as a program the way a user runs it.
#include "library/library_file.h"
#include "tests/library/library_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sys/wait.h>

namespace vilora {
namespace {

using namespace vilora::testing;
namespace fs = std::filesystem;

struct kit_result {
    int status = -1;
    std::string out;
    std::string err;
};

class LibCommand : public ::testing::Test {
protected:
    // Arguments are quoted for the shell; none of ours holds a quote.
    kit_result kit(const std::vector<std::string>& arguments) {
        std::string line = std::string("'") + VILORA_KIT + "' lib";
        for (const std::string& a : arguments) line += " '" + a + "'";
        line += " >'" + (dir / "stdout").string() + "' 2>'" + (dir / "stderr").string() + "'";
        const int raw = std::system(line.c_str());
        const auto text = [](const fs::path& f) {
            const auto bytes = read_bytes(f);
            return std::string(bytes.begin(), bytes.end());
        };
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text(dir / "stdout"), text(dir / "stderr")};
    }

    void make_tree() {
        fs::create_directories(src / "anim" / "deep");
        fs::create_directories(src / "emptydir");
        write_bytes(src / "torture.bmp", pattern_bytes(5000, 1));
        write_bytes(src / "anim" / "f0.bmp", pattern_bytes(777, 2));
        write_bytes(src / "anim" / "deep" / "x.psd", pattern_bytes(30000, 3));
        write_bytes(src / "empty.bmp", {});
    }

    // Every file and directory below `root`, with the bytes of the files.
    static std::map<std::string, std::vector<uint8_t>> contents(const fs::path& root) {
        std::map<std::string, std::vector<uint8_t>> found;
        for (const auto& e : fs::recursive_directory_iterator(root))
            found[fs::relative(e.path(), root).generic_string()] =
                e.is_directory() ? bytes_of("<dir>") : read_bytes(e.path());
        return found;
    }

    static void expect_one_line_error(const kit_result& result, const std::string& mention) {
        EXPECT_NE(result.status, 0);
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_NE(result.err.find(mention), std::string::npos) << result.err;
    }

    scratch_dir dir;
    fs::path src = dir / "src";
    std::string archive = (dir / "a.782").string();
};

TEST_F(LibCommand, CreateListExtractGivesBackTheSameBytes) {
    make_tree();
    const kit_result created = kit(
        {"create", archive, "-C", src.string(), "torture.bmp", "anim", "empty.bmp", "emptydir"});
    ASSERT_EQ(created.status, 0) << created.err;

    const kit_result listed = kit({"list", archive});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("      5000"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("zlib    anim/deep/x.psd\n"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("dir     anim/deep/\n"), std::string::npos) << listed.out;
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 7);

    library_file library;
    ASSERT_TRUE(library.open(archive.c_str(), false));
    EXPECT_LT(library.entry_of("anim/deep/x.psd")->stored_size, 30000);

    const kit_result extracted = kit({"extract", archive, "-C", (dir / "out").string()});
    ASSERT_EQ(extracted.status, 0) << extracted.err;
    EXPECT_EQ(contents(dir / "out"), contents(src));
}

TEST_F(LibCommand, StoresMembersUncompressedWhenAsked) {
    make_tree();
    ASSERT_EQ(kit({"create", "--store", archive, "-C", src.string(), "."}).status, 0);
    const kit_result listed = kit({"list", archive});
    EXPECT_NE(listed.out.find("     30000      30000  stored  anim/deep/x.psd\n"),
              std::string::npos)
        << listed.out;
    EXPECT_EQ(listed.out.find("zlib"), std::string::npos);
}

TEST_F(LibCommand, ExtractsOnlyTheSelectedPaths) {
    make_tree();
    ASSERT_EQ(kit({"create", archive, "-C", src.string(), "."}).status, 0);
    ASSERT_EQ(kit({"extract", archive, "-C", (dir / "out").string(), "ANIM/deep/"}).status, 0);
    const auto out = contents(dir / "out");
    EXPECT_EQ(out.size(), 3u); // anim, anim/deep, anim/deep/x.psd
    EXPECT_EQ(out.at("anim/deep/x.psd"), pattern_bytes(30000, 3));

    expect_one_line_error(kit({"extract", archive, "-C", (dir / "out").string(), "anim/f9.bmp"}),
                          "anim/f9.bmp");
}

TEST_F(LibCommand, BadArchivesGiveOneLineErrors) {
    make_tree();
    ASSERT_EQ(kit({"create", archive, "-C", src.string(), "."}).status, 0);
    const std::vector<uint8_t> good = read_bytes(archive);

    const std::string cut = (dir / "cut.782").string();
    write_bytes(cut, std::vector<uint8_t>(good.begin(), good.end() - 10));
    const std::string garbage = (dir / "garbage.782").string();
    write_bytes(garbage, pattern_bytes(1000, 7));
    for (const std::string& bad : {cut, garbage, (dir / "missing.782").string()}) {
        expect_one_line_error(kit({"list", bad}), bad);
        expect_one_line_error(kit({"extract", bad, "-C", (dir / "out").string()}), bad);
    }
    EXPECT_FALSE(fs::exists(dir / "out"));

    // A member whose data does not inflate: listed, but not extracted.
    library_file library;
    ASSERT_TRUE(library.open(archive.c_str(), true));
    std::vector<uint8_t> damaged = good;
    damaged[static_cast<size_t>(library.entry_of("torture.bmp")->data_offset) + 20] ^= 0xFF;
    write_bytes(archive, damaged);
    EXPECT_EQ(kit({"list", archive}).status, 0);
    expect_one_line_error(kit({"extract", archive, "-C", (dir / "out").string()}), "torture.bmp");
}

TEST_F(LibCommand, ExtractNeverWritesOutsideTheTargetDirectory) {
    for (const std::string& name : {std::string(".."), std::string("")}) {
        write_bytes(archive, raw_archive({raw_directory(name, 1, 0),
                                          raw_file("escaped.bmp", 2, 1, bytes_of("x"))}));
        fs::create_directories(dir / "out");
        expect_one_line_error(kit({"extract", archive, "-C", (dir / "out").string()}), "unsafe");
        EXPECT_FALSE(fs::exists(dir / "escaped.bmp"));
        EXPECT_TRUE(fs::is_empty(dir / "out"));
    }
}

TEST_F(LibCommand, ExtractRefusesFilesAlreadyThereUnlessForced) {
    make_tree();
    ASSERT_EQ(kit({"create", archive, "-C", src.string(), "."}).status, 0);
    const fs::path out = dir / "out";
    ASSERT_EQ(kit({"extract", archive, "-C", out.string()}).status, 0);
    write_bytes(out / "torture.bmp", bytes_of("changed"));
    write_bytes(out / "mine.txt", bytes_of("mine"));

    const kit_result again = kit({"extract", archive, "-C", out.string()});
    EXPECT_EQ(again.status, 2);
    EXPECT_EQ(again.err, "vilora-kit lib: " + out.string() +
                             "/anim/deep/x.psd already exists (and 3 more of the archive's files): "
                             "give --force to replace them\n");
    EXPECT_EQ(read_bytes(out / "torture.bmp"), bytes_of("changed"));

    ASSERT_EQ(kit({"extract", archive, "-C", out.string(), "--force"}).status, 0);
    EXPECT_EQ(read_bytes(out / "torture.bmp"), pattern_bytes(5000, 1));
    EXPECT_EQ(read_bytes(out / "mine.txt"), bytes_of("mine"));
}

TEST_F(LibCommand, ExtractNeverWritesThroughSymbolicLinksInTheDirectory) {
    fs::create_directories(src / "pics");
    write_bytes(src / "pics" / "evil.txt", bytes_of("evil"));
    write_bytes(src / "victim.txt", bytes_of("from the archive"));
    ASSERT_EQ(kit({"create", archive, "-C", src.string(), "pics", "victim.txt"}).status, 0);
    const fs::path outside = dir / "outside";

    struct link_case {
        const char* name;   // the link inside the target directory
        const char* points; // where, from inside it
        bool to_directory;
    };
    const link_case cases[] = {
        {"pics", "../outside/folder", true},
        {"pics", "../outside/nowhere", true},
        {"victim.txt", "../outside/file.txt", false},
        {"victim.txt", "../outside/new.txt", false},
    };
    for (const link_case& c : cases)
        for (const bool everything : {true, false})
            for (const bool force : {false, true}) {
                SCOPED_TRACE(std::string(c.name) + " -> " + c.points +
                             (everything ? ", everything" : ", chosen") +
                             (force ? ", forced" : ""));
                fs::remove_all(outside);
                fs::create_directories(outside / "folder");
                write_bytes(outside / "file.txt", bytes_of("outside"));
                const auto before = contents(outside);
                const fs::path target = dir / "target";
                fs::remove_all(target);
                fs::create_directories(target);
                fs::create_symlink(c.points, target / c.name);

                std::vector<std::string> arguments{"extract", archive, "-C", target.string()};
                if (!everything) arguments.push_back(c.to_directory ? "pics/evil.txt" : c.name);
                if (force) arguments.push_back("--force");
                const kit_result result = kit(arguments);

                EXPECT_EQ(contents(outside), before) << "nothing outside changes";
                if (c.to_directory) {
                    expect_one_line_error(result, target.string() +
                                                      "/pics: is a symbolic link; "
                                                      "nothing is extracted through it");
                    EXPECT_TRUE(fs::is_symlink(target / "pics"));
                } else if (!force) {
                    EXPECT_EQ(result.status, 2) << result.err;
                    EXPECT_NE(result.err.find("victim.txt already exists"), std::string::npos);
                    EXPECT_TRUE(fs::is_symlink(target / "victim.txt"));
                } else {
                    // Forced, the link itself is replaced by the member.
                    EXPECT_EQ(result.status, 0) << result.err;
                    EXPECT_FALSE(fs::is_symlink(target / "victim.txt"));
                    EXPECT_EQ(read_bytes(target / "victim.txt"), bytes_of("from the archive"));
                }
            }
}

TEST_F(LibCommand, NamesAreShownEscapedAndControlCharactersNeverExtracted) {
    const std::string name = "a\nb\x1b[31m.bmp";
    write_bytes(archive, raw_archive({raw_file(name, 1, 0, bytes_of("x"))}));
    const kit_result listed = kit({"list", archive});
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out.find('\x1b'), std::string::npos) << "no escape reaches the terminal";
    EXPECT_NE(listed.out.find("a\\nb\\x1B[31m.bmp"), std::string::npos) << listed.out;
    EXPECT_NE(listed.err.find("cannot be extracted"), std::string::npos) << listed.err;

    fs::create_directories(dir / "out");
    const kit_result extracted = kit({"extract", archive, "-C", (dir / "out").string()});
    expect_one_line_error(extracted, "unsafe member path 'a\\nb\\x1B[31m.bmp'");
    EXPECT_EQ(extracted.err.find('\x1b'), std::string::npos);
    EXPECT_TRUE(fs::is_empty(dir / "out"));
}

TEST_F(LibCommand, MembersHiddenByLetterCaseAreReported) {
    write_bytes(archive, raw_archive({raw_file("f.txt", 1, 0, bytes_of("first")),
                                      raw_file("F.TXT", 2, 0, bytes_of("second"))}));
    const kit_result listed = kit({"list", archive});
    EXPECT_EQ(listed.status, 0);
    EXPECT_NE(listed.err.find("'F.TXT' has the path of 'f.txt'"), std::string::npos) << listed.err;

    const kit_result extracted = kit({"extract", archive, "-C", (dir / "out").string()});
    EXPECT_EQ(extracted.status, 0);
    EXPECT_NE(extracted.err.find("only the first is extracted"), std::string::npos)
        << extracted.err;
    EXPECT_EQ(read_bytes(dir / "out" / "f.txt"), bytes_of("first"));
    EXPECT_FALSE(fs::exists(dir / "out" / "F.TXT"));
}

TEST_F(LibCommand, CreateRefusesPathsOutsideTheDirectory) {
    make_tree();
    expect_one_line_error(kit({"create", archive, "-C", (src / "anim").string(), "../torture.bmp"}),
                          "../torture.bmp");
    expect_one_line_error(kit({"create", archive, (src / "torture.bmp").string()}), "relative");
    expect_one_line_error(kit({"create", archive, "-C", src.string(), "nothing.bmp"}),
                          "nothing.bmp");
    EXPECT_FALSE(fs::exists(archive));
}

} // namespace
} // namespace vilora
