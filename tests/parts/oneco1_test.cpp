#include "parts/oneco1.h"

#include "tests/parts/part_fixture.h"
#include "tests/support/surface_pixels.h"

#include <vector>

namespace vilora {
namespace {

class oneco1_test : public testing::scene_part_stage {
protected:
    oneco1_test() { write_scene("hrouda2.3ds", scene); }

    // Every pixel of the back surface set to a colour no drawing uses.
    void mark_back() {
        testing::fill_surface(back(), [](int32_t, int32_t) { return uint16_t{0x1234}; });
    }

    // The top row of the first band of caption rows that starts on picture-area
    // row 40 or below (the bands are 20 apart and under 20 high).
    int32_t caption_band_top() {
        const uint32_t grey = colour(180, 180, 180);
        bool previous = true;
        for (int32_t row = 39; row < 200; ++row) {
            bool ink = false;
            for (int32_t column = 20; column < 320 && !ink; ++column)
                ink = back_pixel(column, row) == grey;
            if (ink && !previous) return row;
            previous = ink;
        }
        return -1;
    }

    testing::test_scene scene; // a camera, no meshes
};

TEST_F(oneco1_test, backdrops_follow_1_2_3_0_1) {
    oneco1 part(&display);
    ASSERT_TRUE(part.valid);
    for (const char* name : {"noon1.bmp", "noon2.bmp", "noon3.bmp", "noon0.bmp", "noon1.bmp"}) {
        part.run(&display, 0, origin_x, origin_y);
        EXPECT_EQ(back_pixel(5, 100), colour_of(name)) << name;
    }
}

TEST_F(oneco1_test, bars_cover_the_letterbox_and_are_empty_on_a_200_line_screen) {
    oneco1 part(&display);
    ASSERT_TRUE(part.valid);
    mark_back();
    part.run(&display, 0, origin_x, origin_y);
    for (int32_t row : {0, 19, 220, 239})
        for (int32_t column : {0, 100, 319})
            EXPECT_EQ(testing::pixel_at(back(), column, row), 0u) << column << "," << row;
    EXPECT_EQ(back_pixel(5, 0), colour_of("noon1.bmp"));
    EXPECT_EQ(back_pixel(5, 199), colour_of("noon1.bmp"));

    // The 200-line show: the picture area at the top, nothing to cover.
    set_screen(&display, 320, 200);
    origin_y = 0;
    oneco1 small(&display);
    ASSERT_TRUE(small.valid);
    mark_back();
    small.run(&display, 0, 0, 0);
    EXPECT_EQ(testing::pixel_at(back(), 5, 0), colour_of("noon2.bmp"));
    EXPECT_EQ(testing::pixel_at(back(), 5, 199), colour_of("noon2.bmp"));
    EXPECT_EQ(testing::pixel_at(back(), 5, 200), 0x1234u);
    EXPECT_EQ(testing::pixel_at(back(), 5, 239), 0x1234u);
}

TEST_F(oneco1_test, caption_rows_move_down_a_pixel_per_call_and_jump_back_after_roll_20) {
    oneco1 part(&display);
    ASSERT_TRUE(part.valid);
    std::vector<int32_t> tops;
    for (int call = 1; call <= 23; ++call) {
        part.run(&display, 0, origin_x, origin_y);
        tops.push_back(caption_band_top());
        ASSERT_GE(tops.back(), 40) << "call " << call;
    }
    // Rolls 1 to 20, then 0, 1, 2: rolls 20 and 0 put the rows on the same
    // lines, 20 apart.
    for (size_t k = 1; k < tops.size(); ++k) {
        const int32_t moved = (tops[k] - tops[k - 1] + 20) % 20;
        EXPECT_EQ(moved, k == 20 ? 0 : 1) << "call " << k + 1;
    }
    EXPECT_EQ(oneco1::statics.roll, 2);
}

TEST_F(oneco1_test, frame_rocks_between_60_and_the_end_never_returning_below_60) {
    scene.start_frame = 55;
    scene.end_frame = 63;
    write_scene("hrouda2.3ds", scene);
    oneco1 part(&display);
    ASSERT_TRUE(part.valid);
    const std::vector<float> frames = frames_of_runs(part, 20);
    EXPECT_EQ(frames, (std::vector<float>{56, 57, 58, 59, 60, 61, 62, 63, 63, 62,
                                          61, 60, 60, 61, 62, 63, 63, 62, 61, 60}));
}

} // namespace
} // namespace vilora
