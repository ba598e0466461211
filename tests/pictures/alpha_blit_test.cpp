#include "engine/engine.h"
#include "tests/pictures/blit_expectations.h"
#include "tests/pictures/blit_pictures.h"
#include "tests/support/surface_pixels.h"

#include <gtest/gtest.h>

namespace vilora {
namespace {

using namespace vilora::testing;

struct alpha_mode {
    int depth;
    bool mmx;
};

class AlphaEveryMode : public ::testing::TestWithParam<alpha_mode> {
protected:
    void SetUp() override { processor.cpu_has_mmx = GetParam().mmx; }
    path_scope paths;
    blit_screen screen{GetParam().depth, 240};
    std::mt19937 random{4321};
};

TEST_P(AlphaEveryMode, FollowsTheFormulasOnRandomPicturesAndPlacements) {
    // Odd widths leave 1 to 3 pixels after the last group of four.
    for (int32_t width : {1, 3, 6, 9, 41}) {
        const int32_t index = screen.add_picture(width, 17, false, true);
        for (int round = 0; round < 6; ++round) {
            fill_random(screen.picture(index), random);
            fill_random_alpha(screen.picture(index), random);
            fill_random(screen.back(), random);
            const auto x = static_cast<int32_t>(random() % 400) - 45;
            const auto y = static_cast<int32_t>(random() % 250) - 20;
            const std::vector<uint32_t> before = pixel_values(screen.back());
            screen.list.draw_picture_alpha(&screen.back(), x, y, index);
            ASSERT_EQ(pixel_values(screen.back()), expected_blend(screen, index, x, y, -1, before))
                << "width " << width << " at " << x << ", " << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, AlphaEveryMode,
                         ::testing::Values(alpha_mode{8, false}, alpha_mode{16, false},
                                           alpha_mode{16, true}, alpha_mode{24, false},
                                           alpha_mode{32, true}),
                         [](const auto& info) {
                             return std::to_string(info.param.depth) + "bit" +
                                    (info.param.mmx ? "_four_pixel" : "_scalar");
                         });

// An alpha map all 255 draws the colours an unkeyed draw_picture draws (the
// fast copy also copies the fourth byte of 32-bit pixels, which blends leave).
TEST(AlphaOpaque, AnOpaqueMapCopiesLikeDrawPicture) {
    path_scope paths;
    std::mt19937 random{55};
    for (int depth : {16, 24, 32}) {
        blit_screen screen{depth, 240};
        const int32_t index = screen.add_picture(50, 30, false, true);
        fill_random(screen.picture(index), random);
        std::fill_n(screen.picture(index).alpha_map.get(), 50 * 30, uint8_t{255});
        fill_random(screen.back(), random);
        const std::vector<uint32_t> before = pixel_values(screen.back());
        auto colours = [&] {
            std::vector<uint32_t> values = pixel_values(screen.back());
            for (uint32_t& v : values) v &= 0xFFFFFF;
            return values;
        };
        screen.list.draw_picture(&screen.back(), 290, 5, index);
        const std::vector<uint32_t> copied = colours();
        for (bool four_pixel : {false, true}) {
            processor.cpu_has_mmx = four_pixel;
            set_pixel_values(screen.back(), before);
            screen.list.draw_picture_alpha(&screen.back(), 290, 5, index);
            EXPECT_EQ(colours(), copied) << depth << " bits, four-pixel " << four_pixel;
        }
    }
}

class Alpha565 : public ::testing::Test {
protected:
    path_scope paths;
    blit_screen screen{16, 200};
};

TEST_F(Alpha565, AnOpaqueLaneInAMixedGroupTakesTheGroupedFormula) {
    processor.cpu_has_mmx = true;
    const int32_t index = screen.add_picture(4, 1, false, true);
    const uint8_t alphas[4] = {255, 255, 255, 0};
    for (int32_t x = 0; x < 4; ++x) {
        set_pixel(screen.picture(index), x, 0, 63u << 5); // green 63
        screen.picture(index).alpha_map[x] = alphas[x];
        set_pixel(screen.back(), x, 0, 0x0801); // red 1, blue 1: neither is kept by a copy
    }
    screen.list.draw_picture_alpha(&screen.back(), 0, 0, index);
    // 0 + floor(63 * 255 / 256) - 0 = 62; red and blue 1 - floor(255 / 256) = 1.
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(pixel_at(screen.back(), x, 0), 62u << 5 | 0x0801);
    EXPECT_EQ(pixel_at(screen.back(), 3, 0), 0x0801u);
}

TEST_F(Alpha565, HalfAlphaOverBlack) {
    processor.cpu_has_mmx = false;
    const int32_t index = screen.add_picture(1, 1, false, true);
    set_pixel(screen.picture(index), 0, 0, 0xFFFF);
    screen.picture(index).alpha_map[0] = 128;
    set_pixel(screen.back(), 0, 0, 0);
    screen.list.draw_picture_alpha(&screen.back(), 0, 0, index);
    EXPECT_EQ(pixel_at(screen.back(), 0, 0), 15u << 11 | 31u << 5 | 15u);
}

TEST_F(Alpha565, ClippedPicturesTakeTheAlphaOfTheirOwnPixels) {
    const int32_t index = screen.add_picture(8, 4, false, true);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 8; ++x) {
            set_pixel(screen.picture(index), x, y, 0xFFFF);
            // Only columns 3..6 of row 2 are opaque: drawn at -3 they make the
            // first group of four of the clipped row.
            screen.picture(index).alpha_map[y * 8 + x] = x >= 3 && x <= 6 && y == 2 ? 255 : 0;
        }
    for (bool four_pixel : {false, true}) {
        processor.cpu_has_mmx = four_pixel;
        screen.back().clear(0);
        screen.list.draw_picture_alpha(&screen.back(), -3, -1, index);
        for (uint32_t y = 0; y < 4; ++y)
            for (uint32_t x = 0; x < 6; ++x)
                EXPECT_EQ(pixel_at(screen.back(), static_cast<int32_t>(x), static_cast<int32_t>(y)),
                          x <= 3 && y == 1 ? 0xFFFFu : 0u);
    }
}

TEST(Alpha8Bit, AlphasFrom248CopyTheSourceIndex) {
    blit_screen screen{8, 200};
    const int32_t index = screen.add_picture(16, 1, false, true);
    for (int32_t x = 0; x < 16; ++x) {
        set_pixel(screen.picture(index), x, 0, 200);
        screen.picture(index).alpha_map[x] = static_cast<uint8_t>(240 + x);
        set_pixel(screen.back(), x, 0, 5);
    }
    screen.list.draw_picture_alpha(&screen.back(), 0, 0, index);
    for (int32_t x = 8; x < 16; ++x) EXPECT_EQ(pixel_at(screen.back(), x, 0), 200u) << x;
}

TEST(AlphaSafety, APictureWithoutAlphaMapDrawsNothing) {
    blit_screen screen{16, 200};
    const int32_t index = screen.add_picture(16, 16);
    screen.back().clear(0x1234);
    screen.list.draw_picture_alpha(&screen.back(), 0, 0, index);
    EXPECT_EQ(pixel_at(screen.back(), 3, 3), 0x1234u);
}

} // namespace
} // namespace vilora
