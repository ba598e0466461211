// The scenes with living things: the hedgehog, the wasp, the dogs, the swimmers.
#include "kit/art/noise.h"
#include "kit/data/rig.h"
#include "kit/data/scenes.h"

#include <cmath>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;

vec3 on_circle(float radius, float angle, float z) {
    return {radius * std::cos(angle), radius * std::sin(angle), z};
}

// Body with spines on its back; the spines come first, so that a part
// drawing half of the faces shows every spine.
tds::mesh hedgehog_mesh() {
    const tds::mesh body = ellipsoid("Hedgehog", {14, 10, 9}, 8, 12);
    mesh_builder b("Hedgehog");
    art::scatter rng(7);
    for (int s = 0; s < 44; ++s) {
        const float theta = rng.uniform(0.1f, 1.5f), phi = rng.uniform(0.6f, 5.7f);
        const vec3 d{std::sin(theta) * std::cos(phi) * 14, std::sin(theta) * std::sin(phi) * 10,
                     std::cos(theta) * 9};
        const vec3 n = normalised(d), side = normalised(cross(n, {0, 0, 1}));
        const vec3 up = cross(side, n);
        const vec3 tip = d * 0.95f + (n + vec3{-0.6f, 0, 0}) * rng.uniform(8, 13);
        const uint16_t t = b.vertex(tip);
        const uint16_t p0 = b.vertex(d + side * 2);
        const uint16_t p1 = b.vertex(d - side * 1 + up * 1.7f);
        const uint16_t p2 = b.vertex(d - side * 1 - up * 1.7f);
        b.triangle(t, p0, p1);
        b.triangle(t, p1, p2);
        b.triangle(t, p2, p0);
    }
    b.merge(body);
    return b.take("Fur");
}

} // namespace

tds::scene hedge_scene() {
    tds::scene s;
    s.end_frame = 60;
    s.materials = scene_materials();
    s.meshes = {hedgehog_mesh(), ellipsoid("Snout", {5, 3, 3}, 4, 6),
                mushroom_mesh("Shroom1", 7, 9, 1), mushroom_mesh("Shroom2", 6, 8, 2)};
    s.lights = {{"Omni01", {-60, -80, 90}}};
    tds::node hog = object_node(0, "Hedgehog");
    hog.position = sampled(0, 60, 10, [](float t) { return vec3{0, 0, 3 * std::sin(4 * pi * t)}; });
    hog.rotation = swing(0, 60, {0, 0, 1}, 0.35f, 2);
    hog.scale = sampled(0, 60, 15, [](float t) {
        const float k = 1 + 0.06f * std::sin(2 * pi * t);
        return vec3{k, k, k};
    });
    tds::node snout = object_node(1, "Snout", 0);
    snout.position = hold({15, 0, -1});
    snout.scale = hold({1, 1, 1});
    snout.rotation = swing(0, 60, {0, 1, 0}, 0.2f, 6);
    tds::node orbit = dummy_node(2, "Orbit");
    orbit.position = hold({0, 0, 2});
    orbit.rotation = spin(0, 60, {0, 0, 1}, 1);
    tds::node shroom1 = object_node(3, "Shroom1", 2);
    shroom1.position = hold({30, 0, 0});
    shroom1.rotation = spin(0, 60, {0, 0, 1}, -2);
    shroom1.scale = hold({1, 1, 1});
    tds::node shroom2 = object_node(4, "Shroom2", 2);
    shroom2.position = hold({-30, 4, 4});
    shroom2.rotation = swing(0, 60, {1, 0, 0}, 0.3f, 3);
    shroom2.scale = sampled(0, 60, 10, [](float t) {
        const float k = 0.8f + 0.3f * std::sin(2 * pi * t);
        return vec3{k, k, k};
    });
    shroom2.hide_keys = {20, 30};
    const camera_rig cam = camera_path(
        "Camera01", 5, 6, 50, 0, 60, 10,
        [](float t) { return on_circle(150, -2.2f + 1.1f * t, 50 - 15 * t); },
        [](float) {
            return vec3{0, 0, 2};
        });
    s.cameras = {cam.camera};
    s.nodes = {hog, snout, orbit, shroom1, shroom2, cam.eye, cam.target};
    return s;
}

namespace {

tds::mesh flower_mesh() {
    mesh_builder b("Flower");
    for (int p = 0; p < 6; ++p) {
        const float a = static_cast<float>(p) * pi / 3;
        tds::mesh petal = ellipsoid("Flower", {11, 5, 1.5f}, 4, 8);
        for (vec3& v : petal.vertices)
            v = {v.x * std::cos(a) - v.y * std::sin(a) + 13 * std::cos(a),
                 v.x * std::sin(a) + v.y * std::cos(a) + 13 * std::sin(a), v.z + 0.08f * v.x * v.x};
        b.merge(petal);
    }
    b.merge(ellipsoid("Flower", {5, 5, 3}, 4, 8), {0, 0, 2});
    b.merge(lathe("Flower", -35, 0, 4, 6, [](float) { return 1.5f; }));
    return b.take();
}

} // namespace

tds::scene vosaq_scene() {
    tds::scene s;
    s.end_frame = 100;
    s.materials = scene_materials();
    s.meshes = {flower_mesh(),
                ellipsoid("Thorax", {6, 5, 5}, 6, 8),
                ellipsoid("Abdomen", {11, 6, 6}, 8, 10,
                          [](vec3 d) { return 1 + 0.12f * std::cos(9 * d.x); }),
                ellipsoid("Head", {4, 4.5f, 4}, 5, 8),
                ellipsoid("WingL", {9, 4, 0.4f}, 4, 8),
                ellipsoid("WingR", {9, 4, 0.4f}, 4, 8),
                lathe("Stinger", 0, 5, 2, 5, [](float t) { return 1.5f * (1 - t); })};
    for (tds::mesh& m : s.meshes) m.groups.push_back({"Chitin", {0, 1, 2}});
    tds::node flower = object_node(0, "Flower");
    flower.position = hold({0, 0, -25});
    flower.rotation = swing(0, 100, {0, 0, 1}, 0.25f, 1);
    flower.scale = hold({1, 1, 1});
    tds::node wasp = dummy_node(1, "Wasp");
    wasp.position = sampled(
        0, 100, 10,
        [](float t) {
            return vec3{32 * std::sin(2 * pi * t), 22 * std::sin(4 * pi * t),
                        6 * std::cos(2 * pi * t)};
        },
        tds::track_loop);
    wasp.rotation = swing(0, 100, {0, 0, 1}, 0.9f, 2);
    wasp.scale = hold({1.8f, 1.8f, 1.8f});
    auto part = [](uint16_t id, const char* name, vec3 at) {
        tds::node n = object_node(id, name, 1);
        n.position = hold(at);
        n.scale = hold({1, 1, 1});
        return n;
    };
    tds::node thorax = part(2, "Thorax", {0, 0, 0});
    tds::node abdomen = part(3, "Abdomen", {-15, 0, -2});
    abdomen.rotation = swing(0, 100, {0, 1, 0}, 0.15f, 5);
    tds::node head = part(4, "Head", {9, 0, 1});
    tds::node wing_l = part(5, "WingL", {-2, 7, 5});
    wing_l.rotation = swing(0, 100, {1, 0, 0}, 0.6f, 25);
    tds::node wing_r = part(6, "WingR", {-2, -7, 5});
    wing_r.rotation = swing(0, 100, {1, 0, 0}, -0.6f, 25);
    tds::node stinger = object_node(7, "Stinger", 3);
    stinger.position = hold({-11, 0, 0});
    stinger.rotation = {tds::track_once, {{0, {-pi / 2, {0, 1, 0}}, {}}}};
    stinger.scale = hold({1, 1, 1});
    const camera_rig cam = camera_path(
        "Camera01", 8, 9, 35, 0, 100, 10,
        [](float t) { return on_circle(190, -1.9f + 0.6f * std::sin(2 * pi * t), 55); },
        [](float) {
            return vec3{0, 0, -6};
        });
    s.cameras = {cam.camera};
    s.lights = {{"Sun", {100, -100, 150}, {1, 0.95f, 0.8f}}};
    s.nodes = {flower, wasp, thorax, abdomen, head, wing_l, wing_r, stinger, cam.eye, cam.target};
    return s;
}

} // namespace vilora::kit::data
