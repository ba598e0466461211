#include "driver/frame_clock.h"

#include "platform/hosts/headless_host.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace vilora {
namespace {

// A host whose clock the test moves; sleeping jumps to the tick asked for.
class manual_clock_host : public headless_host {
public:
    uint32_t tick_count() override { return now; }
    void sleep_until_tick(uint32_t tick) override {
        sleeps.push_back(tick);
        if (static_cast<int32_t>(tick - now) > 0) now = tick;
    }
    uint32_t now = 0;
    std::vector<uint32_t> sleeps;
};

class FrameClock : public ::testing::Test {
protected:
    void SetUp() override {
        auto owned = std::make_unique<manual_clock_host>();
        host_ = owned.get();
        previous_ = set_host(std::move(owned));
    }
    void TearDown() override { set_host(std::move(previous_)); }

    // One frame of the timeline: the parts draw for `drawing` ms, the clock waits,
    // the present takes `presenting` ms. Returns the tick at which it was presented.
    uint32_t play_frame(frame_clock& clock, uint32_t drawing, uint32_t presenting,
                        bool after_pause = false) {
        clock.begin_frame(after_pause);
        starts.push_back(clock.start_tick + static_cast<uint32_t>(clock.frame_time * 1000 + 0.5));
        host_->now += drawing;
        clock.wait_for_frame_end();
        const uint32_t presented = host_->now;
        host_->now += presenting;
        return presented;
    }

    manual_clock_host* host_ = nullptr;
    std::vector<uint32_t> starts;

private:
    std::unique_ptr<host_system> previous_;
};

TEST_F(FrameClock, MeasuresAcrossTheTickCounterWrap) {
    host_->now = 0xFFFFFF00u;
    frame_clock clock;
    EXPECT_EQ(clock.start_tick, 0xFFFFFF00u);
    host_->now = 0x00000064u; // 356 ms later, after the wrap
    EXPECT_DOUBLE_EQ(clock.seconds_since_start(), 0.356);
}

TEST_F(FrameClock, KeepsTheBeatWhatTheSevenMillisecondPresentCosts) {
    host_->now = 1000;
    frame_clock clock;
    // 85 ms in: there 0.145 - 0.085 seconds come to less than 60 ms in doubles,
    // and a wait on seconds would make the frame a tick longer.
    host_->now = 1085;
    std::vector<uint32_t> presents;
    for (int i = 0; i < 8; ++i) presents.push_back(play_frame(clock, 20, 7));
    for (uint32_t i = 0; i < 8; ++i) {
        EXPECT_EQ(starts[i], 1085 + 60 * i) << "frame " << i;
        EXPECT_EQ(presents[i], 1145 + 60 * i) << "frame " << i;
    }
    // One sleep per frame, to its deadline: no polling towards it.
    ASSERT_EQ(host_->sleeps.size(), 8u);
    for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(host_->sleeps[i], 1145 + 60 * i);
}

TEST_F(FrameClock, ASlowFrameIsPresentedRightAfterDrawingAndTheBeatGoesOnFromThere) {
    host_->now = 0xFFFFFFC0u; // the beat crosses the wrap of the tick counter
    frame_clock clock;
    EXPECT_EQ(play_frame(clock, 10, 7), 0xFFFFFFC0u + 60);
    const uint32_t slow_start = 0xFFFFFFC0u + 60;
    // 7 ms of present and 85 of drawing: 32 ms late, presented without a wait.
    EXPECT_EQ(play_frame(clock, 85, 7), slow_start + 92);
    EXPECT_EQ(host_->sleeps.size(), 1u);
    EXPECT_EQ(play_frame(clock, 10, 7), slow_start + 92 + 60);
    EXPECT_EQ(starts[2], slow_start + 92) << "the next frame starts at the late present";
}

TEST_F(FrameClock, APresentLongerThanAPeriodOrAPauseStartsTheFrameNow) {
    frame_clock clock;
    EXPECT_EQ(play_frame(clock, 5, 75), 60u);
    EXPECT_EQ(play_frame(clock, 5, 7), 195u);
    EXPECT_EQ(starts[1], 135u) << "a frame never starts a whole period in the past";

    host_->now += 40; // paused for less than a period: still a fresh start
    play_frame(clock, 5, 7, true);
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_EQ(starts[2], 242u);
}

// A browser page looks once per display refresh (about 16.7 ms) and never
// sleeps: each frame is presented at the first look past its 60 ms, and the
// next one starts where the 60 ms ended, so that the beat holds on average.
TEST_F(FrameClock, PolledAtEveryRefreshTheFramesKeepTheirBeat) {
    host_->now = 1000;
    frame_clock clock;
    const uint32_t refreshes[] = {17, 17, 16};
    std::vector<uint32_t> presents;
    size_t refresh = 0;
    for (int frame = 0; frame < 10; ++frame) {
        clock.begin_frame();
        starts.push_back(clock.start_tick + static_cast<uint32_t>(clock.frame_time * 1000 + 0.5));
        while (!clock.frame_end_reached()) host_->now += refreshes[refresh++ % 3];
        presents.push_back(host_->now);
    }
    EXPECT_TRUE(host_->sleeps.empty()) << "polling never sleeps";
    for (uint32_t i = 0; i < 10; ++i) {
        EXPECT_EQ(starts[i], 1000 + 60 * i) << "frame " << i;
        EXPECT_GE(presents[i], 1060 + 60 * i) << "frame " << i;
        EXPECT_LT(presents[i], 1060 + 60 * i + 17) << "frame " << i;
    }

    host_->now += 200; // a tab in the background: the page looked no more
    clock.begin_frame();
    EXPECT_DOUBLE_EQ(clock.frame_time, (presents.back() + 200 - 1000) * 0.001)
        << "after a whole period the frame starts now";
}

} // namespace
} // namespace vilora
