// Recording the show into a video file, read back with FFmpeg's own decoders:
// the lossless file holds every presented frame scaled to 4:3 by whole pixels
// and every sample of the music, and lasts as long as the show did.
#include "driver/record.h"
#include "driver/show.h"
#include "engine/data_files.h"

#include "tests/support/test_display.h"
#include "tests/support/video_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace vilora {
namespace {

namespace fs = std::filesystem;

// Keeps what the show hands the recorder, and passes it on.
class kept_show : public show_observer {
public:
    explicit kept_show(record_writer& recorder) : recorder_(recorder) {}
    void audio_played(const std::vector<int16_t>& audio) override {
        this->audio.insert(this->audio.end(), audio.begin(), audio.end());
        recorder_.audio_played(audio);
    }
    void frame_done(const frame_record& record) override {
        frames.push_back(record);
        recorder_.frame_done(record);
    }
    std::vector<int16_t> audio;
    std::vector<frame_record> frames;
    std::vector<rgb_frame> presented;

private:
    record_writer& recorder_;
};

// Each pixel as a factor x factor block.
rgb_frame blocks(const rgb_frame& frame, int factor) {
    rgb_frame out{frame.width * factor, frame.height * factor, {}};
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.pixels.push_back(
                frame.pixels[static_cast<size_t>(y / factor * frame.width + x / factor)]);
    return out;
}

fs::path temporary(const std::string& name) {
    return fs::temp_directory_path() / ("vilora-record-" + std::to_string(getpid()) + name);
}

TEST(Record, TheEndOfTheShowAsLosslessVideoWithItsSound) {
    const fs::path path = temporary(".mkv");
    set_data_directory(VILORA_DATA_DIR);
    record_writer recorder(path.string(), 3, 320, 240);
    ASSERT_TRUE(recorder.ok()) << recorder.error();
    kept_show kept(recorder);
    testing::host_scope scope(std::make_unique<headless_host>([&](const rgb_frame& frame) {
        if (kept.presented.size() < 4) kept.presented.push_back(frame);
        recorder.frame_presented(frame);
    }));
    app_window window;
    show_state state;
    state.options.kind = run_kind::record;
    state.options.seed = 1;
    state.options.start = show_position{66, 40};
    state.roster = &built_in_parts();
    state.window = &window;
    state.observer = &kept;
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(run_show(state), 0);
    finish_show(state);
    ASSERT_TRUE(recorder.finish()) << recorder.error();
    ::testing::internal::GetCapturedStderr();

    ASSERT_GT(kept.frames.size(), 10u);
    EXPECT_EQ(kept.frames.front().order, 66);
    EXPECT_EQ(kept.frames.front().row, 40);
    EXPECT_EQ(recorder.frames(), kept.frames.size());

    const testing::decoded_video video = testing::read_video(path.string(), 4);
    fs::remove(path);
    ASSERT_TRUE(video.ok);
    EXPECT_EQ(video.video_codec, "ffv1");
    EXPECT_EQ(video.audio_codec, "flac");
    EXPECT_EQ(video.width, 960);
    EXPECT_EQ(video.height, 720);
    const auto frames = static_cast<int64_t>(kept.frames.size());
    EXPECT_EQ(video.frame_count, frames);
    EXPECT_NEAR(video.duration, static_cast<double>(frames) * 0.06, 0.06);
    ASSERT_EQ(video.frame_times.size(), kept.frames.size());
    for (size_t i = 0; i < video.frame_times.size(); ++i)
        ASSERT_NEAR(video.frame_times[i], static_cast<double>(i) * 0.06, 0.0011) << "frame " << i;
    ASSERT_EQ(video.first_frames.size(), kept.presented.size());
    for (size_t i = 0; i < kept.presented.size(); ++i)
        EXPECT_TRUE(video.first_frames[i].pixels == blocks(kept.presented[i], 3).pixels)
            << "frame " << i;

    EXPECT_EQ(video.sample_rate, 44100);
    EXPECT_EQ(video.audio_frames, frames * 2646);
    EXPECT_TRUE(video.audio == kept.audio) << "FLAC gives back every sample";
}

TEST(Record, FilesThatCannotBeMadeSaySo) {
    record_writer no_codecs(temporary(".avi").string(), 3, 320, 240);
    EXPECT_FALSE(no_codecs.ok());
    EXPECT_NE(no_codecs.error().find(".mkv, .mp4 or .webm"), std::string::npos)
        << no_codecs.error();
    EXPECT_FALSE(no_codecs.finish());

    record_writer no_folder("/nonexistent/folder/show.mkv", 3, 320, 240);
    EXPECT_FALSE(no_folder.ok());
    EXPECT_EQ(no_folder.error(), "No such file or directory");

    // A frame of another size is refused, and the refusal sticks.
    const fs::path path = temporary("-small.mkv");
    record_writer small(path.string(), 1, 320, 200);
    ASSERT_TRUE(small.ok()) << small.error();
    small.frame_presented(rgb_frame{16, 16, std::vector<uint32_t>(256)});
    EXPECT_FALSE(small.ok());
    EXPECT_FALSE(small.finish());
    fs::remove(path);

    // Nothing lies under the name before the file is finished, and a run that
    // never started leaves nothing beside it either.
    const fs::path unused = temporary("-unused.mkv");
    const auto files_here = [&] {
        size_t count = 0;
        for (const auto& entry : fs::directory_iterator(unused.parent_path()))
            count += entry.path().filename().string().starts_with(unused.filename().string());
        return count;
    };
    record_writer never(unused.string(), 1, 320, 240);
    ASSERT_TRUE(never.ok()) << never.error();
    EXPECT_FALSE(fs::exists(unused));
    EXPECT_EQ(files_here(), 1u) << "the temporary beside it";
    never.discard();
    EXPECT_EQ(files_here(), 0u);
}

} // namespace
} // namespace vilora
