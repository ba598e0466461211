// The one checked way data files are read, and what it notes when it cannot:
// regular files only, no blocking on a pipe, no exception, and a cause a
// user can act on, kept beside the readers' own results.
#include "library/data_file.h"
#include "library/file_problems.h"
#include "library/library_file.h"

#include "tests/library/library_test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace vilora {
namespace {

using namespace vilora::testing;

std::string cause_noted_for(const std::filesystem::path& file) {
    const std::optional<file_problem> problem = take_file_problem();
    if (!problem) return "(nothing noted)";
    EXPECT_EQ(problem->file, file.string());
    return problem->cause;
}

class DataFile : public ::testing::Test {
protected:
    void SetUp() override { take_file_problem(); }
    scratch_dir dir;
};

TEST_F(DataFile, ReadsRegularFilesWhole) {
    write_bytes(dir / "a.bin", bytes_of("abc"));
    const auto bytes = read_data_file((dir / "a.bin").string(), 3);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, bytes_of("abc"));
    EXPECT_TRUE(data_file_readable((dir / "a.bin").string()));
    std::FILE* stream = open_data_file((dir / "a.bin").string());
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(std::fgetc(stream), 'a');
    std::fclose(stream);
    EXPECT_FALSE(take_file_problem()) << "nothing went wrong";

    write_bytes(dir / "empty.bin", {});
    EXPECT_EQ(read_data_file((dir / "empty.bin").string(), 3), std::vector<uint8_t>{});
}

TEST_F(DataFile, NamesWhatIsInTheWayOfReading) {
    const auto path = dir / "x";
    std::string cause;
    EXPECT_FALSE(read_data_file(path.string(), 100, &cause));
    EXPECT_EQ(cause, "missing");
    EXPECT_EQ(cause_noted_for(path), "missing");
    EXPECT_FALSE(read_data_file((dir / "no/such/dir").string(), 100));
    EXPECT_EQ(cause_noted_for(dir / "no/such/dir"), "missing");

    std::filesystem::create_directory(path);
    EXPECT_FALSE(read_data_file(path.string(), 100));
    EXPECT_EQ(cause_noted_for(path), "not a regular file (a directory)");
    EXPECT_EQ(open_data_file(path.string()), nullptr);
    EXPECT_EQ(cause_noted_for(path), "not a regular file (a directory)");
    EXPECT_FALSE(data_file_readable(path.string()));
    EXPECT_EQ(cause_noted_for(path), "not a regular file (a directory)");
    std::filesystem::remove(path);

    // Opening a pipe for reading would wait for a writer for ever.
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_FALSE(read_data_file(path.string(), 100));
    EXPECT_EQ(cause_noted_for(path), "not a regular file (a pipe)");
    std::filesystem::remove(path);

    write_bytes(path, bytes_of("four"));
    EXPECT_FALSE(read_data_file(path.string(), 3));
    EXPECT_EQ(cause_noted_for(path), "larger than 3 bytes");
}

// A data directory whose own path leaves too little room under the system's
// 4096-byte limit for the paths of its files: they are opened relative to it.
TEST_F(DataFile, FilesOfADataRootOpenWhateverTheLengthOfItsPath) {
    std::filesystem::path deep = dir.path;
    while (deep.string().size() < 4000) deep /= std::string(200, 'd');
    std::filesystem::create_directories(deep);
    const std::string name(150, 'n');
    const std::string path = (deep / name).string();
    ASSERT_GT(path.size(), 4096u);
    // Written and removed from inside the directory, as nothing takes the path.
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(deep);
    write_bytes(name, bytes_of("deep"));
    std::filesystem::current_path(here);

    EXPECT_FALSE(read_data_file(path, 10)) << "not without the root";
    EXPECT_EQ(cause_noted_for(path), "unreadable: File name too long");
    set_data_root(deep.string() + "/");
    EXPECT_EQ(read_data_file(path, 10), bytes_of("deep"));
    EXPECT_TRUE(data_file_readable(path));
    std::FILE* stream = open_data_file(path);
    ASSERT_NE(stream, nullptr);
    std::fclose(stream);
    EXPECT_FALSE(take_file_problem());
    EXPECT_EQ(name_of_data_file(path), name);
    EXPECT_EQ(name_of_data_file("/elsewhere/a.782"), "a.782");
    EXPECT_FALSE(read_data_file(deep.string() + "/missing", 10));
    EXPECT_EQ(cause_noted_for(deep.string() + "/missing"), "missing");
    set_data_root("");
    std::filesystem::current_path(deep);
    std::filesystem::remove(name);
    std::filesystem::current_path(here);
}

TEST(Shortened, KeepsTheStartAndTheEndAroundAnEllipsis) {
    EXPECT_EQ(shortened("short", 10), "short");
    EXPECT_EQ(shortened("abcdefghijklmnopqrstuvwxyz", 10), "abc...wxyz");
    EXPECT_EQ(shortened("abcdefghijklmnopqrstuvwxyz", 0), "a...z");
    EXPECT_EQ(shortened(std::string(300, 'x') + ".782", 60).size(), 60u);
}

TEST(FileProblems, TheFirstNotedIsKeptUntilTaken) {
    take_file_problem();
    note_file_problem("a", "first");
    note_file_problem("b", "a consequence");
    const auto problem = take_file_problem();
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->file, "a");
    EXPECT_EQ(problem->cause, "first");
    EXPECT_FALSE(take_file_problem());
}

// The library reader keeps its own result and reason, and notes the same.
TEST_F(DataFile, TheLibraryReaderSaysWhereTheFileIsBroken) {
    library_file library;
    std::filesystem::create_directory(dir / "lib.782");
    EXPECT_FALSE(library.open((dir / "lib.782").c_str(), true));
    EXPECT_EQ(library.failure_reason(), "not a regular file (a directory)");
    EXPECT_EQ(cause_noted_for(dir / "lib.782"), "not a regular file (a directory)");

    library_header header = raw_header(1);
    std::vector<uint8_t> whole =
        raw_archive(header, {raw_file("a.bmp", 1, 0, pattern_bytes(100, 1))});
    whole.resize(17);
    write_bytes(dir / "cut.782", whole);
    EXPECT_FALSE(library.open((dir / "cut.782").c_str(), true));
    EXPECT_EQ(cause_noted_for(dir / "cut.782"),
              "truncated at byte 17: shorter than the 268-byte library header");

    whole = raw_archive(header, {raw_file("a.bmp", 1, 0, pattern_bytes(100, 1))});
    whole.resize(268 + 284 + 50);
    write_bytes(dir / "cut.782", whole);
    EXPECT_FALSE(library.open((dir / "cut.782").c_str(), true));
    EXPECT_EQ(cause_noted_for(dir / "cut.782"),
              "truncated at byte 602: entry 0 at offset 268 claims 100 bytes of data");
}

} // namespace
} // namespace vilora
