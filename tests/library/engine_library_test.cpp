#include "engine/engine.h"
#include "library/library_file.h"
#include "tests/library/library_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vilora {
namespace {

using namespace vilora::testing;

TEST(EngineLibrary, OpenLibrarySetsTheFlagOnlyWhenAnArchiveOpens) {
    scratch_dir dir;
    const std::string missing = (dir / "missing.782").string();
    const std::string archive = (dir / "robot1.782").string();
    library_header header = raw_header(1);
    std::strcpy(header.title, "some other title"); // the engine does not check it
    write_bytes(archive, raw_archive(header, {raw_file("torture.bmp", 1, 0, bytes_of("t"))}));

    EXPECT_FALSE(library_open());
    EXPECT_FALSE(open_library(missing.c_str()));
    EXPECT_FALSE(library_open());

    ASSERT_TRUE(open_library(archive.c_str()));
    EXPECT_TRUE(library_open());
    EXPECT_TRUE(engine_library().is_open());
    EXPECT_EQ(engine_library().load_member("TORTURE.BMP"), bytes_of("t"));

    // Never cleared: pictures keep coming from the library.
    EXPECT_FALSE(open_library(missing.c_str()));
    EXPECT_TRUE(library_open());
    EXPECT_EQ(&engine_library(), &engine_library());
}

} // namespace
} // namespace vilora
