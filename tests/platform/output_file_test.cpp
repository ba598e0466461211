// Files written whole or not at all: nothing under the target's name until
// every byte is in, an earlier file kept through any failure, no temporary
// left behind, and every failure named with its file and cause.
#include "platform/hosts/image_files.h"
#include "platform/hosts/output_directory.h"
#include "platform/hosts/output_file.h"

#include "tests/support/small_disk.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/file.h>
#include <unistd.h>

namespace vilora {
namespace {

namespace fs = std::filesystem;
using testing::names_in;

class OutputFile : public ::testing::Test {
protected:
    OutputFile() {
        dir = fs::temp_directory_path() /
              ("vilora-output-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~OutputFile() override { fs::remove_all(dir); }

    static std::string text_of(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void put(const fs::path& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }

    fs::path dir;
};

TEST_F(OutputFile, TheTargetChangesOnlyWhenCommitted) {
    const fs::path target = dir / "a.782";
    put(target, "earlier");
    {
        output_file file(target.string());
        ASSERT_TRUE(file.ok()) << file.failure();
        ASSERT_TRUE(file.write("new bytes", 9));
        EXPECT_EQ(text_of(target), "earlier") << "nothing changes before commit";
        EXPECT_EQ(names_in(dir).size(), 2u) << "the temporary lies beside the target";
    } // dropped without commit
    EXPECT_EQ(text_of(target), "earlier");
    EXPECT_EQ(names_in(dir), std::vector<std::string>{"a.782"});

    output_file file(target.string());
    std::fputs("new ", file.stream());
    std::fputs("text", file.stream());
    ASSERT_TRUE(file.commit()) << file.failure();
    EXPECT_EQ(text_of(target), "new text");
    EXPECT_EQ(names_in(dir), std::vector<std::string>{"a.782"});

    // A name at the limit of 255 bytes still has room for its temporary.
    const std::string longest(255, 'n');
    std::string failure;
    ASSERT_TRUE(write_whole_file((dir / longest).string(), "x", 1, failure)) << failure;
    EXPECT_EQ(text_of(dir / longest), "x");
}

TEST_F(OutputFile, LinksNamedByTheUserAreWrittenThroughLinksInADirectoryAreReplaced) {
    fs::create_directories(dir / "elsewhere");
    put(dir / "elsewhere" / "real.xm", "old");
    fs::create_symlink("elsewhere/real.xm", dir / "link.xm");
    std::string failure;
    ASSERT_TRUE(write_whole_file((dir / "link.xm").string(), "new", 3, failure)) << failure;
    EXPECT_TRUE(fs::is_symlink(dir / "link.xm"));
    EXPECT_EQ(text_of(dir / "elsewhere" / "real.xm"), "new");

    // Inside a directory the program owns a link is never followed.
    output_directory out;
    ASSERT_TRUE(out.open((dir / "out").string()));
    fs::create_symlink("../elsewhere/real.xm", dir / "out" / "member.bmp");
    output_file member(out.descriptor(), "member.bmp", "out/member.bmp");
    ASSERT_TRUE(member.write("member", 6) && member.commit()) << member.failure();
    EXPECT_FALSE(fs::is_symlink(dir / "out" / "member.bmp"));
    EXPECT_EQ(text_of(dir / "out" / "member.bmp"), "member");
    EXPECT_EQ(text_of(dir / "elsewhere" / "real.xm"), "new");
}

TEST_F(OutputFile, AFullDiskLeavesTheEarlierFileAndNoTemporary) {
    testing::small_disk disk(256 * 1024);
    const fs::path target = disk.path() / "pics.782";
    put(target, "the earlier archive");
    const std::vector<char> big(1024 * 1024, 'x');
    std::string failure;
    {
        testing::small_disk::scope room(disk);
        EXPECT_FALSE(write_whole_file(target.string(), big.data(), big.size(), failure));
    }
    EXPECT_EQ(text_of(target), "the earlier archive");
    EXPECT_EQ(names_in(disk.path()), std::vector<std::string>{"pics.782"});
    EXPECT_EQ(failure, target.string() + ": cannot be written: " + disk.cause() +
                           "; the unfinished file was removed, the earlier " + target.string() +
                           " is as it was");

    // Text through the stream fails at its flush at the latest, and says so.
    output_file text((disk.path() / "timeline.tsv").string());
    {
        testing::small_disk::scope room(disk);
        for (int line = 0; line < 40000; ++line) std::fputs("0\t1\t2\t3\tobw:0\n", text.stream());
        EXPECT_FALSE(text.commit());
    }
    EXPECT_NE(text.failure().find(disk.cause()), std::string::npos) << text.failure();
    EXPECT_FALSE(fs::exists(disk.path() / "timeline.tsv"));
}

TEST_F(OutputFile, FailuresNameTheFileAndTheSystemsReason) {
    put(dir / "plain", "a file");
    const std::pair<fs::path, std::string> cases[] = {
        {dir / "plain" / "under-a-file.png", "Not a directory"},
        {dir / "missing" / "a.mkv", "No such file or directory"},
        {dir / (std::string(300, 'n') + "/a.wav"), "File name too long"},
        {dir, "Is a directory"},
    };
    for (const auto& [path, cause] : cases) {
        std::string failure;
        EXPECT_FALSE(write_whole_file(path.string(), "x", 1, failure));
        EXPECT_EQ(failure, path.string() + ": cannot be written: " + cause) << path;
    }
    EXPECT_EQ(names_in(dir), std::vector<std::string>{"plain"});
}

TEST_F(OutputFile, ADirectoryIsLockedWhileOneRunWritesIntoIt) {
    output_directory first, second;
    ASSERT_TRUE(first.open((dir / "capture").string()));
    ASSERT_TRUE(first.lock());
    ASSERT_TRUE(second.open((dir / "capture").string()));
    EXPECT_FALSE(second.lock());
    EXPECT_EQ(second.failure(), (dir / "capture").string() + ": another run is writing into it");

    // Nothing is made or followed through a link or a file in the way.
    fs::create_directories(dir / "outside");
    fs::create_directory_symlink("../outside", dir / "capture" / "pics");
    put(dir / "capture" / "file", "");
    std::string failure;
    EXPECT_LT(first.make_below("pics/deeper", failure), 0);
    EXPECT_EQ(failure, first.path() + "/pics: is a symbolic link; nothing is written through it");
    EXPECT_LT(first.make_below("file/deeper", failure), 0);
    EXPECT_NE(failure.find("file: cannot be used: Not a directory"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(dir / "outside"));
    const entry_below found = first.look_up("pics/x.bmp");
    EXPECT_EQ(found.in_the_way, "pics");
    EXPECT_TRUE(found.in_the_way_is_link);
    const int made = first.make_below("a/b", failure);
    ASSERT_GE(made, 0) << failure;
    ::close(made);
    EXPECT_EQ(first.look_up("a/b").what, entry_below::kind::directory);
}

// Two runs started together: the one that made the directory may lose the
// lock to the other, and must then leave the directory to the winner.
TEST_F(OutputFile, ARunRefusedTheLockLeavesTheDirectoryItMade) {
    const fs::path path = dir / "both";
    output_directory maker, winner;
    ASSERT_TRUE(maker.open(path.string()));
    ASSERT_TRUE(winner.open(path.string()));
    ASSERT_TRUE(winner.lock());
    EXPECT_FALSE(maker.lock());
    maker.remove_if_made_and_empty();
    EXPECT_TRUE(fs::is_directory(path)) << "the winner's directory was removed under it";

    output_directory alone;
    ASSERT_TRUE(alone.open((dir / "alone").string()));
    ASSERT_TRUE(alone.lock());
    alone.remove_if_made_and_empty();
    EXPECT_FALSE(fs::exists(dir / "alone")) << "made, held and left empty: it goes again";
}

// Frames of a simple rising pattern, so that a sample out of place shows.
std::vector<int16_t> sound_frames(size_t count, size_t first) {
    std::vector<int16_t> samples(2 * count);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>((2 * first + i) * 7);
    return samples;
}

uint64_t little_endian(const std::string& bytes, size_t at, int size) {
    uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

TEST_F(OutputFile, WavTurnsIntoRf64WhenTheSoundOutgrowsIt) {
    // Below the limit: the same bytes libsndfile writes for a plain WAV.
    const std::vector<int16_t> samples = sound_frames(3000, 0);
    {
        wav_writer plain(std::make_unique<output_file>((dir / "plain.wav").string()), 44100);
        ASSERT_TRUE(plain.write(samples.data(), 3000) && plain.finish()) << plain.failure();
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* direct = sf_open((dir / "direct.wav").c_str(), SFM_WRITE, &info);
        ASSERT_EQ(sf_writef_short(direct, samples.data(), 3000), 3000);
        sf_close(direct);
        EXPECT_EQ(text_of(dir / "plain.wav"), text_of(dir / "direct.wav"));
    }
    // Past it (1000 frames here, 4 GiB in use): RF64, every sample in order.
    wav_writer growing(std::make_unique<output_file>((dir / "long.wav").string()), 44100, 1000);
    for (size_t first = 0; first < 3000; first += 700) {
        const size_t count = std::min<size_t>(700, 3000 - first);
        ASSERT_TRUE(growing.write(sound_frames(count, first).data(), count)) << growing.failure();
    }
    ASSERT_TRUE(growing.finish()) << growing.failure();
    EXPECT_EQ(names_in(dir), (std::vector<std::string>{"direct.wav", "long.wav", "plain.wav"}));
    const std::string bytes = text_of(dir / "long.wav");
    ASSERT_GT(bytes.size(), 48u);
    EXPECT_EQ(bytes.substr(0, 4), "RF64");
    EXPECT_EQ(bytes.substr(12, 4), "ds64");
    EXPECT_EQ(little_endian(bytes, 28, 8), 3000u * 4) << "the 64-bit size of the data";
    SF_INFO info{};
    SNDFILE* back = sf_open((dir / "long.wav").c_str(), SFM_READ, &info);
    ASSERT_NE(back, nullptr);
    std::vector<int16_t> read(2 * 3000);
    EXPECT_EQ(sf_readf_short(back, read.data(), 3000), 3000);
    sf_close(back);
    EXPECT_EQ(read, samples);
}

} // namespace
} // namespace vilora
