#include "engine/data_files.h"
#include "engine/engine.h"
#include "parts/pinkous.h"
#include "tests/parts/part_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace vilora {
namespace {

using namespace vilora::testing;

constexpr uint16_t untouched = 0xFFFF;
constexpr uint16_t backdrop = 0x1234;
constexpr uint16_t source_colour = 0x5555;
constexpr uint16_t map_colour = 0x07E0; // red 0: the pass reads (j, i) unmoved
constexpr uint16_t box_colour = 0x0F0F;

class Pinkous : public part_test {
protected:
    // The maps in "robot1.782", everything else in "uganda4.782", both in the
    // data directory under other letter cases.
    void write_libraries(bool with_robot = true) {
        set_data_directory(dir.path.string());
        if (with_robot)
            write_archive("ROBOT1.782",
                          {{"0.bmp", 420, 199}, {"1.bmp", 370, 199}, {"hlavni.bmp", 7, 7}});
        write_archive("Uganda4.782", {{"0.bmp", 9, 9},
                                      {"hlavni.bmp", 320, 150},
                                      {"field.bmp", 320, 200},
                                      {"box.bmp", 4, 2}});
    }
    void build(bool random_maps) {
        write_libraries();
        part = std::make_unique<pinkous>(display());
        ASSERT_TRUE(part->valid);
        fill_surface(*part->sprites.picture_surface(0), [](int32_t, int32_t) { return backdrop; });
        fill_surface(*part->sprites.picture_surface(1),
                     [](int32_t, int32_t) { return box_colour; });
        std::mt19937 random(8);
        const uint16_t plain[] = {map_colour, map_colour, source_colour};
        for (int i = 0; i < 3; ++i)
            fill_surface(*part->maps.picture_surface(i), [&](int32_t, int32_t) {
                return random_maps ? static_cast<uint16_t>(random()) : plain[i];
            });
        fill_surface(back(), [](int32_t, int32_t) { return untouched; });
    }

    std::unique_ptr<pinkous> part;
};

TEST_F(Pinkous, OpensTheRobotLibraryForTheMapsAndLeavesTheUgandaOneOpen) {
    write_libraries();
    pinkous part_built(display());
    ASSERT_TRUE(part_built.valid);
    ASSERT_EQ(part_built.maps.picture_count(), 3);
    EXPECT_EQ(part_built.maps.picture_surface(0)->width, 420); // robot1's, not uganda4's 9
    EXPECT_EQ(part_built.maps.picture_surface(2)->width, 320); // uganda4's, not robot1's 7
    EXPECT_EQ(part_built.sprites.picture_count(), 2);
    picture_list later;
    EXPECT_EQ(later.add_picture(display(), "field.bmp", 0, 0), 0);
}

TEST_F(Pinkous, WithoutTheRobotLibraryItIsInvalidButLoadsTheRest) {
    write_libraries(false);
    pinkous part_missing(display());
    EXPECT_FALSE(part_missing.valid);
    EXPECT_EQ(part_missing.maps.picture_count(), 1);
    EXPECT_EQ(part_missing.sprites.picture_count(), 2);
    part_missing.run(display(), 0, x, y);
}

TEST_F(Pinkous, TheWindowShowsTheColumnMapStrictlyBetweenBox3AndBox3Plus100) {
    build(false);
    pinkous::statics.box_x[3] = 102; // 100 after this frame's step
    part->run(display(), 0, x, y);
    const pixel_grid grid = grid_of(back());
    for (int32_t column = 0; column < 320; ++column) {
        const uint16_t expected = column > 100 && column < 200 ? map_colour : source_colour;
        EXPECT_EQ(grid.at(y + 52, column), expected) << column;
        EXPECT_EQ(grid.at(y + 148, column), expected) << column;
        EXPECT_EQ(grid.at(y + 149, column), backdrop) << column;
    }
    // Box 3 waiting at 320 leaves the window empty.
    pinkous::statics.box_x[3] = 322;
    part->run(display(), 0, x, y);
    const pixel_grid empty = grid_of(back());
    for (int32_t column = 0; column < 320; ++column)
        EXPECT_EQ(empty.at(y + 100, column), source_colour) << column;
}

TEST_F(Pinkous, ABoxReachingMinus100ReappearsAt320OnTheSameFrame) {
    build(false);
    pinkous::statics.box_x = {-98, -97, 10, 150};
    part->run(display(), 0, x, y);
    EXPECT_EQ(pinkous::statics.box_x, (std::array<int32_t, 4>{320, -99, 8, 148}));
    const pixel_grid grid = grid_of(back());
    EXPECT_EQ(grid.at(y + 50, 8), box_colour);
    EXPECT_EQ(grid.at(y + 51, 11), box_colour);
    EXPECT_EQ(grid.at(y + 50, 7), backdrop);
    EXPECT_EQ(grid.at(y + 50, 148), box_colour);
}

TEST_F(Pinkous, BendsWithTheRowMapFirstAndTwiceQ) {
    build(true);
    for (int i = 0; i < 5; ++i) part->run(display(), 0, x, y); // box 3 at 290
    const pinkous::class_statics& s = pinkous::statics;
    ASSERT_EQ(s.box_x[3], 290);
    const pixel_grid row_map = grid_of(*part->maps.picture_surface(0));
    const pixel_grid column_map = grid_of(*part->maps.picture_surface(1));
    const pixel_grid source = grid_of(*part->maps.picture_surface(2));
    const pixel_grid grid = grid_of(back());
    for (int32_t j = 52; j <= 148; ++j)
        for (int32_t i = 0; i < 320; ++i) {
            const bool window = i > 290;
            ASSERT_EQ(
                grid.at(y + j, i),
                displaced_pixel(
                    row_map, {s.motion.row_map_row.value, 2.0f * s.motion.row_map_column.value},
                    column_map, {s.motion.column_map_row.value, s.motion.column_map_column.value},
                    source, i, j, window))
                << "row " << j << " col " << i;
        }
}

} // namespace
} // namespace vilora
