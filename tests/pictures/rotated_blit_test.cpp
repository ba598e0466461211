#include "tests/pictures/blit_pictures.h"
#include "tests/support/surface_pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace vilora {
namespace {

using namespace vilora::testing;

// Picture pixels that tell their column and row (never 0, and inside 8 bits
// for pictures up to 16 x 15); the destination starts out as `untouched`.
constexpr uint32_t untouched = 0xFF;
uint32_t picture_value(int32_t u, int32_t v) {
    return 1 + static_cast<uint32_t>(u + 16 * v);
}
int32_t column_of(uint32_t value) {
    return static_cast<int32_t>((value - 1) % 16);
}
int32_t row_of(uint32_t value) {
    return static_cast<int32_t>((value - 1) / 16);
}

class Rotated : public ::testing::TestWithParam<int> {
protected:
    int32_t add(int32_t width, int32_t height, bool keyed = false) {
        const int32_t index = screen.add_picture(width, height, keyed);
        for (int32_t v = 0; v < height; ++v)
            for (int32_t u = 0; u < width; ++u)
                set_pixel(screen.picture(index), u, v, picture_value(u, v));
        // 32 bits: a fourth byte that must stay as it is.
        screen.back().clear(GetParam() == 32 ? 0xAB0000FF : untouched);
        return index;
    }
    uint32_t at(int32_t x, int32_t y) { return pixel_at(screen.back(), x, y) & 0xFFFFFF; }
    bool drawn(int32_t x, int32_t y) { return at(x, y) != untouched; }

    blit_screen screen{GetParam(), 240};
};

// Angle 0, scale 1: an 8 x 6 picture about (100, 100) has corners (96, 97) and
// (104, 103). Spans leave out their end columns 96 and 104, so screen column
// 96 + u shows picture column u for u = 1..7; the edges step v by 6/7 of a row.
TEST_P(Rotated, AtAngleZeroThePictureLandsWithoutItsEndColumns) {
    const int32_t index = add(8, 6);
    screen.list.draw_picture_rotated(&screen.back(), 100, 100, index, 0, 1.0f);
    const int32_t rows[7] = {0, 0, 1, 2, 3, 4, 5};
    for (int32_t y = 95; y <= 105; ++y) {
        for (int32_t x = 94; x <= 106; ++x) {
            const bool inside = y >= 97 && y <= 103 && x >= 97 && x <= 103;
            ASSERT_EQ(drawn(x, y), inside) << x << ", " << y;
            if (!inside) continue;
            EXPECT_EQ(column_of(at(x, y)), x - 96) << x << ", " << y;
            EXPECT_EQ(row_of(at(x, y)), rows[y - 97]) << x << ", " << y;
        }
    }
    if (GetParam() == 32) {
        EXPECT_EQ(pixel_at(screen.back(), 100, 100) >> 24, 0xABu);
    }
}

// Scale 0.5: half-size corners (g = 4, m = 2 for 16 x 8) and every second
// picture column sampled.
TEST_P(Rotated, AtScaleHalfEverySecondPixelIsSampled) {
    const int32_t index = add(16, 8);
    screen.list.draw_picture_rotated(&screen.back(), 100, 100, index, 0, 0.5f);
    for (int32_t y = 98; y <= 102; ++y) {
        EXPECT_FALSE(drawn(96, y));
        EXPECT_FALSE(drawn(104, y));
        for (int32_t x = 97; x <= 103; ++x) EXPECT_EQ(column_of(at(x, y)), 2 * (x - 96));
    }
    EXPECT_FALSE(drawn(100, 97));
    EXPECT_FALSE(drawn(100, 103));
}

// Angle 90 turns clockwise: the picture's top row ends up on the right, its
// left column on top, and the drawn area is tall instead of wide.
TEST_P(Rotated, APositiveAngleTurnsClockwise) {
    const int32_t index = add(16, 8);
    screen.list.draw_picture_rotated(&screen.back(), 100, 100, index, 90, 1.0f);
    int32_t left = INT32_MAX, right = INT32_MIN, top = INT32_MAX, bottom = INT32_MIN;
    for (int32_t y = 80; y < 120; ++y)
        for (int32_t x = 80; x < 120; ++x)
            if (drawn(x, y)) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_LE(right - left + 1, 8);
    ASSERT_GE(bottom - top + 1, 15);
    // Across the middle row v falls to the right, to row 1 beside the left-out
    // right end; down the middle column u grows from column 0 to 15.
    std::vector<int32_t> across, down;
    for (int32_t x = left; x <= right; ++x)
        if (drawn(x, 100)) across.push_back(row_of(at(x, 100)));
    for (int32_t y = top; y <= bottom; ++y)
        if (drawn(100, y)) down.push_back(column_of(at(100, y)));
    ASSERT_GE(across.size(), 6u);
    ASSERT_GE(down.size(), 14u);
    EXPECT_TRUE(std::is_sorted(across.rbegin(), across.rend()));
    EXPECT_EQ(across.back(), 1);
    EXPECT_TRUE(std::is_sorted(down.begin(), down.end()));
    EXPECT_EQ(down.front(), 0);
    EXPECT_EQ(down.back(), 15);
}

TEST_P(Rotated, KeyedBlackLeavesTheDestination) {
    const int32_t index = add(8, 6, true);
    set_pixel(screen.picture(index), 3, 2, 0);
    screen.list.draw_picture_rotated(&screen.back(), 100, 100, index, 0, 1.0f);
    EXPECT_FALSE(drawn(99, 100)); // picture (3, 2)
    EXPECT_TRUE(drawn(100, 100));
}

// The picture area (0, 20, 320, 220) cuts a turned picture at its last and
// first rows; a scale that puts every corner on one row draws nothing.
TEST_P(Rotated, ThePictureAreaCutsTheRows) {
    const int32_t index = add(15, 15);
    auto drawn_rows = [&] {
        std::pair<int32_t, int32_t> rows{INT32_MAX, INT32_MIN};
        for (int32_t y = 0; y < 240; ++y)
            for (int32_t x = 0; x < 320; ++x)
                if (drawn(x, y)) rows = {std::min(rows.first, y), std::max(rows.second, y)};
        return rows;
    };
    screen.list.draw_picture_rotated(&screen.back(), 160, 217, index, 30, 1.0f);
    EXPECT_EQ(drawn_rows().second, 219);
    EXPECT_EQ(screen.list.edge_table_rows(), 220);
    screen.back().clear(untouched);
    screen.list.draw_picture_rotated(&screen.back(), 40, 22, index, -30, 1.0f);
    EXPECT_EQ(drawn_rows().first, 20);
    screen.back().clear(untouched);
    screen.list.draw_picture_rotated(&screen.back(), 40, 100, index, 45, 0.01f);
    EXPECT_EQ(drawn_rows().first, INT32_MAX);
}

// Whatever the angle, scale and centre: nothing outside the picture area or
// the destination is written and nothing outside the picture read (the
// sanitizer watches the reads; sampling at the picture's right and bottom
// edges, reached at quarter turns, stays on its last column and row).
TEST_P(Rotated, StaysInsideThePictureAreaForAnyPlacement) {
    const int32_t index = add(16, 9);
    const float scales[] = {0.3f,
                            1.0f,
                            1.6f,
                            5.0f,
                            37.0f,
                            1e9f,
                            -2.0f,
                            std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity()};
    const int32_t centres[][2] = {{160, 120}, {0, 20},        {319, 219},
                                  {-30, 240}, {INT32_MAX, 0}, {INT32_MIN, INT32_MIN}};
    for (int32_t angle = -90; angle <= 450; angle += 45)
        for (float scale : scales)
            for (const auto& c : centres)
                screen.list.draw_picture_rotated(&screen.back(), c[0], c[1], index, angle, scale);
    for (int32_t x = 0; x < 320; ++x)
        for (int32_t y : {0, 19, 220, 239}) ASSERT_FALSE(drawn(x, y)) << x << ", " << y;

    surface small;
    ASSERT_EQ(small.create_surface(&screen.screen.display, 3, 12, 25), 0);
    small.clear(untouched);
    screen.list.draw_picture_rotated(&small, 6, 22, index, 30, 3.0f);
    EXPECT_EQ(pixel_at(small, 6, 19) & 0xFFFFFF, untouched);
    EXPECT_NE(pixel_at(small, 6, 22) & 0xFFFFFF, untouched);
}

INSTANTIATE_TEST_SUITE_P(Depths, Rotated, ::testing::Values(8, 16, 24, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });

} // namespace
} // namespace vilora
