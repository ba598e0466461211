// Moving the music to another position: what is heard next, what the cue
// syncs hear about the notes before it, pausing, and the module's shape.
#include "platform/sound/sound.h"

#include "tests/support/test_display.h"
#include "tests/support/test_module.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

namespace vilora {
namespace {

using testing::test_module_plan;

struct cue_log {
    std::mutex lock;
    std::vector<uint32_t> volumes;
};

void record_volume(sync_handle, music_handle, uint32_t data, void* user) {
    auto* log = static_cast<cue_log*>(user);
    std::lock_guard guard(log->lock);
    log->volumes.push_back(data >> 16);
}

constexpr uint32_t position(uint16_t order, uint16_t row) {
    return order | uint32_t{row} << 16;
}

class SoundSeek : public ::testing::Test {
protected:
    void TearDown() override { sound_shutdown(); }
    // An offline music, playing, with a sync on the cue instrument.
    music_handle play(const test_module_plan& plan) {
        EXPECT_TRUE(sound_init(sound_offline_device, sound_frequency));
        const std::vector<uint8_t> bytes = testing::test_module_bytes(plan);
        const music_handle music = music_load(bytes.data(), bytes.size());
        EXPECT_NE(music, 0u);
        sound_start();
        music_play(music);
        music_set_sync(music, sync_instrument, 0xFFFF0040u, record_volume, &log_);
        return music;
    }
    void advance(music_handle music, int frames) {
        for (int i = 0; i < frames; ++i) music_advance(music, 2646, audio_);
    }

    testing::host_scope scope;
    cue_log log_;
    std::vector<int16_t> audio_;
};

TEST_F(SoundSeek, PlaysOnFromTheNewPositionAndReportsItAtOnce) {
    const music_handle music = play({.orders = 6, .rows = 16});
    advance(music, 5);
    ASSERT_TRUE(music_seek(music, 3, 10));
    EXPECT_EQ(music_position(music), position(3, 10));
    advance(music, 1);
    EXPECT_EQ(music_position(music), position(3, 11));
    advance(music, 6);
    EXPECT_EQ(music_position(music), position(4, 1));

    // Within the order playing.
    ASSERT_TRUE(music_seek(music, 4, 0));
    EXPECT_EQ(music_position(music), position(4, 0));
    advance(music, 2);
    EXPECT_EQ(music_position(music), position(4, 2));

    // Back to rows played already: no end, the module plays on from there.
    ASSERT_TRUE(music_seek(music, 0, 0));
    EXPECT_EQ(music_position(music), position(0, 0));
    advance(music, 17);
    EXPECT_EQ(music_position(music), position(1, 1));
    EXPECT_FALSE(music_ended(music));

    // After the module's end a seek brings it back.
    advance(music, 16 * 6);
    ASSERT_TRUE(music_ended(music));
    ASSERT_TRUE(music_seek(music, 5, 15));
    EXPECT_FALSE(music_ended(music));
    EXPECT_EQ(music_position(music), position(5, 15));
}

TEST_F(SoundSeek, PositionsTheModuleDoesNotHaveChangeNothing) {
    const music_handle music = play({.orders = 3, .rows = 16});
    advance(music, 4);
    EXPECT_FALSE(music_seek(music, 3, 0));
    EXPECT_FALSE(music_seek(music, 1, 16));
    EXPECT_FALSE(music_seek(0, 0, 0));
    EXPECT_EQ(music_position(music), position(0, 4));
    EXPECT_EQ(music_order_count(music), 3);
    EXPECT_EQ(music_rows_in_order(music, 2), 16);
    EXPECT_EQ(music_rows_in_order(music, 3), -1);
    EXPECT_EQ(music_rows_in_order(music, -1), -1);
    EXPECT_EQ(music_order_count(0), 0);
}

TEST_F(SoundSeek, TheSyncsGetTheLastCueUpToTheNewPosition) {
    const music_handle music =
        play({.orders = 6, .rows = 16, .cues = {{0, 0, 0}, {0, 8, 1}, {3, 0, 2}, {3, 9, 0}}});
    advance(music, 2);
    ASSERT_EQ(log_.volumes, (std::vector<uint32_t>{0}));

    ASSERT_TRUE(music_seek(music, 2, 5));
    EXPECT_EQ(log_.volumes.back(), 1u) << "order 0 row 8 was the last cue before order 2";
    ASSERT_TRUE(music_seek(music, 3, 0));
    EXPECT_EQ(log_.volumes.back(), 2u) << "the cue on the row sought to counts";
    ASSERT_TRUE(music_seek(music, 3, 8));
    EXPECT_EQ(log_.volumes.back(), 2u);
    ASSERT_TRUE(music_seek(music, 0, 3));
    EXPECT_EQ(log_.volumes.back(), 0u) << "backwards too";

    // Each seek restores one cue; nothing of the audio skipped arrives later.
    const size_t restored = log_.volumes.size();
    advance(music, 4);
    EXPECT_EQ(log_.volumes.size(), restored);
    advance(music, 2);
    ASSERT_EQ(log_.volumes.size(), restored + 1);
    EXPECT_EQ(log_.volumes.back(), 1u) << "row 8 plays as it comes";
}

TEST_F(SoundSeek, RowsBehindAPatternBreakAreNotCounted) {
    const music_handle music = play({.orders = 3,
                                     .rows = 16,
                                     .cues = {{0, 2, 1}, {0, 12, 2}},
                                     .break_order = 0,
                                     .break_row = 6});
    ASSERT_TRUE(music_seek(music, 1, 0));
    EXPECT_EQ(log_.volumes.back(), 1u) << "row 12 of order 0 is never played";
}

TEST_F(SoundSeek, ThereIsALevelWhileTheBeepSounds) {
    const music_handle music = play({.orders = 1, .rows = 16});
    advance(music, 1);
    const double level = music_level(music);
    EXPECT_GT(level, 0.01);
    EXPECT_LE(level, 1.0);
    EXPECT_EQ(music_level(0), 0.0);
}

TEST_F(SoundSeek, APausedMusicStaysWhereItIsHeardOnTheSilentDevice) {
    ASSERT_TRUE(sound_init(sound_silent_device, sound_frequency));
    const std::vector<uint8_t> bytes = testing::test_module_bytes({.orders = 4, .rows = 16});
    const music_handle music = music_load(bytes.data(), bytes.size());
    sound_start();
    music_play(music);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    ASSERT_TRUE(music_pause(music));
    const uint32_t held = music_position(music);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(music_position(music), held);
    ASSERT_TRUE(music_seek(music, 2, 3));
    EXPECT_EQ(music_position(music), position(2, 3)) << "a seek while paused is heard at once";
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(music_position(music), position(2, 3)) << "and stays held";
    ASSERT_TRUE(music_play(music));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const uint32_t moved = music_position(music);
    EXPECT_EQ(moved & 0xFFFF, 2u);
    EXPECT_GT(moved >> 16, 3u) << "playing on from the position sought";
}

} // namespace
} // namespace vilora
