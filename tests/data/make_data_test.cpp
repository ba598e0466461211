// vilora-kit make-data as a user runs it: the same bytes on every run, one
// file alone with --only, the list with --list.
#include "tests/library/library_test_support.h"
#include "tests/support/external_tools.h"

#include <gtest/gtest.h>

#include <string>

namespace vilora::testing {
namespace {

std::string kit() {
    return quoted(VILORA_KIT) + " make-data ";
}

std::vector<std::string> listed_names() {
    const run_result r = run(kit() + "--list");
    EXPECT_EQ(r.status, 0);
    std::vector<std::string> names;
    std::string line;
    for (uint8_t c : r.output) {
        if (c != '\n') {
            line += static_cast<char>(c);
        } else {
            names.push_back(line);
            line.clear();
        }
    }
    return names;
}

TEST(MakeData, TwoRunsWriteTheSameBytesAsTheBuild) {
    const std::vector<std::string> names = listed_names();
    ASSERT_EQ(names.size(), 11u);
    scratch_dir first, second;
    ASSERT_EQ(run(kit() + quoted(first.path.string())).status, 0);
    ASSERT_EQ(run(kit() + quoted(second.path.string())).status, 0);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes = read_bytes(first / name);
        EXPECT_GT(bytes.size(), 1000u);
        EXPECT_EQ(bytes, read_bytes(second / name));
        EXPECT_EQ(bytes, read_bytes(std::filesystem::path(VILORA_DATA_DIR) / name));
    }
}

TEST(MakeData, OnlyWritesOneFileAndRefusesStrangers) {
    scratch_dir dir;
    ASSERT_EQ(run(kit() + quoted(dir.path.string()) + " --only sperm.3ds").status, 0);
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path))
        ++files;
    EXPECT_EQ(files, 1u);
    EXPECT_EQ(read_bytes(dir / "sperm.3ds"),
              read_bytes(std::filesystem::path(VILORA_DATA_DIR) / "sperm.3ds"));
    EXPECT_NE(run(kit() + quoted(dir.path.string()) + " --only sperm.bmp 2>/dev/null").status, 0);
}

TEST(MakeData, PreviewWritesASheetPerPart) {
    scratch_dir dir;
    ASSERT_EQ(run(kit() + "--preview " + quoted(dir.path.string())).status, 0);
    for (const char* part : {"otitulek", "obw", "oneco4", "oskred0", "ogreety", "oneco2", "oneco3",
                             "odistort", "oneco0", "houp", "pinkous", "oland", "oneco1"}) {
        const run_result size = run("identify -format '%w %h' " +
                                    quoted((dir / (std::string(part) + ".png")).string()));
        EXPECT_EQ(size.status, 0) << part;
        EXPECT_FALSE(size.output.empty()) << part;
    }
}

} // namespace
} // namespace vilora::testing
