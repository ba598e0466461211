// The frame loop one pass at a time, as a browser page runs it: a pass never
// waits; a drawn frame waits across passes for the end of its 60 ms, and the
// show ends as it does when the loop runs by itself.
#include "driver/timeline.h"

#include "tests/driver/show_fixture.h"

#include <gtest/gtest.h>

namespace vilora {
namespace {

// A headless host whose clock only the test moves; it never sleeps.
class manual_clock_host : public headless_host {
public:
    uint32_t tick_count() override { return now; }
    void sleep_until_tick(uint32_t) override { ++sleeps; }
    uint32_t now = 1000;
    int sleeps = 0;
};

class TimelineLoop : public show_fixture {};

TEST_F(TimelineLoop, WithoutWaitingADrawnFrameWaitsAcrossPassesForItsSixtyMilliseconds) {
    auto owned = std::make_unique<manual_clock_host>();
    manual_clock_host* host = owned.get();
    testing::host_scope clock_scope(std::move(owned));
    journal.host = host;
    state.options.kind = run_kind::show;
    music({.orders = 2, .rows = 16});
    ::testing::internal::CaptureStderr(); // the headless host has no sound device
    ASSERT_FALSE(start_show(state).has_value());
    ::testing::internal::GetCapturedStderr();

    timeline_loop loop(state);
    using result = timeline_loop::pass_result;
    EXPECT_EQ(loop.pass(false), result::frame_waiting);
    EXPECT_EQ(journal.runs.size(), 1u) << "the first frame is drawn";
    EXPECT_EQ(host->frames_presented, 0);
    host->now += 59;
    EXPECT_EQ(loop.pass(false), result::frame_waiting);
    EXPECT_EQ(host->frames_presented, 0);
    EXPECT_EQ(journal.runs.size(), 1u) << "nothing more is drawn while a frame waits";

    host->now += 1;
    EXPECT_EQ(loop.pass(false), result::frame_waiting);
    EXPECT_EQ(host->frames_presented, 1);
    EXPECT_EQ(journal.runs.size(), 2u) << "presented at 60 ms, and the next frame drawn";

    host->now += 77; // looked at 17 ms late
    EXPECT_EQ(loop.pass(false), result::frame_waiting);
    EXPECT_EQ(host->frames_presented, 2);
    EXPECT_DOUBLE_EQ(state.clock->frame_time, 0.120) << "the third frame keeps the beat";
    EXPECT_EQ(host->sleeps, 0);

    host->post_event({host_event::kind::key_down, key_escape});
    host->now += 60;
    result last = result::running;
    for (int pass = 0; pass < 4 && last != result::ended; ++pass) last = loop.pass(false);
    EXPECT_EQ(last, result::ended) << "Escape ends the loop";
    EXPECT_EQ(host->frames_presented, 3) << "the frame drawn before Escape is still shown";
    finish_show(state); // while the host the window lives on is still there
}

} // namespace
} // namespace vilora
