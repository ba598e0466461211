#include "parts/oskred0.h"

#include "tests/parts/part_fixture.h"

namespace vilora {
namespace {

class oskred0_test : public testing::scene_part_stage {
protected:
    // The first row of column 4 that shows the credit picture, -1 for none.
    int32_t credit_top(const std::string& picture) {
        for (int32_t y = 0; y < 200; ++y)
            if (back_pixel(4, y) == colour_of(picture)) return y;
        return -1;
    }
};

TEST_F(oskred0_test, credit_slides_up_from_363_below_and_settles_at_154) {
    write_scene("vosaq.3ds", testing::test_scene{});
    oskred0 part(&display);
    ASSERT_TRUE(part.valid);
    std::vector<int32_t> tops;
    for (int call = 1; call <= 20; ++call) {
        part.run(&display, 2, origin_x, origin_y);
        if (call == 1) {
            EXPECT_EQ(part.drop[0], 19); // 154 + step_sum(19) = 154 + 209
        }
        tops.push_back(credit_top("cred-code.bmp"));
    }
    // Below the picture area until the fall distance is under 46 pixels.
    for (int call = 1; call <= 11; ++call) EXPECT_EQ(tops[call - 1], -1) << "call " << call;
    EXPECT_EQ(tops[11], 193); // 154 + 39, drop 8
    EXPECT_EQ(tops[17], 157); // 154 + 3, drop 2
    EXPECT_EQ(tops[18], 155); // 154 + 1
    EXPECT_EQ(tops[19], 154);
    EXPECT_EQ(part.drop[0], 0);
}

TEST_F(oskred0_test, drop_stops_at_0_and_falls_again_in_the_falling_mode) {
    write_scene("vosaq.3ds", testing::test_scene{});
    oskred0 part(&display);
    for (int call = 0; call < 25; ++call) part.run(&display, 3, origin_x, origin_y);
    EXPECT_EQ(part.drop[1], 0);
    EXPECT_EQ(credit_top("cred-music.bmp"), 131);
    part.run(&display, 6, origin_x, origin_y);
    EXPECT_EQ(part.drop[1], 1);
    EXPECT_EQ(credit_top("cred-music.bmp"), 132);
    part.run(&display, 6, origin_x, origin_y);
    EXPECT_EQ(credit_top("cred-music.bmp"), 134); // 1.1 + 2.2
    EXPECT_EQ(part.drop[0], 20);
    EXPECT_EQ(part.drop[2], 20);
    part.run(&display, 0, origin_x, origin_y);
    EXPECT_EQ(credit_top("cred-music.bmp"), -1);
    EXPECT_EQ(back_pixel(4, 160), colour_of("credits.bmp"));
}

TEST_F(oskred0_test, draws_one_jitter_per_mesh_and_nothing_else_at_random) {
    testing::test_scene scene = one_mesh_scene(16, 100.0f);
    scene.meshes.push_back(scene.meshes[0]);
    scene.meshes[1].name = "Tri2";
    write_scene("vosaq.3ds", scene);
    oskred0 part(&display);
    seed_random(3);
    random_value();
    random_value();
    const int32_t third = random_value();
    seed_random(3);
    part.run(&display, 2, origin_x, origin_y);
    EXPECT_EQ(random_value(), third);
}

TEST_F(oskred0_test, solid_pass_is_green_by_depth_about_120_100) {
    write_scene("vosaq.3ds", one_mesh_scene(2, 100.0f));
    oskred0 part(&display);
    part.run(&display, 0, origin_x, origin_y);
    // The triangle about (120, 100) in green 50: corners near (67, 144),
    // (173, 144), (120, 56). One face of two is solid; no face of the
    // wireframe's eighth.
    const uint32_t green = colour(9, 50, 9);
    EXPECT_EQ(back_pixel(120, 110), green);
    EXPECT_EQ(back_pixel(165, 140), green);
    EXPECT_NE(back_pixel(200, 110), green);
}

} // namespace
} // namespace vilora
