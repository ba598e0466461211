#include "engine/engine.h"

#include "platform/surface.h"

#include <gtest/gtest.h>

#include <numbers>

namespace vilora {
namespace {

TEST(RandomGenerator, FollowsTheRuntimeSequence) {
    seed_random(0);
    // First state: 0 * 214013 + 2531011 = 2531011; bits 16..30 are 38.
    EXPECT_EQ(random_value(), 38);
    seed_random(0);
    EXPECT_EQ(random_int(15), 8);

    // Seed 1 gives the well-known sequence 41, 18467, 6334, 26500.
    seed_random(1);
    EXPECT_EQ(random_value(), 41);
    EXPECT_EQ(random_value(), 18467);
    EXPECT_EQ(random_value(), 6334);
    EXPECT_EQ(random_value(), 26500);
}

TEST(RandomGenerator, ValuesStayInRangeOverTheWrap) {
    seed_random(0xFFFFFFFFu);
    for (int i = 0; i < 100000; ++i) {
        int32_t v = random_int(320);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 320);
    }
}

TEST(NumericHelpers, StepSumTruncatesTheFloatingSum) {
    EXPECT_EQ(step_sum(3), 6);  // 6.6
    EXPECT_EQ(step_sum(4), 11); // 11.000000000000002
    EXPECT_EQ(step_sum(0), 0);
    EXPECT_EQ(step_sum(-5), 0);
    EXPECT_EQ(step_sum(1), 1);
    EXPECT_EQ(step_sum(20), 231);
}

TEST(NumericHelpers, DegreesUsePiAsThreePointOneFour) {
    EXPECT_DOUBLE_EQ(deg_to_rad(180), 3.14);
    EXPECT_DOUBLE_EQ(deg_to_rad(360), 6.28);
    EXPECT_DOUBLE_EQ(deg_to_rad(-90), -1.57);
    EXPECT_NE(deg_to_rad(180), std::numbers::pi);
}

TEST(EngineScreen, TheModeDecidesThePictureArea) {
    EXPECT_EQ(picture_surface_kind, 3);
    set_screen(nullptr, 320, 200);
    const screen_state& screen = engine_screen();
    EXPECT_EQ(screen.screen_width, 320);
    EXPECT_EQ(screen.screen_height, 200);
    EXPECT_EQ(screen.origin_x, 0);
    EXPECT_EQ(screen.origin_y, 0);
    EXPECT_EQ(screen.picture_area().bottom, 200);

    // 240 lines: letterboxed, 20 black lines above and below.
    set_screen(nullptr, 320, 240);
    EXPECT_EQ(screen.origin_y, 20);
    const clip_rect area = screen.picture_area();
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 20);
    EXPECT_EQ(area.right, 320);
    EXPECT_EQ(area.bottom, 220);
}

TEST(ProcessorCheck, FindsTheFourPixelPathsOnThisMachine) {
    // Every x86-64 processor has MMX and SSE2; elsewhere the paths are portable.
    EXPECT_TRUE(detect_mmx());
}

} // namespace
} // namespace vilora
