#include "platform/display/palette.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace vilora {
namespace {

TEST(ScreenPalette, StartsWithBlackAndHasNoRepeatedColour) {
    palette p = palette::screen_default();
    ASSERT_TRUE(p.entries);
    const palette_entries& e = *p.entries;
    EXPECT_EQ(e[0].red + e[0].green + e[0].blue, 0);
    EXPECT_EQ(e[215].red, 255);
    EXPECT_EQ(e[215].blue, 255);
    std::set<std::tuple<int, int, int>> colours;
    for (const palette_entry& c : e) colours.insert({c.red, c.green, c.blue});
    EXPECT_EQ(colours.size(), 256u);
}

TEST(ScreenPalette, NearestIndexPrefersTheLowerOfEqualColours) {
    palette_entries e{};
    for (size_t i = 0; i < 256; ++i) e[i] = {200, 200, 200, 0};
    e[7] = {10, 20, 30, 0};
    e[9] = {10, 20, 30, 0};
    e[3] = {12, 20, 30, 0};
    EXPECT_EQ(nearest_palette_index(e, 10, 20, 30), 7);
    EXPECT_EQ(nearest_palette_index(e, 11, 20, 30), 3) << "ties keep the lowest index";
    EXPECT_EQ(nearest_palette_index(e, 200, 200, 200), 0);
}

TEST(ScreenPalette, NearestIndexOfAnythingBeyond768IsZero) {
    palette_entries e{};
    // Every entry is black; the colour (255, 255, 255) is 765 away: still index 0.
    EXPECT_EQ(nearest_palette_index(e, 255, 255, 255), 0);
}

class BlendTables : public ::testing::Test {
protected:
    int blend(int weight, int destination, int source) const {
        size_t sum = size_t{p.blend_terms[static_cast<size_t>((31 - weight) * 256 + destination)]} +
                     p.blend_terms[static_cast<size_t>(weight * 256 + source)];
        return p.blend_results[sum];
    }
    palette p = palette::screen_default();
};

TEST_F(BlendTables, FullWeightGivesBackTheSameColour) {
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(blend(0, i, 255 - i), i) << "destination weight 31 keeps the destination";
        EXPECT_EQ(blend(31, 255 - i, i), i) << "source weight 31 gives the source";
    }
}

TEST_F(BlendTables, TermsNeverCarryBetweenChannels) {
    for (int w = 0; w < 32; ++w)
        for (int d = 0; d < 256; ++d)
            for (int s = 0; s < 256; s += 5) {
                unsigned a = p.blend_terms[static_cast<size_t>((31 - w) * 256 + d)];
                unsigned b = p.blend_terms[static_cast<size_t>(w * 256 + s)];
                for (int shift : {0, 5, 10}) ASSERT_LE((a >> shift & 31) + (b >> shift & 31), 31u);
            }
}

TEST_F(BlendTables, HalfwayBetweenBlackAndWhiteIsAMiddleGrey) {
    const palette_entry& mid = (*p.entries)[static_cast<size_t>(blend(15, 0, 215))];
    EXPECT_EQ(mid.red, mid.green);
    EXPECT_EQ(mid.green, mid.blue);
    EXPECT_NEAR(mid.red, 255 * 15 / 31, 12);
}

} // namespace
} // namespace vilora
