// The credits' scene: the wasp and the daisy.
#include "kit/content/scenes/scenes.h"
#include "kit/shapes/rig.h"

#include <algorithm>
#include <cmath>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;

// A daisy, its head about the origin facing -y and tipped up (towards a
// camera in front of it and above): eight petals round a domed middle, on a
// stem down to z = -50 with two leaves. The petals come first: the credits'
// wireframe copy draws only the first eighth of the faces.
tds::mesh flower_mesh() {
    mesh_builder b("Flower");
    const vec3 facing = normalised({0, -1, 0.5f}), across{1, 0, 0};
    const vec3 up = cross(facing, across) * -1;
    const int petals = 8;
    for (int p = 0; p < petals; ++p) {
        const float a = 2 * pi * (static_cast<float>(p) + 0.5f) / petals;
        const vec3 out = across * std::cos(a) + up * std::sin(a);
        const vec3 side = across * -std::sin(a) + up * std::cos(a);
        const uint16_t root = b.vertex(out * 6);
        const uint16_t left = b.vertex(out * 17 + side * 6 - facing * 2);
        const uint16_t right = b.vertex(out * 17 - side * 6 - facing * 2);
        const uint16_t tip = b.vertex(out * 27 - facing * 5);
        b.triangle(left, right, tip);
        b.triangle(root, right, left);
    }
    b.cone({0, 0, 0}, facing * 6, 8, 8);
    const uint16_t s0 = b.vertex({-1.5f, 2, -6}), s1 = b.vertex({1.5f, 2, -6});
    const uint16_t s2 = b.vertex({1.5f, 2, -50}), s3 = b.vertex({-1.5f, 2, -50});
    b.quad(s0, s1, s2, s3);
    for (const float side : {-1.0f, 1.0f}) {
        const uint16_t l0 = b.vertex({0, 2, -40}), l1 = b.vertex({side * 10, 2, -34});
        const uint16_t l2 = b.vertex({side * 22, 2, -28});
        const uint16_t l3 = b.vertex({side * 12, 2, -42});
        b.quad(l0, l1, l2, l3);
    }
    return with_back_faces(b.take("Chitin"));
}

// The mesh turned so that its z axis runs along -x from x = `from`.
tds::mesh along_minus_x(tds::mesh m, float from) {
    for (vec3& v : m.vertices) v = {from - v.z, v.y, v.x};
    return m;
}

// The wasp's abdomen: three banded segments swelling from a thin waist to a
// sting.
tds::mesh abdomen_mesh() {
    tds::mesh m = lathe("Abdomen", 0, 38, 6, 6, [](float t) {
        const float swell = std::sin(pi * std::pow(t, 0.8f));
        const float band = 1 - 0.18f * std::fabs(std::sin(3 * pi * t));
        return 0.8f + 9.5f * swell * band;
    });
    return with_back_faces(along_minus_x(m, -3));
}

// A wing from its root at the origin out along +y, lying in the plane z = 0
// and swept back: two large faces for the outline, then the rounded edge.
tds::mesh wing_mesh(const std::string& name, float side) {
    mesh_builder b(name);
    const uint16_t root = b.vertex({4, 0, 0}), back_root = b.vertex({-8, side * 2, 0});
    const uint16_t front = b.vertex({2, side * 22, 2}), tip = b.vertex({-20, side * 34, 4});
    b.triangle(root, front, tip);
    b.triangle(root, tip, back_root);
    const uint16_t bulge = b.vertex({-6, side * 31, 3}), trail = b.vertex({-18, side * 18, 2});
    b.triangle(front, bulge, tip);
    b.triangle(tip, trail, back_root);
    return with_back_faces(b.take("Glass"));
}

} // namespace

// Credits and odistort: a wasp loops beside a daisy, in profile against the
// dark rather than over the green flower, which the parts draw in the same
// green. Both parts play the loop from frame 0; the credits see it about
// seven times.
tds::scene vosaq_scene() {
    tds::scene s;
    s.end_frame = 100;
    s.materials = scene_materials();
    s.meshes = {flower_mesh(),         with_back_faces(ellipsoid("Thorax", {9, 7, 7.5f}, 3, 6)),
                abdomen_mesh(),        with_back_faces(ellipsoid("Head", {6, 7, 6.5f}, 3, 6)),
                wing_mesh("WingL", 1), wing_mesh("WingR", -1)};
    for (tds::mesh& m : s.meshes)
        if (m.groups.empty()) m.groups.push_back({"Chitin", {0, 1, 2}});
    tds::node flower = object_node(0, "Flower");
    flower.position = hold({0, 0, 0});
    flower.rotation = swing(0, 100, {0, 1, 0}, 0.12f, 2);
    flower.scale = hold({0.85f, 0.85f, 0.85f});
    // The loop: wide across the view and shallow in depth, so that the wasp
    // is seen from the side but for quick turns at the ends; farther and
    // higher along the top, nearer and lower along the bottom.
    constexpr float across = 26, deep = 16, high = 24;
    tds::node wasp = dummy_node(1, "Wasp");
    wasp.position = sampled(0, 100, 4, [](float t) {
        const float a = 2 * pi * t;
        return vec3{70 + across * std::cos(a), deep * std::sin(a),
                    9 + high * std::sin(a) + 3 * std::sin(6 * a)};
    });
    // Facing along the way it flies: the derivative of the loop.
    wasp.rotation = heading(0, 100, 4, [](float t) {
        const float a = 2 * pi * t;
        return std::atan2(deep * std::cos(a), -across * std::sin(a));
    });
    wasp.scale = hold({1.2f, 1.2f, 1.2f});
    auto part = [](uint16_t id, const char* name, vec3 at) {
        tds::node n = object_node(id, name, 1);
        n.position = hold(at);
        n.scale = hold({1, 1, 1});
        return n;
    };
    tds::node thorax = part(2, "Thorax", {6, 0, 0});
    tds::node abdomen = part(3, "Abdomen", {0, 0, -1});
    abdomen.rotation = swing(0, 100, {0, 1, 0}, 0.12f, 10);
    tds::node head = part(4, "Head", {20, 0, 2});
    head.rotation = swing(0, 100, {0, 0, 1}, 0.15f, 4);
    tds::node wing_l = part(5, "WingL", {8, 3, 6});
    wing_l.rotation = swing(0, 100, {1, 0, 0}, -0.55f, 25);
    tds::node wing_r = part(6, "WingR", {8, -3, 6});
    wing_r.rotation = swing(0, 100, {1, 0, 0}, 0.55f, 25);
    // The flower's head at (45, 72) of the credits' picture: the loop stays
    // above the credit boxes at the bottom left, and the wireframe copy at
    // twice the size about (120, 100) mostly left of the "credits" lettering.
    constexpr float lens = 43;
    auto eye = [](float t) { return vec3{25 * std::sin(2 * pi * t), -185, 80}; };
    const camera_rig cam = camera_path("Camera01", 8, 9, lens, 0, 100, 10, eye, [eye](float t) {
        return aim_beside(eye(t), {0, 0, 0}, -75, 28, part_projection(lens_fov(lens), 320));
    });
    s.cameras = {cam.camera};
    s.lights = {{"Sun", {100, -100, 150}, {1, 0.95f, 0.8f}}};
    s.nodes = {flower, wasp, thorax, abdomen, head, wing_l, wing_r, cam.eye, cam.target};
    return s;
}

} // namespace vilora::kit::data
