// The scenes with living things: the hedgehog, the wasp, the dogs, the swimmers.
#include "kit/content/scenes/scenes.h"
#include "kit/shapes/rig.h"

#include <algorithm>
#include <cmath>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;

// The hedgehog's body: an ellipsoid of these half-axes about (0, 0, middle).
constexpr vec3 hog_body{30, 21, 19};
constexpr float hog_middle = 21;

// One layer of spines: flat spikes in the plane y = `y`, standing out of the
// body's outline over its back (narrowed for the layer's distance from the
// middle) and leaning towards the tail. Corner c of each spike is its tip.
void spine_layer(mesh_builder& b, float y, float first_angle, int count, float length) {
    const float narrowing = std::sqrt(std::max(0.0f, 1 - (y / hog_body.y) * (y / hog_body.y)));
    for (int i = 0; i < count; ++i) {
        // From above the neck (angle from +x over the top) to the rump.
        const float a = first_angle + (2.9f - first_angle) * static_cast<float>(i) /
                                          static_cast<float>(count - 1);
        const vec3 at{hog_body.x * narrowing * std::cos(a), y,
                      hog_middle + hog_body.z * narrowing * std::sin(a)};
        const vec3 out = normalised(vec3{std::cos(a) / hog_body.x, 0, std::sin(a) / hog_body.z});
        const vec3 along{-out.z, 0, out.x};
        const vec3 lean = normalised(out + vec3{-0.45f, 0, 0});
        const uint16_t p0 = b.vertex(at + along * 5);
        const uint16_t p1 = b.vertex(at - along * 5 - out * 2);
        const uint16_t tip = b.vertex(at + lean * length);
        b.triangle(p0, p1, tip);
    }
}

// A hedgehog facing +x, standing on z = 0: a round body under three layers of
// spines, a pointed snout and four stubby feet. The faces are drawn in list
// order without a depth test and seen from -y, so the far spines come first
// and the near ones after the body.
tds::mesh hedgehog_mesh() {
    mesh_builder b("Hedgehog");
    spine_layer(b, 13, 0.5f, 7, 17);
    spine_layer(b, 0, 0.4f, 8, 21);
    b.merge(ellipsoid("Hedgehog", hog_body, 3, 6), {0, 0, hog_middle});
    for (const float x : {-16.0f, 14.0f})
        for (const float y : {-11.0f, 11.0f}) {
            const uint16_t f0 = b.vertex({x - 5, y, 8}), f1 = b.vertex({x + 5, y, 8});
            const uint16_t f2 = b.vertex({x + 2, y, 0});
            b.triangle(f0, f1, f2);
        }
    spine_layer(b, -13, 0.6f, 7, 17);
    b.cone({24, 0, 17}, {50, 0, 11}, 8, 5);
    return with_back_faces(b.take("Fur"));
}

} // namespace

// The title: the hedgehog breathes and hops while three mushrooms ride a
// carousel round it. The parts draw meshes in list order without a depth
// test, so the mushrooms come first and the hedgehog covers those behind it;
// the camera looks down enough that those in front pass below it. The title
// part plays frames 0 to 30 back and forth, its wireframe copy ten times slower.
tds::scene hedge_scene() {
    tds::scene s;
    s.end_frame = 40;
    s.materials = scene_materials();
    s.lights = {{"Omni01", {-60, -80, 90}}};
    tds::node carousel = dummy_node(0, "Orbit");
    carousel.position = hold({0, 0, 0});
    carousel.rotation = turn_by(0, 40, {0, 0, 1}, 2 * pi * 40 / 60, 8);
    s.nodes = {carousel};
    for (int i = 0; i < 3; ++i) {
        const std::string name = "Shroom" + std::to_string(i + 1);
        const float cap = 14 - 2 * static_cast<float>(i);
        s.meshes.push_back(mushroom_mesh(name, cap, cap * 1.1f, 5));
        const float a = 2 * pi * static_cast<float>(i) / 3 + 0.6f;
        tds::node m = object_node(static_cast<uint16_t>(1 + i), name, 0);
        m.position = hold({54 * std::cos(a), 54 * std::sin(a), 0});
        m.rotation = swing(0, 40, {1, 0, 0}, 0.25f, 2 + i);
        m.scale = hold({1, 1, 1});
        s.nodes.push_back(m);
    }
    // Out of sight a while, after the frames the title plays.
    s.nodes[3].hide_keys = {34, 38};
    s.meshes.push_back(hedgehog_mesh());
    tds::node hog = object_node(4, "Hedgehog");
    hog.position = sampled(0, 40, 5, [](float t) {
        return vec3{0, 0, 3 * std::fabs(std::sin(3 * pi * t))};
    });
    hog.rotation = swing(0, 40, {0, 0, 1}, 0.18f, 1);
    hog.scale = sampled(0, 40, 5, [](float t) {
        const float k = 1 + 0.05f * std::sin(4 * pi * t);
        return vec3{k, k, 1 + 0.08f * std::sin(4 * pi * t + 1)};
    });
    s.nodes.push_back(hog);
    // The hedgehog 35 pixels below the solid pass's centre, so that its
    // circle keeps it mostly below the title's lettering.
    constexpr float lens = 24;
    auto eye = [](float t) { return vec3{40 - 20 * t, -110, 62 - 8 * t}; };
    const camera_rig cam = camera_path("Camera01", 5, 6, lens, 0, 40, 10, eye, [eye](float t) {
        return aim_beside(eye(t), {4, 0, 22}, 0, -35, part_projection(lens_fov(lens), 320));
    });
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

namespace {

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
