// The scene generators' rig: turns come out of our reader the way they are
// meant (counter-clockwise about their axis, in the file's axes), headings
// take the short way between keys, and aiming beside a subject puts it where
// a part projects it.
#include "kit/shapes/rig.h"
#include "kit/formats/scene_writer.h"
#include "scene3d/kf.h"
#include "tests/library/library_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace vilora::testing {
namespace {

namespace data = kit::data;
namespace tds = kit::tds;
constexpr float pi = 3.14159265358979f;

// A scene of one mesh, a marker point at (10, 0, 0) of the file's axes, and
// the given node for it; plus a camera at `eye` looking at `target`.
tds::scene marker_scene(const tds::node& marker, tds::vec3 eye = {0, -100, 0},
                        tds::vec3 target = {0, 0, 0}) {
    tds::scene s;
    s.end_frame = 60; // the reader takes no frame at or past the end
    data::mesh_builder b("Marker");
    const uint16_t p = b.vertex({10, 0, 0});
    b.triangle(p, b.vertex({10, 1, 0}), b.vertex({10, 0, 1}));
    s.meshes = {b.take()};
    s.nodes = {marker};
    const data::camera_rig cam = data::camera_path(
        "Camera01", 1, 2, 100, 0, 40, 20, [eye](float) { return eye; },
        [target](float) { return target; });
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

struct loaded {
    kf_scene* scene = nullptr;
    ~loaded() { kf_free_scene(scene); }
};

// Where the marker point lies at `frame`: world space in the file's axes
// without a camera; with the camera, its camera-space x, y and depth.
tds::vec3 marker_at(const tds::scene& s, float frame, bool through_camera = false,
                    float width = 320) {
    scratch_dir dir;
    write_bytes(dir / "m.3ds", tds::write_3ds(s));
    loaded l;
    kf_init(13);
    kf_alloc_scene(&l.scene);
    const std::string file = (dir / "m.3ds").string();
    EXPECT_EQ(kf_load_world(file.c_str(), l.scene), KF_OK);
    EXPECT_EQ(kf_load_motion(file.c_str(), l.scene), KF_OK);
    kf_set_active(l.scene);
    kf_world_node* entry = nullptr;
    kf_by_name("Camera01", &entry);
    kf_camera* camera = kf_as_camera(entry);
    camera->width = width;
    camera->height = 200;
    camera->aspect = 0.75f;
    kf_set_camera(through_camera ? camera : nullptr);
    kf_set_frame(frame);
    kf_update();
    kf_by_name("Marker", &entry);
    const kf_vector p = kf_as_object(entry)->vertices[0].camera_position;
    if (!through_camera) return {p.x, p.z, p.y}; // library axes have y up
    return {camera->persp_x * p.x / p.z, camera->persp_y * p.y / p.z, p.z};
}

tds::node marker_node() {
    tds::node n = data::object_node(0, "Marker");
    n.position = data::hold({0, 0, 0});
    n.scale = data::hold({1, 1, 1});
    return n;
}

TEST(Rig, TurnsGoCounterClockwiseAboutTheirAxis) {
    tds::node n = marker_node();
    n.rotation = data::turn_by(0, 40, {0, 0, 1}, pi / 2, 2);
    const tds::vec3 z_turned = marker_at(marker_scene(n), 40);
    EXPECT_NEAR(z_turned.x, 0, 1e-3);
    EXPECT_NEAR(z_turned.y, 10, 1e-3);
    n.rotation = data::turn_by(0, 40, {0, 1, 0}, pi / 2, 2);
    const tds::vec3 y_turned = marker_at(marker_scene(n), 40);
    EXPECT_NEAR(y_turned.x, 0, 1e-3);
    EXPECT_NEAR(y_turned.z, -10, 1e-3);
    // A swing starts at -angle and first goes to +angle.
    n.rotation = data::swing(0, 40, {0, 0, 1}, pi / 4, 1);
    EXPECT_LT(marker_at(marker_scene(n), 0).y, -5);
    EXPECT_GT(marker_at(marker_scene(n), 20).y, 5);
}

TEST(Rig, HeadingsTakeTheShortWayRound) {
    // An angle that crosses from just under pi to just over -pi between keys
    // is a small step on, not most of a turn back.
    const std::function<float(float)> angle = [](float t) {
        const float a = 2.6f + 1.2f * t;
        return a > pi ? a - 2 * pi : a;
    };
    const tds::track<tds::turn> h = data::heading(0, 40, 5, angle);
    ASSERT_EQ(h.keys.size(), 9u);
    for (size_t k = 1; k < h.keys.size(); ++k) EXPECT_LT(std::fabs(h.keys[k].value.angle), 0.2f);
    tds::node n = marker_node();
    n.rotation = h;
    for (const float frame : {0.0f, 20.0f, 40.0f}) {
        const tds::vec3 p = marker_at(marker_scene(n), frame);
        const float a = angle(frame / 40);
        EXPECT_NEAR(p.x, 10 * std::cos(a), 1e-2) << frame;
        EXPECT_NEAR(p.y, 10 * std::sin(a), 1e-2) << frame;
    }
}

TEST(Rig, AimingBesideASubjectPutsItThereInThePartsProjection) {
    const tds::vec3 eye{30, -200, 60}, subject{10, 0, 0};
    const float lens = 100;
    const data::projection p = data::part_projection(data::lens_fov(lens), 220);
    tds::node n = marker_node();
    tds::scene s = marker_scene(n, eye, data::aim_beside(eye, subject, -40, 25, p));
    const tds::vec3 at = marker_at(s, 0, true, 220);
    EXPECT_NEAR(at.x, -40, 2);
    EXPECT_NEAR(at.y, 25, 2);
    EXPECT_NEAR(data::lens_fov(50), 46, 1e-4); // a lens of the reader's table
    EXPECT_NEAR(data::lens_fov(100), 24, 1e-4);
}

} // namespace
} // namespace vilora::testing
