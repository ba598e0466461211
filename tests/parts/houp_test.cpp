#include "parts/houp.h"

#include "tests/parts/part_fixture.h"

#include <vector>

namespace vilora {
namespace {

class houp_test : public testing::scene_part_stage {
protected:
    // The first row at or below `from` with a pixel of `value` in columns 195
    // to 319; -1 for none.
    int32_t first_row_with(uint32_t value, int32_t from) {
        for (int32_t row = from; row < 200; ++row)
            for (int32_t column = 195; column < 320; ++column)
                if (back_pixel(column, row) == value) return row;
        return -1;
    }

    // Pixels of the picture area in one colour.
    int count_of(uint32_t value) {
        int count = 0;
        for (int32_t row = 0; row < 200; ++row)
            for (int32_t column = 0; column < 320; ++column)
                count += back_pixel(column, row) == value;
        return count;
    }
};

TEST_F(houp_test, frame_counts_down_to_0_then_jumps_to_the_last) {
    testing::test_scene scene;
    scene.start_frame = 3;
    scene.end_frame = 6;
    write_scene("psyki.3ds", scene);
    houp part(&display);
    ASSERT_TRUE(part.valid);
    const std::vector<float> frames = frames_of_runs(part, 11);
    EXPECT_EQ(frames, (std::vector<float>{2, 1, 0, 6, 5, 4, 3, 2, 1, 0, 6}));
}

TEST_F(houp_test, stretch_swings_in_steps_of_0_2_and_dips_below_2_for_one_call) {
    write_scene("psyki.3ds", testing::test_scene{});
    houp part(&display);
    ASSERT_TRUE(part.valid);
    // In float the step from 3.8 lands just above 4.0 and is taken back in
    // the same call, so 3.8 is the top and is held for two calls; 2.0 is not
    // below 2.0, so the value goes on to 1.8 before it turns.
    const float expected[] = {2.2f, 2.4f, 2.6f, 2.8f, 3.0f, 3.2f, 3.4f, 3.6f, 3.8f, 3.8f, 3.6f,
                              3.4f, 3.2f, 3.0f, 2.8f, 2.6f, 2.4f, 2.2f, 2.0f, 1.8f, 2.0f, 2.2f};
    for (float value : expected) {
        part.run(&display, 0, origin_x, origin_y);
        EXPECT_NEAR(houp::statics.stretch.value, value, 1e-5f);
    }
}

TEST_F(houp_test, grey_follows_depth_over_3_up_to_100) {
    // Depth 150 gives grey 50; depth 600 would give 200 and is held at 100.
    testing::test_scene scene = one_mesh_scene(1, 150.0f);
    scene.meshes.push_back(one_mesh_scene(1, 600.0f).meshes[0]);
    scene.meshes[1].name = "Far";
    write_scene("psyki.3ds", scene);
    houp part(&display);
    ASSERT_TRUE(part.valid);
    part.run(&display, 0, origin_x, origin_y);
    EXPECT_GT(count_of(colour(50, 50, 50)), 20);
    EXPECT_GT(count_of(colour(100, 100, 100)), 20);
    EXPECT_EQ(count_of(colour(200, 200, 200)), 0);
}

TEST_F(houp_test, five_rows_of_six_red_digits_10_apart_from_row_77) {
    write_scene("psyki.3ds", testing::test_scene{});
    houp part(&display);
    ASSERT_TRUE(part.valid);
    const uint32_t red = colour(200, 0, 0);
    for (int call = 0; call < 5; ++call) {
        part.run(&display, 0, origin_x, origin_y);
        // Each digit inks one run of columns; rows of 12-pixel cells 10 apart
        // do not overlap in ink.
        for (int32_t line = 0; line < 5; ++line) {
            int runs = 0;
            bool previous = false;
            for (int32_t column = 195; column < 320; ++column) {
                bool ink = false;
                for (int32_t row = 77 + 10 * line; row < 87 + 10 * line && !ink; ++row)
                    ink = back_pixel(column, row) == red;
                runs += ink && !previous;
                previous = ink;
            }
            EXPECT_EQ(runs, 6) << "call " << call << " line " << line;
        }
    }
    // The first row's cell starts on row 77: its ink begins where the same
    // font's digits begin below a cell top.
    const int32_t block_top = first_row_with(red, 0);
    back().clear(0);
    draw_text(&back(), origin_x + 200, origin_y + 10, 0x0000C8, part.digit_font, "0123456789");
    EXPECT_EQ(block_top - 77, first_row_with(red, 0) - 10);
}

} // namespace
} // namespace vilora
