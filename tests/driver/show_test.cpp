// The show with parts of the test's own: start-up's messages and order, the
// timeline against the schedule, test mode, Escape and the capture files.
#include "driver/capture.h"
#include "engine/engine.h"

#include "tests/driver/show_fixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace vilora {
namespace {

namespace fs = std::filesystem;

class Show : public show_fixture {};

TEST_F(Show, WithoutTheMusicOnlyItsMessageAndNoPart) {
    journal.invalid[static_cast<size_t>(part_id::oland)] = true;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(scope.host->last_caption, "error");
    EXPECT_EQ(scope.host->last_message, "music couln't be started. the module not found!");
    for (int n : journal.constructed) EXPECT_EQ(n, 0);
    EXPECT_TRUE(scope.host->cursor_visible) << "the cursor is shown before the message";
}

// After the show's message, one line of ours: which file, and what is wrong.
TEST_F(Show, EveryStartUpFailureNamesTheFileAndTheCause) {
    EXPECT_EQ(run(), 1);
    const std::string module = (dir_ / "muska.xm").string();
    EXPECT_NE(stderr_.find("error: music couln't be started. the module not found!\nvilora: " +
                           module + ": missing\n"),
              std::string::npos)
        << stderr_;

    finish_show(state);
    fs::create_directory(dir_ / "muska.xm");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(scope.host->last_message, "music couln't be started. the module not found!");
    EXPECT_NE(stderr_.find(module + ": not a regular file (a directory)"), std::string::npos)
        << stderr_;
    fs::remove(dir_ / "muska.xm");

    finish_show(state);
    std::ofstream(dir_ / "muska.xm") << "not a module";
    EXPECT_EQ(run(), 1);
    EXPECT_NE(stderr_.find(module + ": not a module the player can read (12 bytes)"),
              std::string::npos)
        << stderr_;
    fs::remove(dir_ / "muska.xm");

    // The test's data directory holds no library: the first invalid part's
    // line names the library its pictures come from, not a picture.
    finish_show(state);
    music({.orders = 1, .rows = 1});
    journal.invalid[static_cast<size_t>(part_id::oland)] = true;
    EXPECT_EQ(run(), 1);
    EXPECT_NE(stderr_.find("error: oland class initialization error\nvilora: oland: " +
                           (dir_ / "uganda4.782").string() + ": missing\n"),
              std::string::npos)
        << stderr_;
}

// Modules the player reads that have nothing to play end as a module it
// cannot read does, never as a show of no frames that went well.
TEST_F(Show, MusicWithNothingToPlayEndsWithItsMessageAndTheCause) {
    struct damage {
        size_t at; // offset in the module's header
        std::vector<uint8_t> bytes;
        const char* cause;
    };
    const damage damages[] = {
        {64,
         {0, 0},
         "the song plays nothing: its length is 0, or every order names a pattern the "
         "module does not have"},
        {68, {0, 0}, "the module has no channels"},
        {80, {200, 200, 200, 200}, "the song plays nothing"}, // 4 orders, 4 patterns
    };
    for (const damage& d : damages) {
        std::vector<uint8_t> bytes = testing::test_module_bytes({.orders = 4, .rows = 4});
        std::copy(d.bytes.begin(), d.bytes.end(), bytes.begin() + static_cast<ptrdiff_t>(d.at));
        std::ofstream(dir_ / "muska.xm", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        finish_show(state);
        EXPECT_EQ(run(), 1) << d.at;
        EXPECT_EQ(scope.host->last_message, "music couln't be started. the module not found!");
        EXPECT_NE(stderr_.find("vilora: " + (dir_ / "muska.xm").string() + ": " + d.cause),
                  std::string::npos)
            << stderr_;
        EXPECT_TRUE(journal.runs.empty());
    }
}

// What a part left out of its data and plays on without is said once, before
// the first frame; the show plays.
TEST_F(Show, DataAPartPlaysOnWithoutIsSaidOnce) {
    music({.orders = 2, .rows = 2});
    journal.skipped[static_cast<size_t>(part_id::oneco0)] = "keyframer section skipped (why)";
    EXPECT_EQ(run(), 0);
    const std::string line =
        "vilora: oneco0: " + (dir_ / "scene.3ds").string() + ": keyframer section skipped (why)\n";
    const size_t at = stderr_.find(line);
    ASSERT_NE(at, std::string::npos) << stderr_;
    EXPECT_EQ(stderr_.find(line, at + 1), std::string::npos) << "once";
    EXPECT_FALSE(journal.runs.empty());
}

TEST_F(Show, AFailedStartUpLeavesNoCapture) {
    const fs::path out = dir_ / "capture";
    {
        capture_writer capture(out.string(), 1, false);
        ASSERT_TRUE(capture.ok());
        state.observer = &capture;
        EXPECT_EQ(run(), 1);
    }
    EXPECT_FALSE(fs::exists(out)) << "the directory the capture made goes again";

    fs::create_directories(out);
    {
        capture_writer capture(out.string(), 1, false);
        state.observer = &capture;
        finish_show(state);
        EXPECT_EQ(run(), 1);
    }
    EXPECT_TRUE(fs::exists(out)) << "a directory that was there stays";
    EXPECT_TRUE(fs::is_empty(out));
}

TEST_F(Show, TheFirstInvalidPartInCheckOrderIsNamed) {
    music({.orders = 1, .rows = 1});
    journal.invalid[static_cast<size_t>(part_id::pinkous)] = true;
    journal.invalid[static_cast<size_t>(part_id::oland)] = true;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(scope.host->last_message, "oland class initialization error");
    for (int n : journal.constructed) EXPECT_EQ(n, 1) << "every part is built before the check";

    journal = part_journal{};
    journal.invalid[static_cast<size_t>(part_id::houp)] = true;
    journal.invalid[static_cast<size_t>(part_id::oneco0)] = true;
    finish_show(state);
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(scope.host->last_message, "oneco0 class initialization error");
}

TEST_F(Show, ClassesNotBuiltAreReportedLikeInvalidOnes) {
    music({.orders = 1, .rows = 1});
    part_roster partly = test_roster;
    partly[static_cast<size_t>(part_id::ogreety)] = part_not_built(part_id::ogreety, "ogreety");
    state.roster = &partly;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(scope.host->last_message, "ogreety class initialization error");
}

TEST_F(Show, ThePictureAreaAndScreenSizeFollowTheMode) {
    music({.orders = 1, .rows = 2});
    state.options.height = 200;
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(engine_screen().origin_y, 0);
    EXPECT_EQ(engine_screen().screen_height, 200);
    EXPECT_EQ(state.display->clip.bottom, 200);
    finish_show(state);
    state.options.height = 240;
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(engine_screen().origin_x, 0);
    EXPECT_EQ(engine_screen().origin_y, 20);
    EXPECT_EQ(engine_screen().screen_width, 320);
    EXPECT_EQ(engine_screen().screen_height, 240);
    EXPECT_EQ(state.display->clip.top, 20);
    EXPECT_EQ(state.display->clip.bottom, 220);
}

TEST_F(Show, EveryFrameRunsWhatTheScheduleSaysUntilOrder67) {
    // 68 orders of 2 rows: one row per frame, so two frames per order; cues set
    // the variant in the greetings.
    music({.orders = 70, .rows = 2, .cues = {{0, 1, 1}, {26, 0, 0}, {27, 0, 3}, {28, 0, 2}}});
    frame_journal frames;
    state.observer = &frames;
    ASSERT_EQ(run(), 0);
    ASSERT_FALSE(frames.frames.empty());
    EXPECT_EQ(frames.frames.back().order, 66) << "order 67 ends the show before presenting";
    EXPECT_EQ(frames.frames.size(), 67u * 2);
    EXPECT_EQ(scope.host->frames_presented, 67 * 2);

    for (const frame_record& f : frames.frames) {
        if (f.order >= 62) {
            ASSERT_EQ(f.calls.size(), 2u);
            EXPECT_EQ(f.calls[1], (part_call{part_id::obw, 2}));
            continue;
        }
        EXPECT_EQ(f.calls, scheduled_calls(f.order, f.row, f.variant, false))
            << "order " << f.order << " row " << f.row;
    }
    EXPECT_EQ(frames.frames[0].calls, (std::vector<part_call>{{part_id::otitulek, 5}}));
    EXPECT_EQ(frames.frames[1].calls, (std::vector<part_call>{{part_id::otitulek, 2}}));
    EXPECT_EQ(frames.frames[26 * 2].calls, (std::vector<part_call>{{part_id::ogreety, 0}}));
    EXPECT_TRUE(frames.frames[27 * 2].calls.empty()) << "variant 3 draws nothing";
    EXPECT_EQ(frames.frames[28 * 2].calls, (std::vector<part_call>{{part_id::oneco2, 0}}));
    EXPECT_EQ(journal.runs.size(), 67u * 2 + 5 * 2 - 2 /* variant 3 */);
}

TEST_F(Show, ModulesThatEndEarlyEndTheShow) {
    music({.orders = 3, .rows = 4});
    frame_journal frames;
    state.observer = &frames;
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(frames.frames.size(), 12u);
}

TEST_F(Show, TestModeShowsOneco1AndStillEndsAt67) {
    music({.orders = 68, .rows = 1});
    state.options.test_mode = true;
    frame_journal frames;
    state.observer = &frames;
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(frames.frames.size(), 67u);
    for (const part_call& c : journal.runs) EXPECT_EQ(c, (part_call{part_id::oneco1, 0}));
}

TEST_F(Show, OnePartEveryFrameAndOnlyItMustBeValid) {
    music({.orders = 2, .rows = 3});
    journal.invalid[static_cast<size_t>(part_id::oneco0)] = true;
    state.options.only_part = part_call{part_id::houp, 3};
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(journal.runs.size(), 6u);
    for (const part_call& c : journal.runs) EXPECT_EQ(c, (part_call{part_id::houp, 3}));
    EXPECT_EQ(journal.constructed[static_cast<size_t>(part_id::oneco0)], 0);
}

TEST_F(Show, EscapeStopsEverythingAndDrawsNoMoreFrames) {
    music({.orders = 20, .rows = 4});
    journal.escape_after_runs = 5;
    frame_journal frames;
    state.observer = &frames;
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(journal.runs.size(), 5u);
    EXPECT_EQ(frames.frames.size(), 5u) << "the fifth frame is still presented";
    for (int n : journal.destroyed) EXPECT_EQ(n, 1);
    EXPECT_FALSE(state.display);
    EXPECT_FALSE(state.clock);
    EXPECT_EQ(window.handle, nullptr);
}

// Headless, SIGINT and SIGTERM end the run the way closing the window does:
// exit 0, and the capture's files complete.
TEST_F(Show, ASignalEndsAHeadlessRunLikeClosingTheWindow) {
    music({.orders = 20, .rows = 4});
    frame_journal frames;
    state.observer = &frames;
    scope.host->close_on_signals();
    std::raise(SIGTERM);
    EXPECT_EQ(run(), 0);
    EXPECT_LE(frames.frames.size(), 1u);
    EXPECT_EQ(window.handle, nullptr);
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
}

TEST_F(Show, NothingIsDrawnWhileInactive) {
    music({.orders = 1, .rows = 4});
    scope.host->post_event({host_event::kind::deactivate});
    scope.host->post_event({host_event::kind::activate});
    frame_journal frames;
    state.observer = &frames;
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(frames.frames.size(), 4u) << "the music waited: offline it moves with frames";
    EXPECT_EQ(frames.frames[0].frame, 0u);
}

TEST_F(Show, TheCueByteIsBits16To23) {
    music_cue_received(1, 1, 0x0002'0031u, &state);
    EXPECT_EQ(state.sync_variant, 2);
    music_cue_received(1, 1, 0xAB01'0031u, &state);
    EXPECT_EQ(state.sync_variant, 1);
}

TEST_F(Show, CaptureWritesFramesAudioAndTimeline) {
    music({.orders = 68, .rows = 1, .cues = {{0, 0, 1}}});
    const fs::path out = dir_ / "capture";
    {
        capture_writer capture(out.string(), 10, false);
        ASSERT_TRUE(capture.ok());
        scope.host->set_sink([&](const rgb_frame& f) { capture.frame_presented(f); });
        state.observer = &capture;
        ASSERT_EQ(run(), 0);
        EXPECT_FALSE(fs::exists(out / "timeline.tsv")) << "in place once finished";
        EXPECT_TRUE(capture.finish(0)) << capture.failure();
    }
    EXPECT_TRUE(fs::exists(out / "frame-00000.png"));
    EXPECT_TRUE(fs::exists(out / "frame-00060.png"));
    EXPECT_FALSE(fs::exists(out / "frame-00001.png"));
    EXPECT_FALSE(fs::exists(out / "frame-00070.png"));
    // 67 frames of 2646 stereo 16-bit frames after a 44-byte header.
    EXPECT_EQ(fs::file_size(out / "audio.wav"), 44u + 67u * 2646u * 4u);

    std::ifstream tsv(out / "timeline.tsv");
    std::string header, first, line, last;
    std::getline(tsv, header);
    std::getline(tsv, first);
    int lines = 1;
    while (std::getline(tsv, line)) last = line, ++lines;
    EXPECT_EQ(header, "frame\torder\trow\tsync_variant\truns");
    EXPECT_EQ(first, "0\t0\t0\t1\totitulek:2");
    EXPECT_EQ(lines, 67);
    EXPECT_EQ(last.substr(0, 9), "66\t66\t0\t1");
    EXPECT_NE(last.find(" obw:2"), std::string::npos);
}

TEST_F(Show, StartingLaterRunsTheTimelineFromThereWithTheCueItWouldHave) {
    music({.orders = 70, .rows = 4, .cues = {{0, 1, 1}, {26, 2, 2}, {28, 0, 0}}});
    frame_journal frames;
    state.observer = &frames;
    state.options.start = show_position{27, 1};
    ASSERT_EQ(run(), 0);
    ASSERT_FALSE(frames.frames.empty());
    const frame_record& first = frames.frames.front();
    EXPECT_EQ(first.frame, 0u);
    EXPECT_EQ(first.order, 27);
    EXPECT_EQ(first.row, 1);
    EXPECT_EQ(first.variant, 2) << "the cue of order 26 row 2";
    EXPECT_EQ(first.calls, (std::vector<part_call>{{part_id::oneco2, 0}}));
    EXPECT_EQ(frames.frames[3].order, 28);
    EXPECT_EQ(frames.frames[3].variant, 0) << "the cues go on as the music plays";
    EXPECT_EQ(frames.frames.size(), (67u - 27u) * 4u - 1u);
    EXPECT_EQ(frames.frames.back().order, 66);
    EXPECT_NEAR(frames.frames[0].done, 0.0, 1e-9);
    EXPECT_NEAR(frames.frames[79].done, 0.5, 0.01) << "half the 159 rows from 27:1 to 67";
    EXPECT_NEAR(frames.frames.back().done, 1.0, 0.01);
}

TEST_F(Show, AStartTheModuleDoesNotHaveEndsWithStatus2) {
    music({.orders = 30, .rows = 4});
    state.options.start = show_position{12, 4};
    EXPECT_EQ(run(), 2);
    EXPECT_NE(stderr_.find("--start 12:4: order 12 has rows 0 to 3"), std::string::npos) << stderr_;
    EXPECT_TRUE(journal.runs.empty());
    finish_show(state);
    state.options.start = show_position{30, 0};
    EXPECT_EQ(run(), 2);
    EXPECT_NE(stderr_.find("--start 30:0: the music has orders 0 to 29"), std::string::npos)
        << stderr_;
}

TEST_F(Show, UntilEndsTheShowWhereTheMusicGetsThere) {
    music({.orders = 10, .rows = 4});
    frame_journal frames;
    state.observer = &frames;
    state.options.start = show_position{2, 1};
    state.options.until = show_position{5, 2};
    ASSERT_EQ(run(), 0);
    ASSERT_EQ(frames.frames.size(), 13u) << "2:1 up to 5:2, one row a frame";
    EXPECT_EQ(frames.frames.back().order, 5);
    EXPECT_EQ(frames.frames.back().row, 1);
    EXPECT_NEAR(frames.frames.back().done, 12.0 / 13.0, 0.01);

    finish_show(state);
    state.options.until = show_position{12, 0};
    EXPECT_EQ(run(), 2);
    EXPECT_NE(stderr_.find("--until 12:0: the music has orders 0 to 9"), std::string::npos)
        << stderr_;
}

// Orders 0 to 4 play a row a frame, orders 5 to 9 a row every four frames:
// a fifth of the music lies behind when order 5 begins, not half of it.
TEST_F(Show, HowFarTheShowHasGotFollowsTheTempo) {
    music({.orders = 10, .rows = 4, .slow_order = 5, .slow_speed = 12});
    frame_journal frames;
    state.observer = &frames;
    ASSERT_EQ(run(), 0);
    ASSERT_EQ(frames.frames.size(), 100u);
    EXPECT_EQ(frames.frames[20].order, 5);
    EXPECT_NEAR(frames.frames[20].done, 0.2, 0.01);
    EXPECT_NEAR(frames.frames[60].done, 0.6, 0.01);
    EXPECT_NEAR(frames.frames.back().done, 0.96, 0.01) << "the start of the last row";
}

TEST(TimelineLine, ListsEveryCall) {
    frame_record r{12, 64, 3, 2, {{part_id::oneco0, 0}, {part_id::obw, 2}}};
    EXPECT_EQ(timeline_line(r), "12\t64\t3\t2\toneco0:0 obw:2\n");
}

} // namespace
} // namespace vilora
