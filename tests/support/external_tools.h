// Running other programs from tests: the independent readers our files are
// held against (ImageMagick for pictures, through its command line) and
// vilora-kit itself as a user runs it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vilora::testing {

struct run_result {
    int status = -1;
    std::vector<uint8_t> output; // stdout, and stderr when the command merges it
};

run_result run(const std::string& command);
std::string quoted(const std::string& text);

// RGBA bytes of a BMP or PSD as ImageMagick reads it (the merged image of a
// PSD, alpha as stored); empty when it cannot.
std::vector<uint8_t> imagemagick_rgba(const std::filesystem::path& file, bool psd);

} // namespace vilora::testing
