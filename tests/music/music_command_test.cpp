// vilora-kit make-music, run as a program the way the build runs it.
#include "kit/music/music_module.h"
#include "tests/library/library_test_support.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdlib>
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

TEST(MusicCommand, FailsOnAnUnwritableFileOrMissingArgument) {
    scratch_dir dir;
    EXPECT_EQ(run_kit("'" + (dir / "no" / "such" / "dir.xm").string() + "'", dir), 1);
    EXPECT_NE(run_kit("", dir), 0);
}

} // namespace
} // namespace vilora
