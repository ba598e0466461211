#include "parts/scene_part.h"

#include "engine/data_files.h"
#include "library/file_problems.h"
#include "tests/library/library_test_support.h"
#include "tests/parts/test_scene.h"
#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace vilora {
namespace {

using testing::scene_bytes;
using testing::test_scene;
using testing::triangle_mesh;

struct seen_face {
    std::string mesh;
    int32_t face;
    scene_point a, b, c;
    float depth; // z of corner c
    bool locked; // the back surface, while the face is drawn
};

// A scene part reduced to the framework: it steps its frame by the common
// rule and records every face it would draw.
class probe_part : public scene_part {
public:
    probe_part(const char* file, float width, int32_t divisor = 1,
               scene_projection projection = centred_at(160.0f, 90.0f))
        : scene_part(file, width), divisor_(divisor), projection_(projection) {}

    void run(display_device* display) {
        seen.clear();
        if (!select_scene()) return;
        advance_frame();
        for_each_mesh(display, 0, 20, [&](const raster_target& raster) {
            for_each_face(divisor_, projection_, [&] {
                const bool locked = display->back->flags & surface_locked;
                EXPECT_EQ(raster.ok(), locked);
                seen.push_back(
                    {mesh->name, face_index, points[0], points[1], points[2], vertex[2], locked});
            });
        });
    }

    std::vector<seen_face> seen;

private:
    int32_t divisor_;
    scene_projection projection_;
};

class scene_part_test : public ::testing::Test {
protected:
    scene_part_test() { set_data_directory(dir.path.string()); }

    void write(const std::string& name, const test_scene& scene) {
        testing::write_bytes(dir / name, scene_bytes(scene));
    }

    testing::scratch_dir dir;
    testing::test_display screen;
};

// A field of view of 90 degrees makes persp_x = width / 2 and
// persp_y = 100 / 0.75, whatever lens the file names.
void widen_to_90_degrees(const probe_part& part) {
    part.scene_fields().camera->fov = 90.0f;
}

TEST_F(scene_part_test, missing_file_or_camera_leaves_the_part_invalid_and_idle) {
    probe_part missing("data\\nothing.3ds", 320.0f);
    EXPECT_FALSE(missing.valid);
    EXPECT_EQ(missing.scene_fields().camera, nullptr);

    test_scene no_camera;
    no_camera.camera_name = "Camera02";
    no_camera.meshes = {triangle_mesh("Tri", 1, 0, 0, 10, 1, 0, 10, 0, 1, 10)};
    write("nocam.3ds", no_camera);
    probe_part camera_less("data\\nocam.3ds", 320.0f);
    EXPECT_FALSE(camera_less.valid);
    camera_less.run(&screen.display);
    EXPECT_TRUE(camera_less.seen.empty());
    EXPECT_FALSE(screen.display.back->flags & surface_locked);
}

// The loads' results do not decide the part: a keyframer section that does
// not read leaves it valid, without motion, and the part says so once.
TEST_F(scene_part_test, a_keyframer_section_that_does_not_read_is_skipped_and_said) {
    test_scene broken;
    broken.meshes = {triangle_mesh("Tri", 1, 0, 0, 10, 1, 0, 10, 0, 1, 10)};
    broken.unknown_node = "Nobody";
    write("broken.3ds", broken);
    take_skipped_data();
    take_file_problem();
    probe_part part("data\\broken.3ds", 320.0f);
    EXPECT_TRUE(part.valid);
    EXPECT_EQ(part.scene_fields().scene->node_head, nullptr);
    const std::vector<file_problem> skipped = take_skipped_data();
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(skipped[0].file, (dir / "broken.3ds").string());
    EXPECT_EQ(skipped[0].cause.rfind("keyframer section skipped (a name no record has in chunk "
                                     "0xB010 at offset ",
                                     0),
              0u)
        << skipped[0].cause;
    EXPECT_FALSE(take_file_problem()) << "not a problem that fails the part";
    part.run(&screen.display);

    broken.unknown_node.clear();
    write("broken.3ds", broken);
    probe_part whole("data\\broken.3ds", 320.0f);
    EXPECT_TRUE(whole.valid);
    EXPECT_TRUE(take_skipped_data().empty());
}

TEST_F(scene_part_test, camera_is_camera01_else_rolli_sized_for_the_part) {
    test_scene rolli;
    rolli.camera_name = "rolli";
    rolli.start_frame = 3;
    rolli.end_frame = 17;
    write("ROLLI.3DS", rolli);
    probe_part part("data\\rolli.3ds", 220.0f);
    ASSERT_TRUE(part.valid);
    const scene_state& s = part.scene_fields();
    EXPECT_STREQ(s.camera->name, "rolli");
    EXPECT_EQ(s.cursor->record, s.camera);
    EXPECT_EQ(s.camera->width, 220.0f);
    EXPECT_EQ(s.camera->height, 200.0f);
    EXPECT_EQ(s.camera->aspect, 0.75f);
    EXPECT_EQ(s.frame, 3.0f);
    EXPECT_EQ(s.last_frame, 17.0f);
    EXPECT_EQ(s.point_count, -1);
    EXPECT_EQ(kf_active_camera(), s.camera);
}

TEST_F(scene_part_test, corners_project_about_the_centre_truncating_toward_zero) {
    test_scene scene;
    scene.meshes = {triangle_mesh("Tri", 1, 1.03f, 0.53f, 10, -16.37f, -2.0f, 10, 0.3f, 7.1f, 20)};
    write("tri.3ds", scene);
    probe_part part("data\\tri.3ds", 320.0f);
    ASSERT_TRUE(part.valid);
    widen_to_90_degrees(part);
    part.run(&screen.display);
    ASSERT_EQ(part.seen.size(), 1u);
    const seen_face& f = part.seen[0];
    EXPECT_NEAR(part.scene_fields().camera->persp_x, 160.0f, 1e-3f);
    EXPECT_NEAR(part.scene_fields().camera->persp_y, 133.333f, 1e-3f);
    // 160 * 0.103 + 160 = 176.48; 90 - 133.33 * 0.053 = 82.93.
    EXPECT_EQ(f.a.x, 176);
    EXPECT_EQ(f.a.y, 82);
    // 160 * -1.637 + 160 = -101.92 truncates to -101, not -102.
    EXPECT_EQ(f.b.x, -101);
    EXPECT_EQ(f.b.y, 116); // 90 + 26.67
    EXPECT_EQ(f.c.x, 162); // 160 + 2.4
    EXPECT_EQ(f.c.y, 42);  // 90 - 47.33
    EXPECT_FLOAT_EQ(f.depth, 20.0f);
    EXPECT_EQ(part.scene_fields().point_count, -1);
    EXPECT_TRUE(f.locked);
    EXPECT_FALSE(screen.display.back->flags & surface_locked) << "the pass gives the lock back";

    // A surface locked before the pass stays locked after it.
    ASSERT_EQ(screen.display.back->lock(), 0);
    part.run(&screen.display);
    ASSERT_EQ(part.seen.size(), 1u);
    EXPECT_TRUE(screen.display.back->flags & surface_locked);
    screen.display.back->unlock();
}

TEST_F(scene_part_test, corners_on_or_behind_the_camera_plane_stay_defined) {
    test_scene scene;
    scene.meshes = {triangle_mesh("Edge", 1, 1, -1, 0, 0, 0, 0, 1, 0, -10)};
    write("edge.3ds", scene);
    probe_part part("data\\edge.3ds", 320.0f);
    ASSERT_TRUE(part.valid);
    widen_to_90_degrees(part);
    part.run(&screen.display);
    ASSERT_EQ(part.seen.size(), 1u);
    const seen_face& f = part.seen[0];
    // x / 0 is infinite: held at the limit on its side.
    EXPECT_EQ(f.a.x, projection_limit);
    EXPECT_EQ(f.a.y, projection_limit);
    // 0 / 0 has no value at all.
    EXPECT_EQ(f.b.x, 0);
    EXPECT_EQ(f.b.y, 0);
    // Behind the camera the projection mirrors and is drawn as it comes.
    EXPECT_EQ(f.c.x, 144);
    EXPECT_EQ(f.c.y, 90);
}

TEST_F(scene_part_test, passes_widen_narrow_or_squeeze_the_projection) {
    test_scene scene;
    scene.meshes = {triangle_mesh("Tri", 1, 1.03f, 0.53f, 10, -0.5f, 0, 10, 0.3f, 7.1f, 20)};
    write("tri.3ds", scene);
    scene_projection wide = centred_at(160.0f, 90.0f);
    wide.persp_offset = 200.0f;
    scene_projection squeezed = centred_at(50.0f, 90.0f);
    squeezed.shrink_x = 2.6f;
    probe_part plain("data\\tri.3ds", 320.0f);
    probe_part widened("data\\tri.3ds", 320.0f, 1, wide);
    probe_part stretched("data\\tri.3ds", 320.0f, 1, squeezed);
    for (probe_part* part : {&plain, &widened, &stretched}) {
        widen_to_90_degrees(*part);
        part->run(&screen.display);
        ASSERT_EQ(part->seen.size(), 1u);
    }
    // (160 + 200) * 0.103 + 160 = 197.08; 90 - (133.33 + 200) * 0.053 = 72.33.
    EXPECT_EQ(widened.seen[0].a.x, 197);
    EXPECT_EQ(widened.seen[0].a.y, 72);
    // (160 * 0.103 + 50) * 2.6 = 172.85; y as usual.
    EXPECT_EQ(stretched.seen[0].a.x, 172);
    EXPECT_EQ(stretched.seen[0].a.y, plain.seen[0].a.y);
    // Each corner keeps its depth, truncated.
    EXPECT_EQ(plain.seen[0].a.spare, 10);
    EXPECT_EQ(plain.seen[0].c.spare, 20);
}

TEST_F(scene_part_test, parts_run_in_one_frame_each_draw_their_own_scene) {
    test_scene first;
    first.meshes = {triangle_mesh("A1", 1, 1.03f, 0.53f, 10, 2, 0, 10, 0, 2, 10),
                    triangle_mesh("A2", 2, -1.03f, 0.53f, 10, 2, 0, 10, 0, 2, 10)};
    write("first.3ds", first);
    test_scene second;
    second.meshes = {triangle_mesh("B1", 1, 1.03f, 0.53f, 10, 2, 0, 10, 0, 2, 10)};
    write("second.3ds", second);
    probe_part a("data\\first.3ds", 320.0f);
    probe_part b("data\\second.3ds", 220.0f);
    ASSERT_TRUE(a.valid && b.valid);
    widen_to_90_degrees(a);
    widen_to_90_degrees(b);
    for (int frame = 0; frame < 3; ++frame) {
        a.run(&screen.display);
        b.run(&screen.display);
        ASSERT_EQ(a.seen.size(), 3u);
        EXPECT_EQ(a.seen[0].mesh, "A1");
        EXPECT_EQ(a.seen[1].mesh, "A2");
        EXPECT_EQ(a.seen[2].mesh, "A2");
        EXPECT_EQ(a.seen[0].a.x, 176); // persp_x 160
        EXPECT_EQ(a.seen[1].a.x, 143);
        ASSERT_EQ(b.seen.size(), 1u);
        EXPECT_EQ(b.seen[0].mesh, "B1");
        EXPECT_EQ(b.seen[0].a.x, 171); // persp_x 110: 160 + 11.33
        EXPECT_EQ(kf_active_scene(), b.scene_fields().scene);
    }
}

TEST_F(scene_part_test, frame_wraps_to_zero_and_a_refused_frame_keeps_the_scene_where_it_was) {
    test_scene scene;
    scene.start_frame = 5;
    scene.end_frame = 8;
    write("short.3ds", scene);
    probe_part part("data\\short.3ds", 320.0f);
    ASSERT_TRUE(part.valid);
    // The part's frame, and the frame the scene was left at by the library.
    const float expected[][2] = {{6, 6}, {7, 7}, {8, 7}, {0, 7}, {1, 7},
                                 {2, 7}, {3, 7}, {4, 7}, {5, 5}, {6, 6}};
    for (const auto& e : expected) {
        part.run(&screen.display);
        EXPECT_EQ(part.scene_fields().frame, e[0]);
        EXPECT_EQ(kf_active_scene()->frame, e[1]);
    }
}

TEST_F(scene_part_test, face_selection_takes_the_first_share_by_index) {
    test_scene scene;
    scene.meshes = {triangle_mesh("Seven", 7, 1, 0, 10, 2, 0, 10, 0, 2, 10),
                    triangle_mesh("Fifteen", 15, 1, 0, 10, 2, 0, 10, 0, 2, 10)};
    write("faces.3ds", scene);
    // Seven and fifteen faces: 7 + 15, 3 + 7, 2 + 5, 0 + 1, 0 + 0.
    const std::pair<int32_t, int> shares[] = {{1, 22}, {2, 10}, {3, 7}, {8, 1}, {16, 0}};
    for (const auto& [divisor, count] : shares) {
        probe_part part("data\\faces.3ds", 320.0f, divisor);
        part.run(&screen.display);
        EXPECT_EQ(static_cast<int>(part.seen.size()), count) << "divisor " << divisor;
        if (!part.seen.empty()) {
            EXPECT_EQ(part.seen.back().face, 15 / divisor - 1);
        }
    }
}

TEST(scene_part_helpers, ping_pong_uses_each_end_value_twice) {
    float value = 0.0f;
    bool rising = true;
    std::vector<float> values;
    for (int i = 0; i < 10; ++i) {
        ping_pong_step(value, rising, 0.0f, 3.0f);
        values.push_back(value);
    }
    EXPECT_EQ(values, (std::vector<float>{1, 2, 3, 3, 2, 1, 0, 0, 1, 2}));
}

TEST(scene_part_helpers, depth_values_are_defined_for_any_float) {
    EXPECT_EQ(depth_value(-2.7f), -2);
    EXPECT_EQ(depth_value(2.7f), 2);
    EXPECT_EQ(depth_value(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(depth_value(std::numeric_limits<float>::infinity()), 2147483520);
    EXPECT_EQ(depth_value(-1e20f), -2147483520);
}

} // namespace
} // namespace vilora
