#include "parts/ogreety.h"

#include "tests/parts/part_fixture.h"
#include "tests/support/surface_pixels.h"

namespace vilora {
namespace {

using ogreety_test = testing::scene_part_stage;

TEST_F(ogreety_test, name_changes_on_every_fifth_mode_1_call) {
    write_scene("psyki.3ds", one_mesh_scene(12, 100.0f));
    ogreety part(&display);
    ASSERT_TRUE(part.valid);
    seed_random(11);
    std::vector<int32_t> chosen;
    for (int i = 0; i < 3; ++i) chosen.push_back(random_int(14));
    seed_random(11);
    for (int call = 1; call <= 15; ++call) {
        part.run(&display, 1, origin_x, origin_y);
        const size_t changes = static_cast<size_t>(call / 5);
        EXPECT_EQ(part.name_index, changes == 0 ? 0 : chosen[changes - 1]) << "call " << call;
        EXPECT_EQ(ogreety::statics.name_timer, 5 - call % 5);
    }
    // The timer belongs to the class: a second ogreety goes on counting.
    for (int call = 0; call < 3; ++call) part.run(&display, 1, origin_x, origin_y);
    ogreety other(&display);
    for (int call = 0; call < 2; ++call) other.run(&display, 1, origin_x, origin_y);
    EXPECT_EQ(ogreety::statics.name_timer, 5);
}

TEST_F(ogreety_test, bubble_hangs_on_corner_a_of_face_10) {
    write_scene("psyki.3ds", one_mesh_scene(11, 100.0f));
    ogreety part(&display);
    part.run(&display, 0, origin_x, origin_y);
    EXPECT_EQ(part.bubble_x, 0) << "mode 0 leaves the scene alone";
    part.run(&display, 1, origin_x, origin_y);
    // Corner a of the 220-wide camera's triangle about (160, 90).
    EXPECT_NEAR(part.bubble_x, 124, 1);
    EXPECT_NEAR(part.bubble_y, 134, 1);
    EXPECT_EQ(part.bubble_x, part.scene_fields().points[0].x);
}

TEST_F(ogreety_test, meshes_of_10_faces_never_move_the_bubble) {
    write_scene("psyki.3ds", one_mesh_scene(10, 100.0f));
    ogreety part(&display);
    for (int call = 0; call < 3; ++call) part.run(&display, 1, origin_x, origin_y);
    EXPECT_EQ(part.bubble_x, 0);
    EXPECT_EQ(part.bubble_y, 0);
}

TEST_F(ogreety_test, mode_0_turns_by_5_and_shows_the_second_picture_below_180_degrees) {
    write_scene("psyki.3ds", one_mesh_scene(12, 100.0f));
    ogreety part(&display);
    // Blue comes only from "hlask9.bmp" at (60, 80), level 150.
    auto second_picture_shown = [&] {
        return (testing::pixel_at(*display.back, 70, origin_y + 90) & 0x1F) != 0;
    };
    for (int call = 1; call <= 36; ++call) {
        display.back->clear(0);
        part.run(&display, 0, origin_x, origin_y);
        EXPECT_EQ(part.angle, 5 * call);
        EXPECT_EQ(second_picture_shown(), part.angle < 180) << "angle " << part.angle;
    }
    part.run(&display, 1, origin_x, origin_y);
    EXPECT_EQ(part.angle, 175);
}

} // namespace
} // namespace vilora
