// The whole show on the default data with every real part, headless as a
// capture runs it: start-up accepts every part, each frame runs what the
// schedule says for the music's position, and the music ends it at order 67.
#include "driver/show.h"
#include "engine/data_files.h"

#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace vilora {
namespace {

class frame_journal : public show_observer {
public:
    void frame_done(const frame_record& r) override { frames.push_back(r); }
    std::vector<frame_record> frames;
};

// Distinct colours of a presented frame, counted up to a small limit.
size_t colour_count(const rgb_frame& frame, size_t limit) {
    std::set<uint32_t> seen;
    for (uint32_t p : frame.pixels) {
        seen.insert(p);
        if (seen.size() >= limit) break;
    }
    return seen.size();
}

bool in_shuffle_table(const part_call& call) {
    for (int k = 0; k < 15; ++k)
        if (shuffle_entry(k) == call) return true;
    return false;
}

// The module's cues: the title scene starts during order 0, and each of the
// three greeting variants gets a stretch; the credits switch at row 96 of
// orders 23 to 25.
void expect_the_cued_stretches(std::map<uint16_t, std::set<std::pair<part_id, int>>>& runs) {
    EXPECT_EQ(runs[0],
              (std::set<std::pair<part_id, int>>{{part_id::otitulek, 5}, {part_id::otitulek, 2}}));
    std::set<std::pair<part_id, int>> greetings;
    for (uint16_t order = 26; order <= 28; ++order)
        greetings.insert(runs[order].begin(), runs[order].end());
    EXPECT_EQ(greetings, (std::set<std::pair<part_id, int>>{
                             {part_id::ogreety, 0}, {part_id::ogreety, 1}, {part_id::oneco2, 0}}));
    std::set<int> credit_modes;
    for (uint16_t order = 23; order <= 25; ++order)
        for (const auto& [part, mode] : runs[order]) credit_modes.insert(mode);
    EXPECT_EQ(credit_modes, (std::set<int>{2, 3, 4, 5, 6, 7}));
}

// A headless capture of the default data, seed 1, watched by `journal`.
void set_up_capture(show_state& state, app_window& window, frame_journal& journal) {
    set_data_directory(VILORA_DATA_DIR);
    state.options.kind = run_kind::capture;
    state.options.seed = 1;
    state.roster = &built_in_parts();
    state.window = &window;
    state.observer = &journal;
}

TEST(WholeShow, PlaysTheScheduleFromTheTitleToOrder67) {
    int flat_frames = 0;
    int presented = 0;
    testing::host_scope scope(std::make_unique<headless_host>([&](const rgb_frame& frame) {
        ++presented;
        if (colour_count(frame, 16) < 16) ++flat_frames;
    }));
    app_window window;
    frame_journal journal;
    show_state state;
    set_up_capture(state, window, journal);

    ASSERT_EQ(run_show(state), 0);
    finish_show(state);
    const std::vector<frame_record>& frames = journal.frames;
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back().order, 66);
    EXPECT_EQ(presented, static_cast<int>(frames.size()));
    // Title, transitions and the finale may show a plain screen for a moment,
    // never for long.
    EXPECT_LT(flat_frames, static_cast<int>(frames.size()) / 50);

    std::map<uint16_t, std::set<std::pair<part_id, int>>> runs_by_order;
    std::set<part_id> finale_scenes;
    uint16_t previous_order = 0;
    for (const frame_record& f : frames) {
        ASSERT_GE(f.order, previous_order) << "frame " << f.frame;
        ASSERT_LE(f.order - previous_order, 1) << "an order skipped at frame " << f.frame;
        previous_order = f.order;
        for (const part_call& c : f.calls) runs_by_order[f.order].insert({c.part, c.mode});
        if (f.order >= 62) {
            ASSERT_EQ(f.calls.size(), 2u) << "frame " << f.frame;
            EXPECT_TRUE(in_shuffle_table(f.calls[0])) << "frame " << f.frame;
            EXPECT_EQ(f.calls[1], (part_call{part_id::obw, 2})) << "frame " << f.frame;
            finale_scenes.insert(f.calls[0].part);
        } else {
            ASSERT_EQ(f.calls, scheduled_calls(f.order, f.row, f.variant, false))
                << "frame " << f.frame << " order " << f.order << " row " << f.row;
        }
    }

    expect_the_cued_stretches(runs_by_order);
    EXPECT_GE(finale_scenes.size(), 8u) << "the finale picks its scenes at random";
}

// Mean brightness of the picture area (rows 20 to 219 of a 240-line frame),
// Rec. 601 luma, 0 to 255.
double picture_brightness(const rgb_frame& frame) {
    const int top = (frame.height - 200) / 2;
    double sum = 0;
    for (int y = top; y < top + 200; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const uint32_t p = frame.pixels[static_cast<size_t>(y) * frame.width + x];
            sum += 0.299 * (p >> 16 & 0xFF) + 0.587 * (p >> 8 & 0xFF) + 0.114 * (p & 0xFF);
        }
    return sum / (200.0 * frame.width);
}

// Frames at which the brightness changed by more than 40 of 255 from the frame before.
std::vector<size_t> brightness_jumps(bool calm) {
    std::vector<double> brightness;
    testing::host_scope scope(std::make_unique<headless_host>(
        [&](const rgb_frame& frame) { brightness.push_back(picture_brightness(frame)); }));
    app_window window;
    frame_journal journal;
    show_state state;
    set_up_capture(state, window, journal);
    state.options.start = show_position{62, 0};
    state.options.calm = calm;
    EXPECT_EQ(run_show(state), 0);
    finish_show(state);
    EXPECT_GT(brightness.size(), 500u);
    std::vector<size_t> jumps;
    for (size_t i = 1; i < brightness.size(); ++i)
        if (std::abs(brightness[i] - brightness[i - 1]) > 40) jumps.push_back(i);
    if (calm) {
        // Each scene stays for six frames: only the last may be cut short.
        // The scenes still change: a hundred times or so over the finale.
        size_t run = 1, changes = 0;
        for (size_t i = 1; i < journal.frames.size(); ++i) {
            if (journal.frames[i].calls[0] == journal.frames[i - 1].calls[0]) {
                ++run;
                continue;
            }
            EXPECT_GE(run, size_t{calm_hold_frames}) << "frame " << i;
            run = 1;
            ++changes;
        }
        EXPECT_GT(changes, journal.frames.size() / (2 * calm_hold_frames));
    }
    return jumps;
}

// The most jumps within any one second (50 / 3 frames: 17 frames span it).
size_t most_in_a_second(const std::vector<size_t>& jumps) {
    size_t most = 0;
    for (size_t i = 0; i < jumps.size(); ++i) {
        size_t j = i;
        while (j < jumps.size() && jumps[j] < jumps[i] + 17) ++j;
        most = std::max(most, j - i);
    }
    return most;
}

TEST(WholeShow, TheCalmFinaleFlashesAtMostThreeTimesASecond) {
    // The guideline for people with photosensitive epilepsy: no more than
    // three flashes in any one second. The finale as choreographed changes
    // its scene on every frame and goes well past it.
    const std::vector<size_t> wild = brightness_jumps(false);
    EXPECT_GT(most_in_a_second(wild), 3u);
    EXPECT_LE(most_in_a_second(brightness_jumps(true)), 3u);
}

} // namespace
} // namespace vilora
