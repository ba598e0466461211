#include "parts/oneco3.h"
#include "tests/parts/part_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace vilora {
namespace {

using namespace vilora::testing;

constexpr uint16_t untouched = 0xFFFF;
constexpr uint16_t backdrop = 0x1234;
constexpr uint16_t sprite = 0x0F0F;
constexpr uint16_t bent = 0x5555; // the whole source picture

class Oneco3 : public part_test {
protected:
    void build(bool random_maps) {
        open_pictures({{"0.bmp", 420, 201},
                       {"1.bmp", 420, 201},
                       {"2.bmp", 320, 150},
                       {"zelenac.bmp", 320, 200},
                       {"litac.bmp", 4, 1}});
        part = std::make_unique<oneco3>(display());
        ASSERT_TRUE(part->valid);
        fill_surface(*part->sprites.picture_surface(0), [](int32_t, int32_t) { return backdrop; });
        fill_surface(*part->sprites.picture_surface(1), [](int32_t, int32_t) { return sprite; });
        std::mt19937 random(3);
        for (int i = 0; i < 3; ++i)
            fill_surface(*part->maps.picture_surface(i), [&](int32_t, int32_t) {
                return random_maps ? static_cast<uint16_t>(random()) : bent;
            });
        fill_surface(back(), [](int32_t, int32_t) { return untouched; });
    }
    // The screen rows of column x + 290 that show the sprite after one frame.
    std::vector<int32_t> sprite_rows_of_frame() {
        fill_surface(back(), [](int32_t, int32_t) { return untouched; });
        part->run(display(), 0, x, y);
        const pixel_grid grid = grid_of(back());
        std::vector<int32_t> rows;
        for (int32_t row = 0; row < 240; ++row)
            if (grid.at(row, x + 290) == sprite) rows.push_back(row);
        return rows;
    }

    std::unique_ptr<oneco3> part;
};

TEST_F(Oneco3, BendsWithTheRowMapSecondAndTwiceQAndKeepsTheBackdropAboveAndBelow) {
    build(true);
    for (int i = 0; i < 4; ++i) part->run(display(), 0, x, y);
    const oneco3::class_statics& s = oneco3::statics;
    ASSERT_EQ(s.motion.column_map_row.value, 8.0f); // 10 - 4 * 0.5
    const pixel_grid column_map = grid_of(*part->maps.picture_surface(0));
    const pixel_grid row_map = grid_of(*part->maps.picture_surface(1));
    const pixel_grid source = grid_of(*part->maps.picture_surface(2));
    const pixel_grid grid = grid_of(back());
    for (int32_t row = 0; row < 240; ++row)
        for (int32_t column = 0; column < 290; ++column) {
            const int32_t j = row - y;
            if (j >= 170) continue; // the caption's rows
            uint16_t expected = j < 0 ? untouched : backdrop;
            if (j >= 52 && j <= 150)
                expected = displaced_pixel(
                    row_map, {s.motion.row_map_row.value, 2.0f * s.motion.row_map_column.value},
                    column_map, {s.motion.column_map_row.value, s.motion.column_map_column.value},
                    source, column, j);
            ASSERT_EQ(grid.at(row, column), expected) << "row " << row << " col " << column;
        }
}

TEST_F(Oneco3, TheSpriteColumnClimbsWithSixOrSevenCopies) {
    build(false);
    // The picture area would cut the copies below it: open the clip to the
    // whole screen to see every copy drawn.
    screen.display.clip = clip_rect{0, 0, 320, 240};
    oneco3::statics.climb = 15;
    // climb 16: (16 + 235) / 36 = 6 copies
    EXPECT_EQ(sprite_rows_of_frame(), (std::vector<int32_t>{4, 40, 76, 112, 148, 184}));
    // climb 17: 7 copies, one pixel higher
    EXPECT_EQ(sprite_rows_of_frame(), (std::vector<int32_t>{3, 39, 75, 111, 147, 183, 219}));
    oneco3::statics.climb = 34;
    // climb 35: 7 copies, the first above the screen
    EXPECT_EQ(sprite_rows_of_frame(), (std::vector<int32_t>{21, 57, 93, 129, 165, 201}));
    // past 35 back to 0: 6 copies, 36 pixels lower than a step up would be
    EXPECT_EQ(sprite_rows_of_frame(), (std::vector<int32_t>{20, 56, 92, 128, 164, 200}));
    EXPECT_EQ(oneco3::statics.climb, 0);
}

TEST_F(Oneco3, AMissingPictureLeavesItInvalidAndRunningSafely) {
    open_pictures({{"0.bmp", 2, 2}, {"2.bmp", 2, 2}, {"litac.bmp", 2, 2}});
    oneco3 part_missing(display());
    EXPECT_FALSE(part_missing.valid);
    EXPECT_EQ(part_missing.maps.picture_count(), 1);
    EXPECT_EQ(part_missing.sprites.picture_count(), 1); // litac.bmp after the missing backdrop
    part_missing.run(display(), 0, x, y);
}

} // namespace
} // namespace vilora
