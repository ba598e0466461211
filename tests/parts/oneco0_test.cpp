#include "parts/oneco0.h"

#include "tests/parts/part_fixture.h"

namespace vilora {
namespace {

class oneco0_test : public testing::scene_part_stage {
protected:
    // Grey scan line pixels on a picture-area row (may be 200, just below the
    // picture area), right of where the triangles lie.
    int grey_on_row(int32_t row) {
        int count = 0;
        for (int32_t column = 150; column < 320; ++column)
            count += back_pixel(column, row) == colour(120, 120, 120);
        return count;
    }

    // How many values the generator moves on by while `part` runs once.
    int32_t draws_taken(oneco0& part, uint32_t seed) {
        seed_random(seed);
        part.run(&display, 0, origin_x, origin_y);
        const int32_t next = random_value();
        seed_random(seed);
        for (int32_t n = 0; n < 5000; ++n)
            if (random_value() == next) return n;
        return -1;
    }
};

// A small triangle whose corner a lies on the view axis at depth 100, `up`
// camera units above it: with the part's widened projection a projects to
// column 160 and, on a 90-degree camera, row 90 - 333.33 * up / 100.
testing::test_mesh small_face(const std::string& name, int faces, float up) {
    return testing::triangle_mesh(name, faces, 0, up, 100, 3, up, 100, 0, up + 3, 100);
}

// A field of view of 90 degrees makes persp_y = 100 / 0.75 whatever lens the
// file names, so that rows can be placed exactly.
void widen_to_90_degrees(const oneco0& part) {
    part.scene_fields().camera->fov = 90.0f;
}

TEST_F(oneco0_test, every_eleventh_face_counted_across_meshes_and_frames_throws_a_scan_line) {
    testing::test_scene scene;
    scene.meshes = {small_face("A", 4, 0), small_face("B", 3, 0)};
    write_scene("sperm.3ds", scene);
    oneco0 part(&display);
    ASSERT_TRUE(part.valid);
    widen_to_90_degrees(part);
    // Seven faces: no eleventh yet, and no chance drawn.
    EXPECT_EQ(draws_taken(part, 9), 0);
    const int32_t row = part.scene_fields().points[0].y + 50;
    EXPECT_EQ(row, 140);
    EXPECT_EQ(grey_on_row(row), 0);
    // Faces 8 to 14: the fourth face of this frame is the eleventh; its line
    // runs from column 160 - 100 to 319.
    EXPECT_EQ(draws_taken(part, 9), 260);
    EXPECT_GT(grey_on_row(row), 10);
    // Faces 15 to 21: none.
    EXPECT_EQ(draws_taken(part, 9), 0);
    EXPECT_EQ(grey_on_row(row), 0);
    // Face 22 is the first of the fourth frame.
    EXPECT_EQ(draws_taken(part, 9), 260);
    EXPECT_GT(grey_on_row(row), 10);
}

TEST_F(oneco0_test, scan_line_row_must_lie_strictly_inside_the_picture_area) {
    // Four meshes of eleven faces, each one's last face throwing a line, with
    // corner a on relative rows -50, -49, 149 and 150 (truncated from
    // -50.5, -49.5, 149.5 and 150.5); the lines would lie on rows 0, 1, 199
    // and 200.
    testing::test_scene scene;
    scene.meshes = {small_face("Top", 11, 42.15f), small_face("TopIn", 11, 41.85f),
                    small_face("BottomIn", 11, -17.85f), small_face("Bottom", 11, -18.15f)};
    write_scene("sperm.3ds", scene);
    oneco0 part(&display);
    ASSERT_TRUE(part.valid);
    widen_to_90_degrees(part);
    // Every line takes its 260 chances, drawn or not.
    EXPECT_EQ(draws_taken(part, 4), 4 * 260);
    EXPECT_EQ(part.scene_fields().points[0].y, 150);
    EXPECT_EQ(grey_on_row(0), 0);
    EXPECT_GT(grey_on_row(1), 10);
    EXPECT_GT(grey_on_row(199), 10);
    EXPECT_EQ(grey_on_row(200), 0);
}

} // namespace
} // namespace vilora
