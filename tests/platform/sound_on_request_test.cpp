// A sound device that asks for audio itself, as a browser page's audio
// worklet does: no feeder thread, the queue topped up and the cues handed out
// on the caller's thread whenever the device has played some.
#include "platform/sound/sound.h"

#include "tests/support/test_display.h"
#include "tests/support/test_module.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace vilora {
namespace {

// Plays what the test tells it to, then asks for more, like the page's sink.
class requesting_output : public audio_output {
public:
    void start() override { playing = true; }
    void pause() override { playing = false; }
    void stop() override { playing = false; }
    void discard_queued() override { heard = queued; }
    void queue(const int16_t*, size_t count) override { queued += count; }
    uint64_t frames_heard() override { return heard; }
    uint64_t frames_queued() override { return queued; }
    bool ask_for_audio(std::function<void()> request) override {
        refill = std::move(request);
        return true;
    }
    uint64_t frames_ahead() const override { return lead; }

    // `frames` more were played; then the request, as the worklet's report brings it.
    void play(uint64_t frames) {
        heard = std::min(queued, heard + frames);
        if (refill) refill();
    }

    static constexpr uint64_t lead = 8192;
    bool playing = false;
    uint64_t heard = 0;
    uint64_t queued = 0;
    std::function<void()> refill;
};

class requesting_host : public headless_host {
public:
    std::unique_ptr<audio_output> open_audio(int) override {
        auto output = std::make_unique<requesting_output>();
        device = output.get();
        return output;
    }
    requesting_output* device = nullptr; // owned by the sound layer
};

struct cue_seen {
    uint32_t data;
    uint32_t position;
    std::thread::id thread;
};

void note_cue(sync_handle, music_handle music, uint32_t data, void* user) {
    static_cast<std::vector<cue_seen>*>(user)->push_back(
        {data, music_position(music), std::this_thread::get_id()});
}

class SoundOnRequest : public ::testing::Test {
protected:
    void SetUp() override {
        auto owned = std::make_unique<requesting_host>();
        host = owned.get();
        scope = std::make_unique<testing::host_scope>(std::move(owned));
        ASSERT_TRUE(sound_init(sound_default_device, sound_frequency));
        device = host->device;
        ASSERT_NE(device, nullptr);
        const std::vector<uint8_t> bytes =
            testing::test_module_bytes({.orders = 4, .rows = 16, .cues = {{0, 3, 1}, {2, 5, 2}}});
        music = music_load(bytes.data(), bytes.size());
        ASSERT_NE(music, 0u);
        ASSERT_TRUE(sound_start());
    }
    void TearDown() override {
        sound_shutdown();
        scope.reset();
    }

    requesting_host* host = nullptr;
    std::unique_ptr<testing::host_scope> scope;
    requesting_output* device = nullptr;
    music_handle music = 0;
};

TEST_F(SoundOnRequest, TheDeviceIsFedOnTheCallersThreadAndTheClockFollowsWhatItPlayed) {
    std::vector<cue_seen> cues;
    music_set_sync(music, sync_instrument, 0xFFFF0040u, note_cue, &cues);
    ASSERT_TRUE(music_play(music));
    EXPECT_TRUE(device->playing);
    EXPECT_GE(device->queued, requesting_output::lead) << "queued before it starts playing";

    // A row lasts 2646 frames (60 ms); the worklet plays 128 at a time.
    for (uint64_t played = 0; played < 3 * 2646 + 100; played += 128) {
        device->play(128);
        EXPECT_GE(device->queued, device->heard + requesting_output::lead) << played;
    }
    EXPECT_EQ(music_position(music), 3u << 16) << "row 3 is heard";
    ASSERT_EQ(cues.size(), 1u);
    EXPECT_EQ(cues[0].data >> 16, 1u);
    EXPECT_EQ(cues[0].position, 3u << 16) << "the cue comes when its row is heard";
    EXPECT_EQ(cues[0].thread, std::this_thread::get_id()) << "no thread of the sound layer";
}

TEST_F(SoundOnRequest, ASeekRefillsAtOnceAndFreeingTheMusicEndsTheRequests) {
    std::vector<cue_seen> cues;
    music_set_sync(music, sync_instrument, 0xFFFF0040u, note_cue, &cues);
    music_play(music);
    device->play(1000);
    ASSERT_TRUE(music_seek(music, 2, 8));
    EXPECT_EQ(device->heard, device->queued - requesting_output::lead)
        << "what was queued counts as heard, and the lead is queued again from the new place";
    EXPECT_EQ(music_position(music), 2u | 8u << 16);
    ASSERT_FALSE(cues.empty());
    EXPECT_EQ(cues.back().data >> 16, 2u) << "the cue of row 2:5, the last before 2:8";

    ASSERT_TRUE(music_free(music));
    EXPECT_FALSE(device->refill) << "a freed music asks nothing more of the device";
}

} // namespace
} // namespace vilora
