#include "parts/otitulek.h"

#include "tests/parts/part_fixture.h"

#include <vector>

namespace vilora {
namespace {

class otitulek_test : public testing::scene_part_stage {
protected:
    otitulek_test() { write_scene("hedge.3ds", one_mesh_scene(3, 100.0f)); }
};

TEST_F(otitulek_test, a_missing_scene_leaves_it_invalid_without_pictures) {
    std::filesystem::remove(data / "hedge.3ds");
    otitulek part(&display);
    EXPECT_FALSE(part.valid);
    EXPECT_EQ(part.tops.picture_count(), 0);
    EXPECT_EQ(part.mushroom.picture_count(), 0);
}

TEST_F(otitulek_test, frame_swings_from_0_to_30_using_each_end_twice) {
    otitulek part(&display);
    ASSERT_TRUE(part.valid);
    EXPECT_EQ(part.scene_fields().last_frame, 30.0f);
    const std::vector<float> frames = frames_of_runs(part, 64);
    for (int call = 1; call <= 30; ++call) EXPECT_EQ(frames[call - 1], call);
    EXPECT_EQ(frames[30], 30.0f);
    EXPECT_EQ(frames[31], 29.0f);
    EXPECT_EQ(frames[60], 0.0f);
    EXPECT_EQ(frames[61], 0.0f);
    EXPECT_EQ(frames[62], 1.0f);
    EXPECT_EQ(part.angle, 64);
    // The wireframe moves one frame on every tenth call.
    EXPECT_EQ(part.wire_frame, 6);
    EXPECT_EQ(part.wire_delay, 6);
}

TEST_F(otitulek_test, angle_runs_1_to_360_and_round_again) {
    otitulek part(&display);
    for (int call = 0; call < 361; ++call) part.run(&display, 0, origin_x, origin_y);
    EXPECT_EQ(part.angle, 1);
}

TEST_F(otitulek_test, mode_5_shows_a_title_picture_and_moves_nothing) {
    otitulek part(&display);
    part.run(&display, 4, origin_x, origin_y);
    const float frame = part.scene_fields().frame;
    const float scene_frame = kf_active_scene()->frame;
    seed_random(99);
    for (int call = 0; call < 12; ++call) part.run(&display, 5, origin_x, origin_y);
    EXPECT_EQ(part.scene_fields().frame, frame);
    EXPECT_EQ(kf_active_scene()->frame, scene_frame);
    EXPECT_EQ(part.angle, 1);
    EXPECT_EQ(part.wire_delay, 9);
    EXPECT_EQ(part.fade, 1);
    // One draw per call, for the picture.
    seed_random(99);
    int32_t last_top = 0;
    for (int call = 0; call < 12; ++call) last_top = random_int(4);
    const int32_t after = random_value();
    seed_random(99);
    for (int call = 0; call < 12; ++call) part.run(&display, 5, origin_x, origin_y);
    EXPECT_EQ(random_value(), after);
    const std::string top = "top" + std::to_string(last_top) + ".bmp";
    for (const auto& [x, y] : {std::pair{0, 0}, {160, 100}, {319, 199}})
        EXPECT_EQ(back_pixel(x, y), colour_of(top));
}

TEST_F(otitulek_test, fade_reaches_183_after_183_mode_4_calls_and_stays) {
    otitulek part(&display);
    for (int call = 0; call < 182; ++call) part.run(&display, 4, origin_x, origin_y);
    EXPECT_EQ(part.fade, 182);
    part.run(&display, 4, origin_x, origin_y);
    EXPECT_EQ(part.fade, 183);
    // A seed whose noise draw (the second of the call) brings no noise lines.
    uint32_t seed = 1;
    for (;; ++seed) {
        seed_random(seed);
        random_int(4);
        if (random_int(10) != 3) break;
    }
    seed_random(seed);
    part.run(&display, 6, origin_x, origin_y);
    EXPECT_EQ(part.fade, 183);
    // The mushroom lies over rows 70 + 0..3 to 129 + 0..3, brighter than the title.
    const uint32_t title_pixel = back_pixel(5, 50);
    EXPECT_NE(back_pixel(5, 100), title_pixel);
    EXPECT_EQ(back_pixel(5, 140), title_pixel);
}

TEST_F(otitulek_test, solid_pass_circles_the_first_half_of_the_faces_grey_by_depth) {
    otitulek part(&display);
    part.run(&display, 0, origin_x, origin_y);
    // Angle 1: offsets truncate(50 cos 1 - 20) = 29 and truncate(50 sin 1 - 20) = -19,
    // so the triangle (107, 144), (213, 144), (160, 56) moves to about
    // (136, 125), (242, 125), (189, 37).
    const uint32_t grey = colour(100, 100, 100);
    EXPECT_EQ(back_pixel(189, 100), grey);
    EXPECT_EQ(back_pixel(230, 120), grey);
    EXPECT_NE(back_pixel(110, 142), grey);
    EXPECT_NE(back_pixel(189, 130), grey);
}

TEST_F(otitulek_test, wireframe_is_drawn_from_mode_2_on) {
    const uint32_t wire_grey = colour(50, 50, 50);
    auto wire_pixels = [&] {
        int count = 0;
        for (int32_t y = 0; y < 200; ++y)
            for (int32_t x = 0; x < 320; ++x) count += back_pixel(x, y) == wire_grey;
        return count;
    };
    otitulek part(&display);
    part.run(&display, 1, origin_x, origin_y);
    EXPECT_EQ(wire_pixels(), 0);
    part.run(&display, 2, origin_x, origin_y);
    EXPECT_GT(wire_pixels(), 100);
}

TEST_F(otitulek_test, mode_3_draws_200_noise_lines_every_frame) {
    otitulek part(&display);
    seed_random(5);
    part.run(&display, 3, origin_x, origin_y);
    int noise = 0;
    for (int32_t y = 0; y < 200; ++y)
        for (int32_t x = 0; x < 320; ++x) noise += back_pixel(x, y) == colour(220, 220, 220);
    // 200 rows of about 107 pixels each, many rows hit twice.
    EXPECT_GT(noise, 8000);
}

} // namespace
} // namespace vilora
