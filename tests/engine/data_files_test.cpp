#include "engine/data_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace vilora {
namespace {

namespace fs = std::filesystem;

TEST(DataFiles, NamesMatchWithoutRegardToCase) {
    const fs::path dir = fs::temp_directory_path() / ("vilora-data-" + std::to_string(getpid()));
    fs::create_directories(dir / "Sub");
    std::ofstream(dir / "MUSKA.XM") << "x";
    std::ofstream(dir / "Sub" / "hedge.3DS") << "x";
    set_data_directory(dir.string());

    EXPECT_EQ(data_file("data\\muska.xm"), (dir / "MUSKA.XM").string());
    EXPECT_EQ(data_file("data/Muska.Xm"), (dir / "MUSKA.XM").string());
    EXPECT_EQ(data_file("DATA\\sub\\HEDGE.3ds"), (dir / "Sub" / "hedge.3DS").string());
    EXPECT_EQ(data_file("data\\missing.782"), (dir / "missing.782").string());
    fs::remove_all(dir);
}

TEST(DataFiles, TheDirectoryBesideTheProgramComesFirst) {
    const fs::path root = fs::temp_directory_path() / ("vilora-exe-" + std::to_string(getpid()));
    fs::create_directories(root / "Data");
    EXPECT_EQ(choose_data_directory((root / "vilora").string()), (root / "Data").string());
    fs::remove_all(root);
}

} // namespace
} // namespace vilora
