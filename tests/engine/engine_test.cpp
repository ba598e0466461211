#include "engine/engine.h"
#include "engine/numbers.h"

#include "platform/display/surface.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <numbers>
#include <vector>

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

// Whatever the range: small ones, the largest value and past it, and none.
TEST(RandomGenerator, ABatchIsWhatAsManyCallsGiveAndLeavesTheSameState) {
    for (int32_t n : {3, 1, 2, 7, 200, 320, 32767, 32768, 40000, INT32_MAX, 0, -5})
        for (uint32_t seed : {0u, 1u, 0xFFFFFFFFu, 123456789u})
            for (int32_t count : {0, 1, 7, 320}) {
                seed_random(seed);
                std::vector<int32_t> called(static_cast<size_t>(count));
                for (int32_t& v : called) v = random_int(n);
                const int32_t after_calls = random_value();

                seed_random(seed);
                std::vector<int32_t> batch(static_cast<size_t>(count) + 1, -1);
                random_ints(n, batch.data(), count);
                EXPECT_EQ(batch.back(), -1) << "nothing written past count";
                batch.pop_back();
                EXPECT_EQ(batch, called) << "n " << n << ", seed " << seed << ", count " << count;
                EXPECT_EQ(random_value(), after_calls) << "seed " << seed << ", count " << count;
            }
}

// The jump is checked against stepping for counts around the powers of two
// it is built from, and against itself for counts too long to step: the
// period is 2^32, so a jump of 2^32 (or of a multiple) leaves the state alone.
TEST(RandomGenerator, SkippingIsWhatAsManyDrawsDo) {
    for (uint32_t seed : {0u, 1u, 0xFFFFFFFFu, 987654321u})
        for (uint64_t draws :
             {0ull, 1ull, 2ull, 3ull, 321ull, 1023ull, 1024ull, 1025ull, 100000ull}) {
            seed_random(seed);
            for (uint64_t i = 0; i < draws; ++i) random_value();
            const int32_t stepped = random_value();
            seed_random(seed);
            skip_random(draws);
            EXPECT_EQ(random_value(), stepped) << "seed " << seed << ", draws " << draws;
        }
    for (uint64_t draws : {uint64_t{1} << 32, uint64_t{5} << 32}) {
        seed_random(42);
        skip_random(draws);
        EXPECT_EQ(random_generator.state, 42u) << draws;
    }
    seed_random(7);
    skip_random((uint64_t{3} << 32) + 5);
    const uint32_t far = random_generator.state;
    seed_random(7);
    skip_random(5);
    EXPECT_EQ(random_generator.state, far);
}

TEST(NumericHelpers, StepSumTruncatesTheFloatingSum) {
    EXPECT_EQ(step_sum(3), 6);  // 6.6
    EXPECT_EQ(step_sum(4), 11); // 11.000000000000002
    EXPECT_EQ(step_sum(0), 0);
    EXPECT_EQ(step_sum(-5), 0);
    EXPECT_EQ(step_sum(1), 1);
    EXPECT_EQ(step_sum(20), 231);
}

// Toward zero inside the bounds; at or past a bound the bound; NaN 0. The
// 32-bit range saturates where the float of INT32_MAX (2^31) is reached.
TEST(NumericHelpers, TruncationTowardZeroHoldsToItsBounds) {
    constexpr float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(truncate_toward_zero(-2.7f, -5, 5), -2);
    EXPECT_EQ(truncate_toward_zero(2.7f, -5, 5), 2);
    EXPECT_EQ(truncate_toward_zero(5.0f, -5, 5), 5);
    EXPECT_EQ(truncate_toward_zero(5.5f, -5, 5), 5);
    EXPECT_EQ(truncate_toward_zero(-1e9f, -5, 5), -5);
    EXPECT_EQ(truncate_toward_zero(std::numeric_limits<float>::quiet_NaN(), -5, 5), 0);
    EXPECT_EQ(truncate_toward_zero(2147483648.0f, INT32_MIN, INT32_MAX), INT32_MAX);
    EXPECT_EQ(truncate_toward_zero(2147483520.0f, INT32_MIN, INT32_MAX), 2147483520);
    EXPECT_EQ(truncate_toward_zero(-2147483648.0f, INT32_MIN, INT32_MAX), INT32_MIN);
    EXPECT_EQ(truncate_toward_zero(inf, INT32_MIN, INT32_MAX), INT32_MAX);
    EXPECT_EQ(truncate_toward_zero(-inf, INT32_MIN, INT32_MAX), INT32_MIN);
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
