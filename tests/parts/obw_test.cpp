#include "engine/engine.h"
#include "parts/obw.h"
#include "parts/part_pixels.h"
#include "tests/parts/part_test_support.h"
#include "tests/support/surface_pixels.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace vilora {
namespace {

using namespace vilora::testing;

constexpr uint16_t untouched = 0xFFFF; // outside the picture area
constexpr uint16_t backdrop = 0x1234;

class Obw : public part_test {
protected:
    // Pictures as large as the part reads them; small_maps: 1 x 1 maps and
    // source, read at their only pixel.
    void build(bool small_maps = false) {
        const int32_t map_w = small_maps ? 1 : 570, map_h = small_maps ? 1 : 419;
        open_pictures({{"f0.bmp", map_w, map_h},
                       {"f1.bmp", map_w, map_h},
                       {"f2.bmp", small_maps ? 1 : 320, small_maps ? 1 : 150},
                       {"torture.bmp", 320, 200},
                       {"zool.bmp", 320, 200},
                       {"sorry.bmp", 320, 200}});
        part = std::make_unique<obw>(display());
        ASSERT_TRUE(part->valid);
        for (int i = 0; i < 3; ++i)
            fill_surface(*part->backdrops.picture_surface(i),
                         [](int32_t, int32_t) { return backdrop; });
        fill_surface(back(), [](int32_t, int32_t) { return untouched; });
    }
    void run(int32_t mode, int frames = 1) {
        for (int i = 0; i < frames; ++i) part->run(display(), mode, x, y);
    }

    std::unique_ptr<obw> part;
};

TEST_F(Obw, OscillatorsTurnAtTheirBoundsHoldingTheTurnValueForTwoFrames) {
    build(true);
    obw::class_statics& s = obw::statics;
    run(0, 49);
    EXPECT_EQ(s.motion.column_map_column.value, 249.0f);
    run(0);
    EXPECT_EQ(s.motion.column_map_column.value, 250.0f); // the 50th frame
    run(0);
    EXPECT_EQ(s.motion.column_map_column.value, 250.0f); // the 51st: turned without moving
    EXPECT_FALSE(s.motion.column_map_column.rising);
    run(0);
    EXPECT_EQ(s.motion.column_map_column.value, 249.0f);
    EXPECT_EQ(s.motion.row_map_column.value, 54.0f); // 2 + 52, still rising
    EXPECT_EQ(s.motion.row_map_row.value, 60.0f);

    // Oscillator 3 falls by 0.5 from 50: 0 on the 100th frame, held on the 101st.
    run(0, 47);
    EXPECT_EQ(s.motion.column_map_row.value, 0.5f);
    run(0);
    EXPECT_EQ(s.motion.column_map_row.value, 0.0f);
    EXPECT_FALSE(s.motion.column_map_row.rising);
    run(0);
    EXPECT_EQ(s.motion.column_map_row.value, 0.0f);
    EXPECT_TRUE(s.motion.column_map_row.rising);
    run(0);
    EXPECT_EQ(s.motion.column_map_row.value, 0.5f);
    EXPECT_EQ(s.motion.column_map_column.value, 199.0f); // 250 - (102 - 51), falling
}

TEST_F(Obw, ModeZeroBendsTheSourceThroughBothMapsRightOfColumn80) {
    build();
    std::mt19937 random(11);
    for (int i = 0; i < 3; ++i)
        fill_surface(*part->maps.picture_surface(i),
                     [&](int32_t, int32_t) { return static_cast<uint16_t>(random()); });
    run(0, 3); // oscillators at 203, 5, 48.5 and 11
    const obw::class_statics& s = obw::statics;
    ASSERT_EQ(s.motion.column_map_row.value, 48.5f);
    const pixel_grid row_map = grid_of(*part->maps.picture_surface(0));
    const pixel_grid column_map = grid_of(*part->maps.picture_surface(1));
    const pixel_grid source = grid_of(*part->maps.picture_surface(2));
    const pixel_grid screen_grid = grid_of(back());
    for (int32_t row = 0; row < 240; ++row)
        for (int32_t column = 0; column < 320; ++column) {
            const int32_t j = row - y, i = column;
            uint16_t expected = untouched;
            if (j >= 32 && j <= 168 && i >= 80)
                expected = displaced_pixel(
                    row_map, {s.motion.row_map_row.value, s.motion.row_map_column.value},
                    column_map, {s.motion.column_map_row.value, s.motion.column_map_column.value},
                    source, i, j);
            else if (j >= 0 && j < 200)
                expected = backdrop;
            ASSERT_EQ(screen_grid.at(row, column), expected) << "row " << row << " col " << column;
        }
}

TEST_F(Obw, CaptionsScrollLeftAndReappearAtTheRightEdgeBelowMinus600) {
    build(true);
    // A seed whose first draw of random_int(22) is not 0: no jump this frame.
    uint32_t seed = 1;
    for (;; ++seed) {
        seed_random(seed);
        if (random_int(22) != 0) break;
    }
    seed_random(seed);
    obw::statics.caption_x = {-598, -597, 10, 10, 10};
    run(1);
    EXPECT_EQ(obw::statics.caption_x, (std::array<int32_t, 5>{320, -600, 7, 7, 7}));

    // Captions 2 to 4, drawn at x = 10, each in its own band of 40 rows and
    // in (100, 100, 160), begin at column 10 (give or take a glyph's bearing).
    const uint32_t caption = screen_pixel(screen.display, 100, 100, 160);
    const pixel_grid grid = grid_of(back());
    for (int k = 2; k < 5; ++k) {
        int32_t leftmost = 320;
        for (int32_t row = y + 40 * k; row < y + 40 * k + 40; ++row)
            for (int32_t column = 0; column < 320; ++column)
                if (grid.at(row, column) == caption && column < leftmost) leftmost = column;
        EXPECT_GE(leftmost, 10) << k;
        EXPECT_LT(leftmost, 16) << k;
    }
}

TEST_F(Obw, ModeTwoDrawsOneBlackLineMoreEveryFrameFrom51) {
    build(true);
    seed_random(99);
    run(2);
    EXPECT_EQ(obw::statics.noise_count, 1);
    // The frame is the keyed backdrop with exactly 51 noise lines over it.
    seed_random(99);
    std::vector<uint16_t> expected(320 * 240, untouched);
    for (int32_t row = y; row < y + 200; ++row)
        for (int32_t column = 0; column < 320; ++column)
            expected[static_cast<size_t>(row * 320 + column)] = backdrop;
    for (int n = 0; n < 51; ++n) {
        const int32_t row = y + random_int(200);
        for (int32_t k = 0; k < 320; ++k)
            if (random_int(3) == 2) expected[static_cast<size_t>(row * 320 + k)] = 0;
    }
    EXPECT_EQ(grid_of(back()).values, expected);

    run(2, 98);
    seed_random(1234);
    run(2); // the hundredth: 150 lines of 321 draws each
    EXPECT_EQ(obw::statics.noise_count, 100);
    const int32_t next = random_value();
    seed_random(1234);
    for (int i = 0; i < 150 * 321; ++i) random_value();
    EXPECT_EQ(random_value(), next);
}

TEST_F(Obw, AMissingPictureLeavesItInvalidLoadingTheRestAndRunningSafely) {
    open_pictures({{"f0.bmp", 4, 4}, {"f1.bmp", 4, 4}, {"f2.bmp", 4, 4}, {"sorry.bmp", 8, 8}});
    obw without_backdrops(display());
    EXPECT_FALSE(without_backdrops.valid);
    EXPECT_EQ(without_backdrops.maps.picture_count(), 3);
    EXPECT_EQ(without_backdrops.backdrops.picture_count(), 1); // sorry.bmp still loaded
    close_library();

    obw nothing(display()); // no library and no such files
    EXPECT_FALSE(nothing.valid);
    for (int32_t mode = 0; mode < 4; ++mode) {
        without_backdrops.run(display(), mode, x, y);
        nothing.run(display(), mode, x, y);
    }
}

} // namespace
} // namespace vilora
