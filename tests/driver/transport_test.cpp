// The transport keys, sent as host events through the window system: jumps
// keep the music and the cue variant where the timeline expects them, a pause
// holds music and picture together, "." steps one frame, the overlay stays
// out of the frames and F12 writes its screenshots.
#include "tests/driver/show_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace vilora {
namespace {

namespace fs = std::filesystem;

class Transport : public show_fixture {
protected:
    // Posts `key` from another thread after `milliseconds`, while the show
    // stands still and nothing of its own could.
    void post_later(int key, int milliseconds) {
        posters_.emplace_back([this, key, milliseconds] {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
            scope.host->post_event({host_event::kind::key_down, key});
        });
    }
    void TearDown() override {
        for (std::thread& t : posters_) t.join();
        show_fixture::TearDown();
    }
    std::vector<std::thread> posters_;
};

std::vector<uint16_t> orders_of(const std::vector<frame_record>& frames) {
    std::vector<uint16_t> orders;
    for (const frame_record& f : frames) orders.push_back(f.order);
    return orders;
}

TEST_F(Transport, JumpsMoveTheMusicAndTheCueVariantWithIt) {
    music({.orders = 70, .rows = 4, .cues = {{0, 1, 1}, {26, 2, 2}, {28, 0, 0}}});
    frame_journal frames;
    state.observer = &frames;
    // One key is taken per frame: each moves the next frame.
    journal.keys_after_runs[2] = {key_left};
    journal.keys_after_runs[3] = {key_right};
    journal.keys_after_runs[5] = {key_page_down, key_page_down, key_page_down, key_page_down,
                                  key_page_down, key_page_down, key_right,     key_right};
    journal.keys_after_runs[15] = {key_left, key_page_up};
    journal.escape_after_runs = 20;
    ASSERT_EQ(run(), 0);
    const std::vector<frame_record>& f = frames.frames;
    ASSERT_EQ(f.size(), 20u);

    EXPECT_EQ(f[1].row, 1);
    EXPECT_EQ(f[1].variant, 1);
    EXPECT_EQ(f[2].order, 0) << "Left on order 0 goes to its start";
    EXPECT_EQ(f[2].row, 0);
    EXPECT_EQ(f[2].variant, 0) << "no cue before 0:0: the variant the show starts with";
    EXPECT_EQ(f[2].calls, (std::vector<part_call>{{part_id::otitulek, 5}}));
    EXPECT_EQ(f[3].order, 1);
    EXPECT_EQ(f[3].row, 0);
    EXPECT_EQ(orders_of(f), (std::vector<uint16_t>{0,  0,  0,  1,  1,  5,  9,  13, 17, 21,
                                                   25, 26, 27, 27, 27, 26, 22, 22, 22, 22}));
    const frame_record& at27 = f[12];
    EXPECT_EQ(at27.row, 0);
    EXPECT_EQ(at27.variant, 2) << "the cue of 26:2 holds at order 27";
    EXPECT_EQ(at27.calls, (std::vector<part_call>{{part_id::oneco2, 0}}));
    const frame_record& back_at26 = f[15];
    EXPECT_EQ(back_at26.row, 0);
    EXPECT_EQ(back_at26.variant, 1) << "before 26:2 the last cue was 0:1's";
    EXPECT_EQ(back_at26.calls, (std::vector<part_call>{{part_id::ogreety, 1}}));
    EXPECT_EQ(f[17].row, 1) << "the music plays on from a jump";
}

TEST_F(Transport, JumpsStayWithinTheShow) {
    music({.orders = 70, .rows = 2});
    state.options.start = show_position{65, 0};
    frame_journal frames;
    state.observer = &frames;
    journal.keys_after_runs[1] = {key_page_down, key_right};
    journal.escape_after_runs = 8; // the finale runs two parts a frame
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(orders_of(frames.frames), (std::vector<uint16_t>{65, 66, 66, 66}))
        << "the last order is 66: a jump never ends the show";
    EXPECT_EQ(frames.frames[2].row, 0) << "a jump to the order playing starts it again";
}

TEST_F(Transport, APauseHoldsMusicAndPictureAndDotStepsOneFrame) {
    // In real time on the silent device: one row per 60 ms.
    music({.orders = 30, .rows = 4});
    state.options.kind = run_kind::show;
    frame_journal frames;
    state.observer = &frames;
    journal.keys_after_runs[3] = {key_space};
    journal.escape_after_runs = 12;
    post_later(key_period, 500);
    post_later(key_period, 800);
    post_later(key_space, 1100);
    ASSERT_EQ(run(), 0);
    EXPECT_NE(stderr_.find("plays without sound"), std::string::npos);
    const std::vector<frame_record>& f = frames.frames;
    ASSERT_EQ(f.size(), 12u);
    const auto row_number = [&](size_t i) { return f[i].order * 4 + f[i].row; };
    // Over a second stood still; the music moved only by the two steps' 60 ms each.
    EXPECT_LE(row_number(3) - row_number(2), 2);
    EXPECT_LE(row_number(4) - row_number(3), 2);
    EXPECT_LE(row_number(5) - row_number(4), 2);
    EXPECT_LT(row_number(5), 12) << "without the pause the music would be past row 20";
    EXPECT_GT(scope.host->overlay_redraws, 0) << "the still frame is shown again as it paused";
}

TEST_F(Transport, TheOverlayIsLaidOverThePictureNeverIntoTheFrames) {
    music({.orders = 3, .rows = 4, .cues = {{0, 0, 1}}});
    std::vector<rgb_frame> plain, with_overlay;
    scope.host->set_sink([&](const rgb_frame& frame) { plain.push_back(frame); });
    ASSERT_EQ(run(), 0);
    finish_show(state);
    EXPECT_FALSE(scope.host->overlay_shown);

    journal = part_journal{};
    journal.host = scope.host;
    journal.keys_after_runs[2] = {key_tab};
    journal.keys_after_runs[6] = {key_tab};
    std::vector<bool> overlay_at;
    scope.host->set_sink([&](const rgb_frame& frame) {
        with_overlay.push_back(frame);
        overlay_at.push_back(scope.host->overlay_shown);
    });
    ASSERT_EQ(run(), 0);
    ASSERT_EQ(with_overlay.size(), plain.size());
    for (size_t i = 0; i < plain.size(); ++i)
        EXPECT_TRUE(with_overlay[i].pixels == plain[i].pixels) << "frame " << i;
    EXPECT_EQ(overlay_at, (std::vector<bool>{false, false, true, true, true, true, false, false,
                                             false, false, false, false}));
    const overlay_image& shown = scope.host->overlay;
    ASSERT_GT(shown.width, 0);
    ASSERT_EQ(shown.pixels.size(), static_cast<size_t>(shown.width) * shown.height);
    size_t lit = 0;
    for (uint32_t p : shown.pixels) lit += (p >> 24) == 0xFF;
    EXPECT_GT(lit, 100u) << "text and the level bar";
}

TEST_F(Transport, F12WritesTheFrameAndItsLargeCopyUnderTheNextFreeNumber) {
    music({.orders = 2, .rows = 4});
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    { std::ofstream taken(dir_ / "vilora-0001.png"); }
    journal.keys_after_runs[3] = {key_f12};
    journal.keys_after_runs[4] = {key_f12};
    state.options.scale = 2;
    const int status = run();
    fs::current_path(before);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(fs::exists(dir_ / "vilora-0002.png"));
    EXPECT_TRUE(fs::exists(dir_ / "vilora-0002-640x480.png"));
    EXPECT_TRUE(fs::exists(dir_ / "vilora-0003.png"));
    EXPECT_TRUE(fs::exists(dir_ / "vilora-0003-640x480.png"));
    EXPECT_NE(stderr_.find("screenshot ./vilora-0002.png"), std::string::npos) << stderr_;
    EXPECT_EQ(scope.host->files_handed_over,
              (std::vector<std::string>{"./vilora-0002.png", "./vilora-0003.png"}))
        << "a page's host would offer them as downloads";
    EXPECT_GT(fs::file_size(dir_ / "vilora-0002-640x480.png"),
              fs::file_size(dir_ / "vilora-0002.png"));
}

} // namespace
} // namespace vilora
