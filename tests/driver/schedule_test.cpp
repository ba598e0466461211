#include "driver/schedule.h"

#include "engine/engine.h"

#include <gtest/gtest.h>

namespace vilora {
namespace {

using calls = std::vector<part_call>;

calls at(uint16_t order, uint16_t row = 0, uint8_t variant = 0) {
    return scheduled_calls(order, row, variant, false);
}

TEST(Schedule, TitleFollowsTheCueAtOrderZero) {
    EXPECT_EQ(at(0, 0, 0), (calls{{part_id::otitulek, 5}}));
    EXPECT_EQ(at(0, 10, 1), (calls{{part_id::otitulek, 2}}));
    EXPECT_EQ(at(0, 10, 7), (calls{{part_id::otitulek, 2}})) << "any non-zero variant";
    for (uint16_t order = 1; order <= 8; ++order)
        EXPECT_EQ(at(order), (calls{{part_id::otitulek, 4}}));
}

TEST(Schedule, StretchesOfThePictureAndSceneParts) {
    struct stretch {
        uint16_t first, last;
        part_call call;
    };
    const stretch stretches[] = {
        {9, 16, {part_id::obw, 0}},       {17, 19, {part_id::oneco4, 0}},
        {20, 22, {part_id::obw, 1}},      {29, 36, {part_id::oneco3, 0}},
        {37, 40, {part_id::odistort, 0}}, {41, 46, {part_id::oneco0, 0}},
        {47, 50, {part_id::houp, 0}},     {51, 54, {part_id::pinkous, 0}},
        {55, 61, {part_id::oland, 0}},
    };
    for (const stretch& s : stretches)
        for (uint16_t order = s.first; order <= s.last; ++order)
            EXPECT_EQ(at(order, 63, 2), calls{s.call}) << "order " << order;
}

TEST(Schedule, CreditsSwitchAtRow96) {
    EXPECT_EQ(at(23, 95), (calls{{part_id::oskred0, 2}}));
    EXPECT_EQ(at(23, 96), (calls{{part_id::oskred0, 5}}));
    EXPECT_EQ(at(24, 95), (calls{{part_id::oskred0, 3}}));
    EXPECT_EQ(at(24, 96), (calls{{part_id::oskred0, 6}}));
    EXPECT_EQ(at(25, 0), (calls{{part_id::oskred0, 4}}));
    EXPECT_EQ(at(25, 255), (calls{{part_id::oskred0, 7}}));
}

TEST(Schedule, GreetingsFollowTheVariant) {
    for (uint16_t order = 26; order <= 28; ++order) {
        EXPECT_EQ(at(order, 0, 0), (calls{{part_id::ogreety, 0}}));
        EXPECT_EQ(at(order, 0, 1), (calls{{part_id::ogreety, 1}}));
        EXPECT_EQ(at(order, 0, 2), (calls{{part_id::oneco2, 0}}));
        EXPECT_TRUE(at(order, 0, 3).empty()) << "variant 3 draws nothing";
        EXPECT_TRUE(at(order, 0, 255).empty());
    }
}

TEST(Schedule, FinaleDrawsARandomSceneThenObwModeTwo) {
    for (uint16_t order = 62; order <= 66; ++order) {
        seed_random(0);
        calls c = at(order);
        ASSERT_EQ(c.size(), 2u);
        // The first value from state 0 is 38: 38 % 15 = 8, the greetings in mode 1.
        EXPECT_EQ(c[0], (part_call{part_id::ogreety, 1}));
        EXPECT_EQ(c[1], (part_call{part_id::obw, 2}));
    }
    // Every frame draws anew; over many frames every entry appears.
    seed_random(12345);
    bool seen[15] = {};
    for (int frame = 0; frame < 1000; ++frame) {
        part_call first = at(64)[0];
        for (int k = 0; k < 15; ++k)
            if (shuffle_entry(k) == first) seen[k] = true;
    }
    for (int k = 0; k < 15; ++k) EXPECT_TRUE(seen[k]) << k;
}

TEST(Schedule, CalmFinaleHoldsEachSceneSixFramesAndStillDrawsEveryFrame) {
    // The same draws with and without the hold: frame by frame the generator
    // is in the same state, and each new scene is the draw of the frame it
    // comes on.
    seed_random(777);
    std::vector<part_call> drawn;
    for (int frame = 0; frame < 300; ++frame) drawn.push_back(at(63)[0]);
    const int next_free = random_int(1 << 15);
    seed_random(777);
    finale_hold hold;
    std::vector<part_call> shown;
    for (int frame = 0; frame < 300; ++frame) {
        const calls c = scheduled_calls(63, 0, 0, false, &hold);
        ASSERT_EQ(c.size(), 2u);
        EXPECT_EQ(c[1], (part_call{part_id::obw, 2}));
        shown.push_back(c[0]);
    }
    EXPECT_EQ(random_int(1 << 15), next_free);
    int changes = 0;
    for (size_t frame = 0; frame < shown.size(); ++frame) {
        const bool may_change = frame % calm_hold_frames == 0;
        EXPECT_EQ(shown[frame], may_change ? drawn[frame] : shown[frame - 1]) << "frame " << frame;
        changes += frame > 0 && shown[frame] != shown[frame - 1];
    }
    // Repeats of the same scene aside, the scenes still change.
    EXPECT_GT(changes, 30);
}

TEST(Schedule, NothingIsScheduledFromOrder67On) {
    EXPECT_TRUE(at(67).empty());
    EXPECT_TRUE(at(68).empty());
    EXPECT_TRUE(at(0xFFFF).empty());
}

TEST(Schedule, TestModeShowsOneco1Everywhere) {
    for (uint16_t order : {0, 23, 27, 64, 67})
        EXPECT_EQ(scheduled_calls(order, 0, 2, true), (calls{{part_id::oneco1, 0}}));
}

TEST(Schedule, ShuffleTableLeavesOutOlandAndOneco1) {
    for (int k = 0; k < 15; ++k) {
        EXPECT_NE(shuffle_entry(k).part, part_id::oland);
        EXPECT_NE(shuffle_entry(k).part, part_id::oneco1);
    }
    EXPECT_EQ(shuffle_entry(0), (part_call{part_id::otitulek, 5}));
    EXPECT_EQ(shuffle_entry(14), (part_call{part_id::pinkous, 0}));
}

} // namespace
} // namespace vilora
