#include "engine/engine.h"
#include "parts/displacement_pass.h"
#include "parts/flicker_caption.h"
#include "parts/noise_lines.h"
#include "parts/part_pixels.h"
#include "tests/parts/part_test_support.h"
#include "tests/support/surface_pixels.h"
#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace vilora {
namespace {

using namespace vilora::testing;

TEST(PackColour, PacksThroughTheFormatAndKeepsTheLowBitsOfTheAbsoluteValue) {
    test_display screen565;
    const pixel_format& f565 = *screen565.display.format;
    EXPECT_EQ(pack_colour(f565, 255, 128, 64), screen_pixel(screen565.display, 255, 128, 64));
    EXPECT_EQ(pack_colour(f565, 220, 220, 220), 0xDEFBu);
    // Components outside 0..255 are not clamped: -8 in red is -2048 as a
    // signed word, whose absolute value 0x0800 is the pixel; 300 in red
    // overflows the field and only its low 16 bits remain.
    EXPECT_EQ(pack_colour(f565, -8, 0, 0), 0x0800u);
    EXPECT_EQ(pack_colour(f565, -8, 255, 0), 0x0020u); // 0xFFFFFFE0 is -32
    EXPECT_EQ(pack_colour(f565, 0, 0, -1), 0x0001u);
    EXPECT_EQ(pack_colour(f565, 300, 0, 0), 0x2800u);

    test_display screen555(320, 240, 16, high_colour_layout::rgb555);
    const pixel_format& f555 = *screen555.display.format;
    EXPECT_EQ(pack_colour(f555, 255, 128, 64), screen_pixel(screen555.display, 255, 128, 64));
    EXPECT_EQ(pack_colour(f555, -8, 0, 0), 0x0400u);
}

class NoiseLines : public part_test {};

// Also with the picture area partly off the surface: left, right and below,
// where the writes outside are dropped and the draws still made.
TEST_F(NoiseLines, SetAboutAThirdOfRandomRowsInTheDrawOrder) {
    const std::pair<int32_t, int32_t> corners[] = {{x, y}, {-3, -10}, {7, 45}, {-317, 0}};
    for (const auto& [left, top] : corners) {
        fill_surface(back(), [](int32_t, int32_t) { return 0x1111; });
        seed_random(77);
        {
            const locked_pixels pixels(&back());
            draw_noise_lines(pixels, 40, 0xBEEF, left, top);
        }
        // Replay: a row of the picture area, then one draw per column.
        seed_random(77);
        std::vector<uint16_t> expected(320 * 240, 0x1111);
        for (int n = 0; n < 40; ++n) {
            const int32_t row = top + random_int(200);
            for (int32_t k = 0; k < 320; ++k) {
                const int32_t column = left + k;
                if (random_int(3) == 2 && row >= 0 && row < 240 && column >= 0 && column < 320)
                    expected[static_cast<size_t>(row * 320 + column)] = 0xBEEF;
            }
        }
        EXPECT_EQ(grid_of(back()).values, expected) << "at " << left << ", " << top;
    }
}

// So many lines that the area is covered long before the last: the lines
// left make no difference to the picture, and the generator must still end
// where drawing every one of them leaves it. Also with an area that is
// partly off the surface, and with one already covered before the first line.
TEST_F(NoiseLines, PastACoveredAreaThePictureAndTheGeneratorAreAsIfAllWereDrawn) {
    struct area {
        int32_t left, top;
        uint16_t before;
    };
    for (const area& a : {area{x, y, 0x1111}, area{-200, 100, 0x1111}, area{x, y, 0xBEEF}}) {
        constexpr int lines = 20000;
        fill_surface(back(), [&](int32_t, int32_t) { return a.before; });
        seed_random(5);
        {
            const locked_pixels pixels(&back());
            draw_noise_lines(pixels, lines, 0xBEEF, a.left, a.top);
        }
        const int32_t next = random_value();

        seed_random(5);
        std::vector<uint16_t> expected(320 * 240, a.before);
        for (int n = 0; n < lines; ++n) {
            const int32_t row = a.top + random_int(200);
            for (int32_t k = 0; k < 320; ++k) {
                const int32_t column = a.left + k;
                if (random_int(3) == 2 && row >= 0 && row < 240 && column >= 0 && column < 320)
                    expected[static_cast<size_t>(row * 320 + column)] = 0xBEEF;
            }
        }
        EXPECT_EQ(grid_of(back()).values, expected) << a.left << ", " << a.top;
        EXPECT_EQ(next, random_value()) << a.left << ", " << a.top;
    }
}

class Displacement : public part_test {
protected:
    std::unique_ptr<surface> picture(int32_t width, int32_t height,
                                     const std::function<uint16_t(int32_t, int32_t)>& value) {
        auto s = std::make_unique<surface>();
        EXPECT_EQ(s->create_surface(display(), 3, width, height), 0);
        fill_surface(*s, value);
        return s;
    }
};

// Every source pixel tells its position: row * 320 + column fits 16 bits.
uint16_t position_value(int32_t row, int32_t column) {
    return static_cast<uint16_t>(row * 320 + column);
}

TEST_F(Displacement, MovesByTheRedFieldsAndWrapsAt150RowsAnd320Columns) {
    // Only the red field counts: green and blue bits are set around it.
    auto row_map = picture(8, 8, [](int32_t, int32_t) { return 0xFFFF; });    // red 248
    auto column_map = picture(8, 8, [](int32_t, int32_t) { return 0xC81F; }); // red 200
    auto source = picture(320, 150, position_value);
    fill_surface(back(), [](int32_t, int32_t) { return 0xAAAA; });

    displacement pass;
    pass.row_map = row_map.get();
    pass.column_map = column_map.get();
    pass.source = source.get();
    pass.first_column = 100;
    pass.last_column = 139;
    pass.first_row = 0;
    pass.last_row = 3;
    run_displacement(display(), pass, x, y);

    const pixel_grid grid = grid_of(back());
    // Row 248 + 0 is above 149: 248 % 150 = 98. Column 200 + 119 = 319 stays,
    // 200 + 120 = 320 wraps to 0.
    EXPECT_EQ(grid.at(y + 0, 119), position_value(98, 319));
    EXPECT_EQ(grid.at(y + 0, 120), position_value(98, 0));
    EXPECT_EQ(grid.at(y + 3, 139), position_value(101, 19));
    EXPECT_EQ(grid.at(y + 0, 99), 0xAAAA);
    EXPECT_EQ(grid.at(y + 4, 100), 0xAAAA);
    EXPECT_EQ(grid.at(y - 1, 100), 0xAAAA);
}

TEST_F(Displacement, ReadsSmallPicturesAtTheirEdgesAndWritesOnlyIntoTheSurface) {
    // A 3 x 2 row map whose red grows to the right, a 2 x 2 column map of red 0,
    // a 5 x 4 source: every read beyond them takes their last row or column.
    auto row_map = picture(3, 2, [](int32_t, int32_t column) {
        return static_cast<uint16_t>(column << 11); // red 0, 8, 16
    });
    auto column_map = picture(2, 2, [](int32_t, int32_t) { return 0x001F; });
    auto source = picture(5, 4, [](int32_t row, int32_t column) {
        return static_cast<uint16_t>(0x100 * row + column);
    });
    fill_surface(back(), [](int32_t, int32_t) { return 0xAAAA; });

    displacement pass;
    pass.row_map = row_map.get();
    pass.row_map_at = {1.5f, 0.0f};
    pass.column_map = column_map.get();
    pass.column_map_at = {60.0f, 500.0f};
    pass.source = source.get();
    pass.first_column = 0;
    pass.last_column = 319;
    pass.first_row = 0;
    pass.last_row = 299; // 60 rows beyond the back surface
    run_displacement(display(), pass, x, y);

    const pixel_grid grid = grid_of(back());
    // Source row = red(row map) + j, clamped to 3; source column = i, clamped to 4.
    EXPECT_EQ(grid.at(y + 1, 0), 0x0100);     // red 0: row 1, column 0, inside
    EXPECT_EQ(grid.at(y + 0, 1), 0x0301);     // red 8: row 8 -> 3
    EXPECT_EQ(grid.at(y + 2, 4), 0x0304);     // red 16 (map column 2): row 18 -> 3
    EXPECT_EQ(grid.at(y + 2, 9), 0x0304);     // map column 9 -> 2, source column 9 -> 4
    EXPECT_EQ(grid.at(y + 219, 319), 0x0304); // row 235 wraps to 85, then -> 3
    EXPECT_EQ(grid.at(y - 1, 7), 0xAAAA);
}

class FlickerCaption : public part_test {
protected:
    // Pixels of the caption's area in the screen value of (level, level, level).
    int count_grey(uint8_t level) {
        const uint32_t value = screen_pixel(screen.display, level, level, level);
        const pixel_grid grid = grid_of(back());
        int count = 0;
        for (int32_t row = y + 160; row < y + 200; ++row)
            for (int32_t column = 0; column < 320; ++column) count += grid.at(row, column) == value;
        return count;
    }
    font* caption_font = create_font("MS SANS SERIFF", 12, 12);
};

TEST_F(FlickerCaption, StaysCleanOnTheTwoCallsAfterACleanOne) {
    // A seed whose next four draws of random_int(10) are 1 and then three
    // others: only the first call comes up clean by chance.
    uint32_t seed = 0;
    for (;; ++seed) {
        seed_random(seed);
        if (random_int(10) == 1 && random_int(10) != 1 && random_int(10) != 1 &&
            random_int(10) != 1)
            break;
    }
    seed_random(seed);
    int32_t clean_frames = 0;
    const bool expect_clean[] = {true, true, true, false};
    const int32_t expect_counter[] = {3, 2, 1, 0};
    for (int call = 0; call < 4; ++call) {
        fill_surface(back(), [](int32_t, int32_t) { return 0; });
        draw_flicker_caption(&back(), caption_font, "quit the scene", clean_frames, x + 20,
                             y + 170);
        EXPECT_EQ(clean_frames, expect_counter[call]) << call;
        EXPECT_EQ(count_grey(200) > 0, expect_clean[call]) << call;
        EXPECT_EQ(count_grey(160) > 0, !expect_clean[call]) << call;
    }
}

} // namespace
} // namespace vilora
