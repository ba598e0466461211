// What vilora and vilora-kit write, run as a user runs them: captures go into
// empty or new directories, nothing is left under a final name after a write
// fails, every failure names its file and cause, and neither a signal from a
// closed terminal nor a closed pipe ends a job early or silently.
#include "driver/screenshot.h"
#include "platform/hosts/image_files.h"

#include "tests/library/library_test_support.h"
#include "tests/support/external_tools.h"
#include "tests/support/small_disk.h"
#include "tests/support/video_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <sstream>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vilora {
namespace {

using namespace vilora::testing;
namespace fs = std::filesystem;

struct outcome {
    int status = -1; // -1: ended by a signal
    std::string err;
};

class OutputFaults : public ::testing::Test {
protected:
    // `arguments` for the shell after the program; stdout is dropped unless
    // the arguments send it elsewhere.
    outcome vilora(const std::string& arguments, const std::string& err_name = "stderr") {
        return shell(quoted(VILORA) + " --data " + quoted(VILORA_DATA_DIR) + " " + arguments,
                     err_name);
    }
    outcome kit(const std::string& arguments) {
        return shell(quoted(VILORA_KIT) + " " + arguments);
    }
    outcome shell(const std::string& command, const std::string& err_name = "stderr") {
        const fs::path err = dir / err_name;
        const run_result r = run("{ " + command + " ; } >/dev/null 2>" + quoted(err.string()));
        const auto bytes = read_bytes(err);
        std::string text(bytes.begin(), bytes.end());
        // The leak checker's note on the suppressions it used is not the program's.
        const size_t note =
            text.find("-----------------------------------------------------\nSuppressions used:");
        return {r.status, text.substr(0, note)};
    }
    static std::string text_of(const fs::path& file) {
        const auto bytes = read_bytes(file);
        return std::string(bytes.begin(), bytes.end());
    }
    static bool any_temporary(const fs::path& where) {
        for (const auto& entry : fs::recursive_directory_iterator(where))
            if (entry.path().extension() == ".part") return true;
        return false;
    }
    static void expect_mentions(const outcome& result, const std::string& text) {
        EXPECT_NE(result.err.find(text), std::string::npos) << "wanted: " << text << "\n"
                                                            << result.err;
    }

    scratch_dir dir;
    // A short stretch of the show: order 66 to the end.
    const std::string short_run = "--start 66 --seed 1 ";
};

TEST_F(OutputFaults, ACaptureGoesIntoAnEmptyOrNewDirectoryOnly) {
    const fs::path capture = dir / "c";
    ASSERT_EQ(vilora(short_run + "--every 10 --capture " + quoted(capture.string())).status, 0);
    const std::vector<std::string> first = names_in(capture);
    ASSERT_TRUE(std::count(first.begin(), first.end(), "frame-00010.png"));
    const std::string timeline = text_of(capture / "timeline.tsv");

    outcome again = vilora(short_run + "--every 20 --capture " + quoted(capture.string()));
    EXPECT_EQ(again.status, 2);
    EXPECT_EQ(again.err, "vilora: " + capture.string() +
                             " already holds a capture (audio.wav, timeline.tsv and " +
                             std::to_string(first.size() - 2) +
                             " frames): give --force to replace it\n");
    EXPECT_EQ(names_in(capture), first);

    // --force replaces the earlier capture's files, and only those.
    write_bytes(capture / "notes.txt", bytes_of("mine"));
    ASSERT_EQ(vilora(short_run + "--every 20 --force --capture " + quoted(capture.string())).status,
              0);
    const std::vector<std::string> second = names_in(capture);
    EXPECT_FALSE(std::count(second.begin(), second.end(), "frame-00010.png"));
    EXPECT_TRUE(std::count(second.begin(), second.end(), "frame-00020.png"));
    EXPECT_EQ(text_of(capture / "notes.txt"), "mine");
    EXPECT_EQ(text_of(capture / "timeline.tsv"), timeline) << "the same seed, the same show";

    const fs::path other = dir / "other";
    fs::create_directories(other);
    write_bytes(other / "notes.txt", bytes_of("mine"));
    again = vilora(short_run + "--capture " + quoted(other.string()));
    EXPECT_EQ(again.status, 2);
    EXPECT_EQ(again.err, "vilora: " + other.string() +
                             " is not empty: a capture goes into an empty or new directory "
                             "(--force writes into it all the same)\n");

    // While a run holds the directory, another is refused, forced or not.
    const fs::path held = dir / "held";
    fs::create_directories(held);
    const int lock = ::open(held.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    again = vilora(short_run + "--force --capture " + quoted(held.string()));
    ::close(lock);
    EXPECT_EQ(again.status, 2);
    EXPECT_EQ(again.err, "vilora: " + held.string() + ": another run is writing into it\n");
    EXPECT_TRUE(fs::is_empty(held));
}

TEST_F(OutputFaults, TwoCapturesStartedTogetherNeverMix) {
    const fs::path capture = dir / "both";
    outcome results[2];
    std::thread second([&] {
        results[1] = vilora(short_run + "--capture " + quoted(capture.string()), "second");
    });
    results[0] = vilora("--start 65 --seed 2 --every 7 --capture " + quoted(capture.string()));
    second.join();
    // One of them wrote the capture; the other was refused, whichever came first.
    ASSERT_EQ(std::min(results[0].status, results[1].status), 0)
        << results[0].err << results[1].err;
    ASSERT_EQ(std::max(results[0].status, results[1].status), 2)
        << results[0].err << results[1].err;
    const std::string timeline = text_of(capture / "timeline.tsv");
    const std::string first_line = results[0].status == 0 ? "\n0\t65\t" : "\n0\t66\t";
    EXPECT_NE(timeline.find(first_line), std::string::npos) << "the winner's show";
    // Every line whole, numbered in turn: no line of the other run among them.
    std::istringstream lines(timeline);
    std::string line;
    std::getline(lines, line);
    for (int frame = 0; std::getline(lines, line); ++frame) {
        EXPECT_TRUE(line.starts_with(std::to_string(frame) + "\t")) << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 4) << line;
    }
}

TEST_F(OutputFaults, AFullDiskLeavesNothingUnderAFinalName) {
    small_disk disk(600 * 1024);
    const fs::path capture = disk.path() / "c";
    outcome result =
        shell(disk.limited(quoted(VILORA) + " --data " + quoted(VILORA_DATA_DIR) +
                           " --start 62 --every 5 --capture " + quoted(capture.string())));
    EXPECT_EQ(result.status, 1);
    expect_mentions(result, ": cannot be written: " + std::string(disk.cause()) +
                                "; the unfinished file was removed\n");
    expect_mentions(result, "vilora: the capture in " + capture.string() + " stopped at frame ");
    EXPECT_FALSE(fs::exists(capture / "audio.wav"));
    EXPECT_FALSE(fs::exists(capture / "timeline.tsv"));
    EXPECT_FALSE(any_temporary(disk.path()));
    for (const std::string& name : names_in(capture)) {
        const std::string png = text_of(capture / name);
        EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND") << name << " is whole";
    }
    fs::remove_all(capture);

    const fs::path video = disk.path() / "show.mkv";
    result = shell(disk.limited(quoted(VILORA) + " --data " + quoted(VILORA_DATA_DIR) +
                                " --start 60 --record " + quoted(video.string())));
    EXPECT_EQ(result.status, 1);
    expect_mentions(result, "vilora: " + video.string() + ": cannot be written: ");
    expect_mentions(result, std::string(disk.cause()) + "; the unfinished file was removed\n");
    EXPECT_TRUE(fs::is_empty(disk.path()));

    // An archive made over an earlier one keeps the earlier one through a failure.
    const fs::path archive = disk.path() / "pics.782";
    write_bytes(dir / "small.bmp", pattern_bytes(1000, 1));
    std::vector<uint8_t> noise(2 * 1024 * 1024);
    uint32_t state = 1;
    for (uint8_t& byte : noise)
        byte = static_cast<uint8_t>((state = state * 1103515245 + 12345) >> 24);
    write_bytes(dir / "large.bmp", noise);
    ASSERT_EQ(kit("lib create " + quoted(archive.string()) + " -C " + quoted(dir.path.string()) +
                  " small.bmp")
                  .status,
              0);
    const auto earlier = read_bytes(archive);
    result = shell(disk.limited(quoted(VILORA_KIT) + " lib create " + quoted(archive.string()) +
                                " -C " + quoted(dir.path.string()) + " large.bmp"));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "vilora-kit lib: " + archive.string() + ": cannot be written: " +
                              disk.cause() + "; the unfinished file was removed, the earlier " +
                              archive.string() + " is as it was\n");
    EXPECT_EQ(read_bytes(archive), earlier);

    // The module fits, its rendering (50 MB) does not.
    small_disk music_disk(2 * 1024 * 1024);
    const fs::path module = music_disk.path() / "m.xm", wav = music_disk.path() / "m.wav";
    result = shell(music_disk.limited(quoted(VILORA_KIT) + " make-music " +
                                      quoted(module.string()) + " --wav " + quoted(wav.string())));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "vilora-kit make-music: " + wav.string() + ": cannot be written: " +
                              music_disk.cause() + "; the unfinished file was removed\n");
    EXPECT_EQ(names_in(music_disk.path()), std::vector<std::string>{"m.xm"});
}

TEST_F(OutputFaults, WriteFailuresNameTheFileAndTheCause) {
    write_bytes(dir / "file", bytes_of("a file"));
    const std::string under_file = (dir / "file" / "out").string();
    const std::string missing = (dir / "missing" / "out").string();
    EXPECT_EQ(vilora(short_run + "--capture " + quoted(under_file)).err,
              "vilora: " + under_file + ": cannot be used: Not a directory\n");
    EXPECT_EQ(vilora(short_run + "--record " + quoted(missing + ".mkv")).err,
              "vilora: cannot record " + missing + ".mkv: No such file or directory\n");
    const std::string long_name = (dir / (std::string(300, 'n') + ".xm")).string();
    EXPECT_EQ(kit("make-music " + quoted(long_name)).err,
              "vilora-kit make-music: " + long_name + ": cannot be written: File name too long\n");
    EXPECT_EQ(kit("make-data " + quoted(under_file)).err,
              "vilora-kit make-data: " + under_file + ": cannot be made: Not a directory\n");
    EXPECT_EQ(
        kit("lib create " + quoted(missing + ".782") + " -C " + quoted(dir.path.string()) + " file")
            .err,
        "vilora-kit lib: " + missing + ".782: cannot be written: No such file or directory\n");

    // A screenshot is a pair: when the second cannot be written, neither stays.
    rgb_frame frame{320, 200, std::vector<uint32_t>(320 * 200)};
    uint32_t state = 7;
    for (uint32_t& pixel : frame.pixels) pixel = (state = state * 1103515245 + 12345) >> 8;
    // Room for the plain picture, not for its 4:3 copy.
    small_disk disk(png_file_bytes(frame).size() + 16 * 1024);
    std::string failure;
    {
        small_disk::scope room(disk);
        EXPECT_EQ(write_screenshot(disk.path().string(), frame, 3, failure), "");
    }
    const std::string plain = (disk.path() / "vilora-0001.png").string();
    EXPECT_EQ(failure, (disk.path() / "vilora-0001-960x720.png").string() +
                           ": cannot be written: " + disk.cause() +
                           "; the unfinished file was removed; " + plain + " was removed with it");
    EXPECT_TRUE(fs::is_empty(disk.path()));
    EXPECT_EQ(write_screenshot(dir.path.string(), frame, 3, failure),
              (dir / "vilora-0001.png").string());
    EXPECT_TRUE(fs::exists(dir / "vilora-0001-960x720.png"));
}

TEST_F(OutputFaults, AClosedPipeOrTerminalNeverEndsAJobEarly) {
    // The progress line's reader goes away after ten bytes.
    const fs::path piped = dir / "piped", quiet = dir / "quiet";
    const fs::path status = dir / "status";
    shell("{ " + quoted(VILORA) + " --data " + quoted(VILORA_DATA_DIR) + " " + short_run +
          "--capture " + quoted(piped.string()) + " 2>&1; echo $? >" + quoted(status.string()) +
          "; } | head -c 10");
    EXPECT_EQ(text_of(status), "0\n");
    ASSERT_EQ(vilora(short_run + "--capture " + quoted(quiet.string())).status, 0);
    EXPECT_EQ(text_of(piped / "timeline.tsv"), text_of(quiet / "timeline.tsv"));
    EXPECT_EQ(read_bytes(piped / "audio.wav"), read_bytes(quiet / "audio.wav"));

    // The benchmark's table cannot arrive: a failure, said where it can be, not a signal.
    shell("{ " + quoted(VILORA) + " --data " + quoted(VILORA_DATA_DIR) + " " + short_run +
          "--bench 2>&1; echo $? >" + quoted(status.string()) + "; } | true");
    EXPECT_EQ(text_of(status), "1\n");

    // SIGHUP, the terminal closing, ends a recording as SIGINT does: the file is whole.
    const fs::path video = dir / "show.mkv";
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 2);
        ::execl(VILORA, VILORA, "--data", VILORA_DATA_DIR, "--start", "30", "--record",
                video.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Sent once frames are being recorded into the temporary beside the file.
    const auto recording = [&] {
        for (const auto& entry : fs::directory_iterator(dir.path))
            if (entry.path().extension() == ".part" && entry.file_size() > 256 * 1024) return true;
        return false;
    };
    while (!recording() && ::waitpid(child, nullptr, WNOHANG) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::kill(child, SIGHUP);
    int raw = 0;
    ASSERT_EQ(::waitpid(child, &raw, 0), child);
    ASSERT_TRUE(WIFEXITED(raw)) << "ended by signal " << WTERMSIG(raw);
    EXPECT_EQ(WEXITSTATUS(raw), 0);
    const decoded_video back = read_video(video.string(), 0);
    ASSERT_TRUE(back.ok);
    EXPECT_GT(back.frame_count, 0);
    EXPECT_NEAR(back.duration, static_cast<double>(back.frame_count) * 0.06, 0.07)
        << "the container knows how long it lasts";
    EXPECT_FALSE(any_temporary(dir.path));
}

TEST_F(OutputFaults, OutputLostOnStandardOutputIsAFailure) {
    const std::string archive = quoted(std::string(VILORA_DATA_DIR) + "/dtroid.782");
    const std::string scene = quoted(std::string(VILORA_DATA_DIR) + "/hedge.3ds");
    const std::pair<std::string, std::string> commands[] = {
        {quoted(VILORA) + " --data " + quoted(VILORA_DATA_DIR) + " " + short_run + "--bench",
         "vilora"},
        {quoted(VILORA_KIT) + " lib list " + archive, "vilora-kit lib"},
        {quoted(VILORA_KIT) + " scene " + scene, "vilora-kit scene"},
        {quoted(VILORA_KIT) + " scene --json " + scene, "vilora-kit scene"},
        {quoted(VILORA_KIT) + " make-data --list", "vilora-kit make-data"},
    };
    for (const auto& [command, program] : commands) {
        EXPECT_EQ(shell(command).status, 0) << command;
        const outcome full = shell(command + " >/dev/full");
        EXPECT_EQ(full.status, 1) << command;
        expect_mentions(full, program +
                                  ": the output to standard output was lost: No space left on "
                                  "device\n");
        const outcome closed = shell(command + " >&-");
        EXPECT_EQ(closed.status, 1) << command;
        expect_mentions(closed,
                        program + ": the output to standard output was lost: it is closed\n");
    }
}

} // namespace
} // namespace vilora
