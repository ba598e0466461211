#include "platform/sound/sound.h"

#include "tests/support/test_display.h"
#include "tests/support/test_module.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

namespace vilora {
namespace {

using testing::cue_note;
using testing::test_module_plan;

struct received_cue {
    uint32_t data;
    uint32_t position; // what music_position said when the cue arrived
};

struct cue_log {
    std::mutex lock;
    std::vector<received_cue> cues;
    music_handle music = 0;
    std::thread::id thread;
};

void record_cue(sync_handle, music_handle music, uint32_t data, void* user) {
    auto* log = static_cast<cue_log*>(user);
    std::lock_guard guard(log->lock);
    log->cues.push_back({data, music_position(music)});
    log->thread = std::this_thread::get_id();
}

uint16_t order_of(uint32_t position) {
    return static_cast<uint16_t>(position & 0xFFFF);
}
uint16_t row_of(uint32_t position) {
    return static_cast<uint16_t>(position >> 16);
}

class Sound : public ::testing::Test {
protected:
    void TearDown() override { sound_shutdown(); }
    music_handle load(const test_module_plan& plan) {
        const std::vector<uint8_t> bytes = testing::test_module_bytes(plan);
        return music_load(bytes.data(), bytes.size());
    }

    testing::host_scope scope;
};

TEST_F(Sound, OfflineTheModuleMovesOneRowPerShowFrame) {
    ASSERT_TRUE(sound_init(sound_offline_device, sound_frequency));
    music_handle music = load({.orders = 3, .rows = 16});
    ASSERT_NE(music, 0u);
    ASSERT_TRUE(sound_start());
    ASSERT_TRUE(music_play(music));
    EXPECT_EQ(music_position(music), 0u);
    std::vector<int16_t> audio;
    for (int frame = 1; frame < 48; ++frame) {
        ASSERT_TRUE(music_advance(music, 2646, audio));
        ASSERT_EQ(audio.size(), 2646u * 2);
        const uint32_t position = music_position(music);
        EXPECT_EQ(order_of(position), frame / 16) << frame;
        EXPECT_EQ(row_of(position), frame % 16) << frame;
    }
    EXPECT_FALSE(music_ended(music));
    ASSERT_TRUE(music_advance(music, 2646, audio));
    EXPECT_TRUE(music_ended(music)) << "the module does not start over";
}

TEST_F(Sound, CuesCarryTheNoteVolumeWhenTheNoteIsHeard) {
    ASSERT_TRUE(sound_init(sound_offline_device, sound_frequency));
    music_handle music =
        load({.orders = 2, .rows = 16, .cues = {{0, 2, 1}, {0, 5, 0}, {1, 0, -1}, {1, 3, 2}}});
    cue_log log;
    ASSERT_NE(music_set_sync(music, sync_instrument, 0xFFFF0040u, record_cue, &log), 0u);
    sound_start();
    music_play(music);
    std::vector<int16_t> audio;
    for (int frame = 0; frame < 32; ++frame) music_advance(music, 2646, audio);

    ASSERT_EQ(log.cues.size(), 4u);
    const uint32_t c4 = testing::kit_note_c4;
    EXPECT_EQ(log.cues[0].data, c4 | 1u << 16);
    EXPECT_EQ(log.cues[1].data, c4 | 0u << 16);
    EXPECT_EQ(log.cues[2].data, c4 | uint32_t{testing::cue_default_volume} << 16)
        << "without a volume column the sample's default volume";
    EXPECT_EQ(log.cues[3].data, c4 | 2u << 16);
    // Each cue arrives when its row is what is heard.
    EXPECT_EQ(log.cues[0].position, 2u << 16);
    EXPECT_EQ(log.cues[1].position, 5u << 16);
    EXPECT_EQ(log.cues[2].position, 1u);
    EXPECT_EQ(log.cues[3].position, 1u | 3u << 16);
}

TEST_F(Sound, OnlyTheWatchedInstrumentAndNoteCue) {
    ASSERT_TRUE(sound_init(sound_offline_device, sound_frequency));
    music_handle music = load({.orders = 1, .rows = 16, .cues = {{0, 1, 7}}});
    cue_log any_of_one, note_d4;
    music_set_sync(music, sync_instrument, 0xFFFF0001u, record_cue, &any_of_one);
    music_set_sync(music, sync_instrument, (testing::kit_note_c4 + 2) << 16 | 64u, record_cue,
                   &note_d4);
    sound_start();
    music_play(music);
    std::vector<int16_t> audio;
    for (int frame = 0; frame < 16; ++frame) music_advance(music, 2646, audio);
    EXPECT_EQ(any_of_one.cues.size(), 4u) << "the beeps of instrument 1 on rows 0, 4, 8, 12";
    EXPECT_TRUE(note_d4.cues.empty()) << "the cue plays C-4, not D-4";
}

TEST_F(Sound, ARowPlayedAgainCuesAgain) {
    ASSERT_TRUE(sound_init(sound_offline_device, sound_frequency));
    // Rows 4..7 of order 0 play three times; the cue on row 5 comes each time.
    music_handle music = load({.orders = 2,
                               .rows = 16,
                               .cues = {{0, 5, 2}},
                               .loop_order = 0,
                               .loop_first = 4,
                               .loop_last = 7,
                               .loop_times = 2});
    cue_log log;
    music_set_sync(music, sync_instrument, 0xFFFF0040u, record_cue, &log);
    sound_start();
    music_play(music);
    std::vector<int16_t> audio;
    std::vector<uint16_t> rows;
    for (int frame = 0; frame < 24; ++frame) {
        rows.push_back(row_of(music_position(music)));
        music_advance(music, 2646, audio);
    }
    EXPECT_EQ(rows, (std::vector<uint16_t>{0, 1, 2, 3, 4, 5, 6,  7,  4,  5,  6,  7,
                                           4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    ASSERT_EQ(log.cues.size(), 3u);
    for (const received_cue& c : log.cues) EXPECT_EQ(c.position, 5u << 16);
    EXPECT_FALSE(music_ended(music)) << "a pattern loop is no end";
}

TEST_F(Sound, TheSilentDevicePlaysInRealTimeAndCuesOnItsOwnThread) {
    EXPECT_FALSE(sound_init(sound_default_device, sound_frequency))
        << "the headless host has no sound device";
    ASSERT_TRUE(sound_init(sound_silent_device, sound_frequency));
    music_handle music = load({.orders = 2, .rows = 16, .cues = {{0, 3, 1}}});
    cue_log log;
    music_set_sync(music, sync_instrument, 0xFFFF0040u, record_cue, &log);
    sound_start();
    music_play(music);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const uint32_t position = music_position(music);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // One row per 60 ms; allow for a slow machine.
    const int expected_row = static_cast<int>(seconds / 0.06);
    EXPECT_EQ(order_of(position), 0);
    EXPECT_GE(row_of(position), 4);
    EXPECT_LE(row_of(position), expected_row + 1);
    std::lock_guard guard(log.lock);
    ASSERT_EQ(log.cues.size(), 1u);
    EXPECT_EQ(log.cues[0].data >> 16, 1u);
    EXPECT_NE(log.thread, std::this_thread::get_id());
    EXPECT_TRUE(sound_stop());
}

// Speed 3 at tempo 125: a row is 3 ticks of 20 ms. From order 2 the speed is
// 12, so those orders' rows take four times as long.
TEST_F(Sound, OrdersAreTimedWithTheirSpeed) {
    ASSERT_TRUE(sound_init(sound_offline_device, sound_frequency));
    music_handle music = load({.orders = 4, .rows = 8, .slow_order = 2, .slow_speed = 12});
    ASSERT_NE(music, 0u);
    EXPECT_EQ(music_channel_count(music), 2);
    const double expected[] = {0, 480, 960, 2880, 4800};
    for (int order = 0; order <= 4; ++order)
        EXPECT_NEAR(music_order_time(music, order), expected[order], 1.0) << order;
    EXPECT_EQ(music_order_time(music, 5), -1.0);
    EXPECT_EQ(music_order_time(music, -1), -1.0);
    EXPECT_EQ(music_order_time(0, 0), -1.0);
    EXPECT_EQ(music_channel_count(0), 0);
}

TEST_F(Sound, ModulesThatCannotBeLoaded) {
    ASSERT_TRUE(sound_init(sound_offline_device, sound_frequency));
    const std::string text = "not a module at all";
    EXPECT_EQ(music_load(reinterpret_cast<const uint8_t*>(text.data()), text.size()), 0u);
    EXPECT_EQ(music_load(nullptr, 0), 0u);
    EXPECT_EQ(music_position(0), 0xFFFFFFFFu);
    EXPECT_FALSE(music_play(0));
    EXPECT_FALSE(sound_init(sound_offline_device, sound_frequency)) << "already initialised";
}

} // namespace
} // namespace vilora

namespace vilora {
namespace {

// A tempo of 0 makes every tick of the player silent and empty; the clock
// would never move and looking ahead for cues would never return.
TEST(SoundModule, ATempoOfZeroEndsTheModuleInsteadOfStoppingTheClock) {
    ASSERT_TRUE(sound_init(sound_offline_device, sound_frequency));
    kit::xm_module module = testing::make_test_module({.orders = 2, .rows = 8});
    module.tempo = 0;
    const std::vector<uint8_t> bytes = kit::xm_file(module);
    const music_handle music = music_load(bytes.data(), bytes.size());
    if (music != 0) {
        sound_start();
        music_play(music);
        int cues = 0;
        music_set_sync(
            music, sync_instrument, 0xFFFF0040u,
            [](sync_handle, music_handle, uint32_t, void* user) { ++*static_cast<int*>(user); },
            &cues);
        std::vector<int16_t> audio;
        EXPECT_TRUE(music_advance(music, 2646, audio));
        EXPECT_TRUE(music_ended(music));
        EXPECT_EQ(audio.size(), 2646u * 2);
    }
    sound_shutdown();
}

} // namespace
} // namespace vilora
