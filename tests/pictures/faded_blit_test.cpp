#include "engine/engine.h"
#include "tests/pictures/blit_expectations.h"
#include "tests/pictures/blit_pictures.h"
#include "tests/support/surface_pixels.h"

#include <gtest/gtest.h>

#include <climits>

namespace vilora {
namespace {

using namespace vilora::testing;

constexpr uint32_t green_565(uint32_t g) {
    return g << 5;
}

// Every screen depth, 16 bits in both layouts, with and without the
// four-pixel paths.
struct fade_mode {
    int depth;
    high_colour_layout layout;
    bool mmx;
};

std::string mode_name(const ::testing::TestParamInfo<fade_mode>& info) {
    const fade_mode& m = info.param;
    std::string name = std::to_string(m.depth) + "bit";
    if (m.depth == 16) name += m.layout == high_colour_layout::rgb565 ? "_565" : "_555";
    return name + (m.mmx ? "_four_pixel" : "_scalar");
}

class FadeEveryMode : public ::testing::TestWithParam<fade_mode> {
protected:
    void SetUp() override { processor.cpu_has_mmx = GetParam().mmx; }
    path_scope paths;
    blit_screen screen{GetParam().depth, 240, GetParam().layout};
    std::mt19937 random{1234};
};

TEST_P(FadeEveryMode, FollowsTheFormulasOnRandomPicturesAndPlacements) {
    for (bool keyed : {false, true}) {
        const int32_t index = screen.add_picture(37, 23, keyed);
        for (int round = 0; round < 12; ++round) {
            fill_random(screen.picture(index), random);
            // Some black pixels, so that keyed pictures show through.
            for (int k = 0; k < 40; ++k)
                set_pixel(screen.picture(index), static_cast<int32_t>(random() % 37),
                          static_cast<int32_t>(random() % 23), 0);
            fill_random(screen.back(), random);
            const auto x = static_cast<int32_t>(random() % 380) - 40;
            const auto y = static_cast<int32_t>(random() % 260) - 20;
            const auto level = static_cast<int32_t>(random() % 256);
            const std::vector<uint32_t> before = pixel_values(screen.back());
            screen.list.draw_picture_faded(&screen.back(), x, y, index, level);
            ASSERT_EQ(pixel_values(screen.back()),
                      expected_blend(screen, index, x, y, level, before))
                << "keyed " << keyed << " at " << x << ", " << y << " level " << level;
        }
    }
}

TEST_P(FadeEveryMode, LevelZeroLeavesTheDestinationAndKeyedBlackShowsThrough) {
    const int32_t index = screen.add_picture(64, 32);
    fill_random(screen.picture(index), random);
    fill_random(screen.back(), random);
    const std::vector<uint32_t> before = pixel_values(screen.back());
    screen.list.draw_picture_faded(&screen.back(), 10, 30, index, 0);
    EXPECT_EQ(pixel_values(screen.back()), before);

    // A black picture: keyed it leaves everything, unkeyed it darkens.
    const int32_t black = screen.add_picture(64, 32, true);
    screen.list.draw_picture_faded(&screen.back(), 10, 30, black, 255);
    EXPECT_EQ(pixel_values(screen.back()), before);
    screen.picture(black).flags &= static_cast<uint8_t>(~surface_colour_keyed);
    screen.list.draw_picture_faded(&screen.back(), 10, 30, black, 255);
    EXPECT_NE(pixel_values(screen.back()), before);
}

INSTANTIATE_TEST_SUITE_P(Modes, FadeEveryMode,
                         ::testing::Values(fade_mode{8, high_colour_layout::rgb565, false},
                                           fade_mode{16, high_colour_layout::rgb565, false},
                                           fade_mode{16, high_colour_layout::rgb565, true},
                                           fade_mode{16, high_colour_layout::rgb555, false},
                                           fade_mode{16, high_colour_layout::rgb555, true},
                                           fade_mode{24, high_colour_layout::rgb565, false},
                                           fade_mode{32, high_colour_layout::rgb565, true}),
                         mode_name);

class Fade565 : public ::testing::Test {
protected:
    // A one-row picture of `width` pixels of `source` over a row of `destination`.
    std::vector<uint32_t> fade_row(int32_t width, uint32_t source, uint32_t destination,
                                   int32_t level, bool four_pixel) {
        processor.cpu_has_mmx = four_pixel;
        const int32_t index = screen.add_picture(width, 1);
        for (int32_t x = 0; x < width; ++x) {
            set_pixel(screen.picture(index), x, 0, source);
            set_pixel(screen.back(), x, 0, destination);
        }
        screen.list.draw_picture_faded(&screen.back(), 0, 0, index, level);
        std::vector<uint32_t> row;
        for (int32_t x = 0; x < width; ++x) row.push_back(pixel_at(screen.back(), x, 0));
        return row;
    }
    path_scope paths;
    blit_screen screen{16, 200};
};

TEST_F(Fade565, AFallingChannelNeverChangesItsNeighbour) {
    // Green 32 under black at 128: green 16, red and blue stay 0.
    for (bool four_pixel : {false, true})
        EXPECT_EQ(fade_row(4, 0, green_565(32), 128, four_pixel)[0], green_565(16));
    // Blue falling from 0x1F to 0 at 255 borrows nothing from green.
    EXPECT_EQ(fade_row(1, 0, 0x1F, 255, false)[0], 0u);
}

TEST_F(Fade565, GroupsOfFourRoundApartFromTheScalarRule) {
    // Source green 0, destination green 1, level 128: the grouped formula keeps
    // 1, the scalar one floors -0.5 to give 0.
    EXPECT_EQ(fade_row(4, 0, green_565(1), 128, true)[0], green_565(1));
    EXPECT_EQ(fade_row(4, 0, green_565(1), 128, false)[0], green_565(0));
    // A row of 6 on the four-pixel path: four grouped, two scalar.
    const std::vector<uint32_t> six = fade_row(6, 0, green_565(1), 128, true);
    EXPECT_EQ(six, (std::vector<uint32_t>{32, 32, 32, 32, 0, 0}));
}

TEST_F(Fade565, LevelsOutsideTheRangeAreHeldToIt) {
    EXPECT_EQ(fade_row(5, 0xFFFF, 0, 1000, true), fade_row(5, 0xFFFF, 0, 255, true));
    EXPECT_EQ(fade_row(5, 0xFFFF, 0x1234, -7, false)[0], 0x1234u);
}

TEST(Fade8Bit, EightLevelsShareOneWeight) {
    blit_screen screen{8, 200};
    std::mt19937 random{7};
    const int32_t index = screen.add_picture(40, 10);
    fill_random(screen.picture(index), random);
    fill_random(screen.back(), random);
    const std::vector<uint32_t> before = pixel_values(screen.back());
    // Levels 0..7 give the destination weight 31, which is its own colour back.
    for (int32_t level = 0; level < 8; ++level) {
        screen.list.draw_picture_faded(&screen.back(), 5, 5, index, level);
        ASSERT_EQ(pixel_values(screen.back()), before) << level;
    }
    screen.list.draw_picture_faded(&screen.back(), 5, 5, index, 8);
    const std::vector<uint32_t> at_8 = pixel_values(screen.back());
    EXPECT_NE(at_8, before);
    for (int32_t level = 9; level < 16; ++level) {
        set_pixel_values(screen.back(), before);
        screen.list.draw_picture_faded(&screen.back(), 5, 5, index, level);
        ASSERT_EQ(pixel_values(screen.back()), at_8) << level;
    }
}

TEST(FadeSafety, StaysInsideTheDestinationWhereverThePictureLies) {
    blit_screen screen{16, 240};
    std::mt19937 random{99};
    const int32_t index = screen.add_picture(320, 200);
    fill_random(screen.picture(index), random);
    surface small;
    ASSERT_EQ(small.create_surface(&screen.screen.display, 3, 16, 30), 0);
    small.clear(0x5555);
    // The clip (0, 20, 320, 220) reaches far past the 16 x 30 surface.
    screen.list.draw_picture_faded(&small, -3, 5, index, 200);
    EXPECT_EQ(pixel_at(small, 0, 19), 0x5555u);
    EXPECT_NE(pixel_at(small, 0, 20), 0x5555u);
    EXPECT_NE(pixel_at(small, 15, 29), 0x5555u);
    const std::vector<uint32_t> before = pixel_values(screen.back());
    for (int32_t x : {INT32_MIN, INT32_MAX, -320, 320})
        for (int32_t y : {INT32_MIN, INT32_MAX, -200, 220})
            screen.list.draw_picture_faded(&screen.back(), x, y, index, 128);
    screen.list.draw_picture_faded(&screen.back(), 0, 0, 5, 128);
    EXPECT_EQ(pixel_values(screen.back()), before);
}

} // namespace
} // namespace vilora
