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

// An installed program, PREFIX/bin/vilora, run from a folder `work`: beside
// the program, then the current directory, then PREFIX/share/vilora/data.
TEST(DataFiles, LookupGoesBesideTheProgramThenHereThenTheInstalledData) {
    const fs::path root = fs::temp_directory_path() / ("vilora-exe-" + std::to_string(getpid()));
    const fs::path program = root / "prefix" / "bin" / "vilora";
    const fs::path installed = root / "prefix" / "share" / "vilora" / "data";
    fs::create_directories(program.parent_path());
    fs::create_directories(root / "work");
    const fs::path was = fs::current_path();
    fs::current_path(root / "work");

    EXPECT_EQ(choose_data_directory(program.string()), "data") << "nothing there yet";
    fs::create_directories(installed);
    EXPECT_EQ(choose_data_directory(program.string()), installed.string());
    fs::create_directories(root / "work" / "DATA");
    EXPECT_EQ(fs::path(choose_data_directory(program.string())), root / "work" / "DATA");
    fs::create_directories(program.parent_path() / "Data");
    EXPECT_EQ(choose_data_directory(program.string()), (program.parent_path() / "Data").string());

    fs::current_path(was);
    fs::remove_all(root);
}

} // namespace
} // namespace vilora
