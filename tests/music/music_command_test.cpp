// vilora-kit make-music, run as a program the way the build runs it.
#include "kit/content/music/music_module.h"
#include "tests/library/library_test_support.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace vilora {
namespace {

using namespace vilora::testing;

int run_kit(const std::string& arguments, const scratch_dir& dir) {
    const std::string line = std::string("'") + VILORA_KIT + "' make-music " + arguments + " >'" +
                             (dir / "out").string() + "' 2>&1";
    const int raw = std::system(line.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(MusicCommand, WritesTheModuleAndItsRendering) {
    scratch_dir dir;
    const std::string xm = (dir / "muska.xm").string(), wav = (dir / "muska.wav").string();
    ASSERT_EQ(run_kit("'" + xm + "' --wav '" + wav + "'", dir), 0);
    EXPECT_EQ(read_bytes(xm), kit::music::make_music_module());

    SF_INFO info{};
    SNDFILE* in = sf_open(wav.c_str(), SFM_READ, &info);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(info.samplerate, 44100);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_GT(info.frames, 44100 * 60 * 4);
    sf_close(in);
}

// The figures of one "--levels" line that starts with `label`: its last two
// numbers, peak and RMS in dBFS; empty when there is no such line.
std::vector<double> levels_line(const std::string& text, const std::string& label) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(label, 0) != 0) continue;
        std::istringstream words(line.substr(label.size()));
        std::vector<double> numbers;
        for (std::string word; words >> word;) {
            char* end = nullptr;
            const double v = std::strtod(word.c_str(), &end);
            if (end != word.c_str() && *end == '\0') numbers.push_back(v);
        }
        if (numbers.size() >= 2) return {numbers[numbers.size() - 2], numbers.back()};
    }
    return {};
}

TEST(MusicCommand, LevelsCoverEveryStretchOfTheShowAndItsLastSecond) {
    scratch_dir dir;
    ASSERT_EQ(run_kit("'" + (dir / "muska.xm").string() + "' --levels", dir), 0);
    std::ifstream in(dir / "out");
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const char* stretch :
         {"title ", "obw ", "oneco4 ", "credits ", "greetings ", "oneco3 ", "odistort ", "oneco0 ",
          "houp ", "pinkous ", "oland ", "finale ", "last second before order 67 "}) {
        const std::vector<double> l = levels_line(text, stretch);
        ASSERT_EQ(l.size(), 2u) << stretch << "in:\n" << text;
        // Every stretch has sound, and a peak at or above its RMS.
        EXPECT_GT(l[1], -100) << stretch;
        EXPECT_GE(l[0], l[1]) << stretch;
        EXPECT_LE(l[0], 0) << stretch;
    }
}

TEST(MusicCommand, FailsOnAnUnwritableFileOrMissingArgument) {
    scratch_dir dir;
    EXPECT_EQ(run_kit("'" + (dir / "no" / "such" / "dir.xm").string() + "'", dir), 1);
    EXPECT_NE(run_kit("", dir), 0);
}

} // namespace
} // namespace vilora
