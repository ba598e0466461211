#include "parts/odistort.h"

#include "tests/parts/part_fixture.h"

#include <array>

namespace vilora {
namespace {

class odistort_test : public testing::scene_part_stage {
protected:
    odistort_test() { write_scene("vosaq.3ds", one_mesh_scene(3, 100.0f)); }
};

TEST_F(odistort_test, scroll_positions_keep_320_and_wrap_324_to_4) {
    odistort part(&display);
    ASSERT_TRUE(part.valid);
    part.run(&display, 0, origin_x, origin_y);
    EXPECT_EQ(odistort::statics.scroll, (std::array<int32_t, 3>{4, 111, 218}));
    odistort::statics.scroll = {316, 317, 320};
    part.run(&display, 0, origin_x, origin_y);
    EXPECT_EQ(odistort::statics.scroll, (std::array<int32_t, 3>{320, 1, 4}));
    part.run(&display, 0, origin_x, origin_y);
    EXPECT_EQ(odistort::statics.scroll, (std::array<int32_t, 3>{4, 5, 8}));
}

TEST_F(odistort_test, three_copies_at_0_6_scale_ride_on_the_scroll_positions) {
    odistort part(&display);
    part.run(&display, 0, origin_x, origin_y);
    // Red 50 by depth. The copy's corners, (persp x / z + 120) * 0.6 and
    // (100 - persp y / z) * 0.6 + 50, lie near (50, 136), (93, 136), (72, 83).
    const uint32_t copy = colour(50, 89, 89);
    for (int32_t left : odistort::statics.scroll) {
        EXPECT_EQ(back_pixel(left + 72, 120), copy) << left;
        EXPECT_NE(back_pixel(left + 72, 75), copy) << left;
    }
}

TEST_F(odistort_test, labels_are_black_text_50_pixels_right_of_each_copy) {
    odistort part(&display);
    part.run(&display, 0, origin_x, origin_y);
    for (int32_t left : odistort::statics.scroll) {
        int black = 0;
        for (int32_t y = 120; y < 134; ++y)
            for (int32_t x = left + 50; x < left + 80 && x < 320; ++x)
                black += back_pixel(x, y) == 0;
        EXPECT_GT(black, 5) << left;
        EXPECT_EQ(back_pixel(left + 49, 119), colour_of("lifelife.bmp"));
    }
}

} // namespace
} // namespace vilora
