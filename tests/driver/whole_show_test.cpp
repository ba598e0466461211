// The whole show on the default data with every real part, headless as a
// capture runs it: start-up accepts every part, each frame runs what the
// schedule says for the music's position, and the music ends it at order 67.
#include "driver/show.h"
#include "engine/data_files.h"

#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(WholeShow, PlaysTheScheduleFromTheTitleToOrder67) {
    int flat_frames = 0;
    int presented = 0;
    testing::host_scope scope(std::make_unique<headless_host>([&](const rgb_frame& frame) {
        ++presented;
        if (colour_count(frame, 16) < 16) ++flat_frames;
    }));
    set_data_directory(VILORA_DATA_DIR);
    app_window window;
    frame_journal journal;
    show_state state;
    state.options.kind = run_kind::capture;
    state.options.seed = 1;
    state.roster = &built_in_parts();
    state.window = &window;
    state.observer = &journal;

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

} // namespace
} // namespace vilora
