// Scenes of matter: the mushroom field, the clod and its pebbles, the screws.
#include "kit/art/noise.h"
#include "kit/data/rig.h"
#include "kit/data/scenes.h"

#include <cmath>
#include <string>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;

float field_height(float x, float y) {
    return 34 * (art::fbm(x / 90 + 3, y / 90 + 5, 11, 4) - 0.5f) +
           6 * std::sin(x / 23) * std::cos(y / 31);
}

} // namespace

tds::scene surfonsurf_scene() {
    tds::scene s;
    s.end_frame = 200;
    s.materials = scene_materials();
    // The sun comes first: the flare of the part rides on the first face it sees.
    s.meshes.push_back(geosphere("Sun", 9, 0));
    s.meshes.push_back(terrain("Ground", 150, 24, field_height));
    tds::node sun = object_node(0, "Sun");
    sun.position = hold({0, 420, 150});
    sun.rotation = spin(0, 200, {0, 0, 1}, 1);
    sun.scale = hold({1, 1, 1});
    tds::node ground = object_node(1, "Ground");
    ground.position = hold({0, 0, 0});
    ground.scale = hold({1, 1, 1});
    tds::node field = dummy_node(2, "Field");
    field.position = hold({0, 0, 0});
    s.nodes = {sun, ground, field};
    art::scatter rng(23);
    for (int i = 0; i < 9; ++i) {
        const std::string name = "Shroom" + std::to_string(i + 1);
        const float x = rng.uniform(-110, 110), y = rng.uniform(-110, 110);
        const float size = rng.uniform(14, 24);
        s.meshes.push_back(mushroom_mesh(name, size, size * 1.4f, static_cast<uint32_t>(i)));
        tds::node m = object_node(static_cast<uint16_t>(3 + i), name, 2);
        m.position = hold({x, y, field_height(x, y) + size * 1.3f});
        const float phase = rng.uniform(0, 2 * pi);
        m.scale = sampled(0, 200, 25, [phase](float t) {
            const float k = 0.85f + 0.2f * std::sin(4 * pi * t + phase);
            return vec3{k, k, k};
        });
        m.rotation = swing(0, 200, {1, 0, 0}, 0.12f, 4 + i % 3);
        s.nodes.push_back(m);
    }
    const camera_rig cam = camera_path(
        "Camera01", 20, 21, 28, 0, 200, 10,
        [](float t) {
            const float a = -pi / 2 + 0.9f * std::sin(2 * pi * t);
            return vec3{200 * std::cos(a), 200 * std::sin(a), 75 + 15 * std::sin(6 * pi * t)};
        },
        [](float t) {
            const float a = -pi / 2 + 0.9f * std::sin(2 * pi * t);
            return vec3{20 * std::cos(a + 1), 60 * std::sin(a + 1), 0};
        });
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

namespace {

tds::mesh lumpy(const std::string& name, float radius, int subdivisions, uint32_t seed) {
    return geosphere(name, radius, subdivisions, [seed](vec3 d) {
        return 0.75f + 0.5f * art::fbm(d.x * 1.7f + 4, d.y * 1.7f + d.z * 0.9f + 4, seed, 3);
    });
}

// An omni light circling and changing colour, a spot light with its target,
// and the ambient light, as nodes from `first_id` on.
void add_lights(tds::scene& s, uint16_t first_id) {
    s.lights = {{"Omni01", {80, -120, 100}, {0.9f, 0.8f, 0.7f}},
                {"Spot01", {-100, -60, 140}, {0.5f, 0.6f, 1}, true, {0, 0, 0}, 25, 40}};
    tds::node omni;
    omni.kind = tds::node_kind::omni_light;
    omni.id = first_id;
    omni.name = "Omni01";
    omni.position = sampled(0, 120, 40, [](float t) {
        return vec3{80 * std::cos(2 * pi * t), -120, 100};
    });
    omni.colour = {tds::track_once, {{0, {0.9f, 0.8f, 0.7f}, {}}, {120, {0.6f, 0.7f, 1}, {}}}};
    tds::node spot;
    spot.kind = tds::node_kind::spot_light;
    spot.id = static_cast<uint16_t>(first_id + 1);
    spot.name = "Spot01";
    spot.position = hold({-100, -60, 140});
    spot.roll = {tds::track_once, {{0, 0.0f, {}}}};
    tds::node spot_target;
    spot_target.kind = tds::node_kind::light_target;
    spot_target.id = static_cast<uint16_t>(first_id + 2);
    spot_target.name = "Spot01";
    spot_target.position = hold({0, 0, 0});
    tds::node ambient;
    ambient.kind = tds::node_kind::ambient;
    ambient.id = static_cast<uint16_t>(first_id + 3);
    ambient.name = "$AMBIENT$";
    ambient.colour = {tds::track_once, {{0, {0.1f, 0.1f, 0.1f}, {}}}};
    for (const tds::node& n : {omni, spot, spot_target, ambient}) s.nodes.push_back(n);
}

} // namespace

tds::scene hrouda2_scene() {
    tds::scene s;
    s.end_frame = 120;
    s.materials = scene_materials();
    s.meshes.push_back(lumpy("Clod", 30, 2, 3));
    tds::node clod = object_node(0, "Clod");
    clod.position = hold({0, 0, 0});
    clod.rotation = spin(0, 120, {0.2f, 0.4f, 1}, 1);
    clod.scale = sampled(0, 120, 20, [](float t) {
        const float k = 1 + 0.08f * std::sin(4 * pi * t);
        return vec3{k, k, 1.1f * k};
    });
    tds::node moons = dummy_node(1, "Moons");
    moons.position = hold({0, 0, 0});
    moons.rotation = spin(0, 120, {0.3f, 0, 1}, 2);
    s.nodes = {clod, moons};
    for (int i = 0; i < 3; ++i) {
        const std::string name = "Pebble" + std::to_string(i + 1);
        s.meshes.push_back(
            lumpy(name, 7 + 2 * static_cast<float>(i), 1, 10 + static_cast<uint32_t>(i)));
        const float a = 2 * pi * static_cast<float>(i) / 3;
        tds::node p = object_node(static_cast<uint16_t>(2 + i), name, 1);
        p.position = hold({55 * std::cos(a), 55 * std::sin(a), 8 * std::sin(3 * a)});
        p.rotation = spin(0, 120, {1, 0.5f, 0}, 3 - i);
        p.scale = hold({1, 1, 1});
        s.nodes.push_back(p);
    }
    camera_rig cam = camera_path(
        "rolli", 5, 6, 50, 0, 120, 10,
        [](float t) {
            const float a = -pi / 2 + 0.7f * std::sin(2 * pi * t);
            return vec3{150 * std::cos(a), 150 * std::sin(a), 40 * std::cos(2 * pi * t)};
        },
        [](float) {
            return vec3{0, 0, 0};
        });
    cam.eye.roll = {tds::track_once, {{0, 0.0f, {}}, {60, 12.0f, {}}, {120, 0.0f, {}}}};
    cam.eye.fov = {tds::track_once,
                   {{0, 46.0f, {}}, {60, 40.0f, {0.2f, 0, 0, 0.5f, 0.5f}}, {120, 46.0f, {}}}};
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    add_lights(s, 7);
    return s;
}

namespace {

// A threaded shank along z with a hexagon head on top.
tds::mesh screw_mesh(const std::string& name) {
    mesh_builder b(name);
    const int rings = 9, sides = 10;
    for (int r = 0; r <= rings; ++r)
        for (int k = 0; k < sides; ++k) {
            const float a = 2 * pi * static_cast<float>(k) / sides;
            const float z = -36 + 36 * static_cast<float>(r) / rings;
            // Thread: a saw tooth in the helix parameter a / 2pi + z / pitch.
            const float h = a / (2 * pi) + z / 6;
            const float tooth = std::fabs(2 * (h - std::floor(h)) - 1);
            const float radius = (3.5f + 1.5f * tooth) * (r == 0 ? 0.4f : 1);
            b.vertex({radius * std::cos(a), radius * std::sin(a), z});
        }
    auto at = [&](int r, int k) { return static_cast<uint16_t>(r * sides + k % sides); };
    // Faces in turns of a helix across the rings, so that the first few faces
    // (all that oneco4 takes its sprite points from) climb the whole thread.
    for (int turn = 0; turn < sides; ++turn)
        for (int r = 0; r < rings; ++r) {
            const int k = (turn + 3 * r) % sides;
            b.quad(at(r, k), at(r, k + 1), at(r + 1, k + 1), at(r + 1, k));
        }
    tds::mesh head = lathe(name, 0, 6, 1, 6, [](float) { return 8.0f; });
    b.merge(head);
    return b.take("Steel");
}

} // namespace

tds::scene sroub2_scene() {
    tds::scene s;
    s.end_frame = 100;
    s.materials = scene_materials();
    tds::node rack = dummy_node(0, "Rack");
    rack.position = hold({0, 0, 0});
    rack.rotation = swing(0, 100, {0, 0, 1}, 0.5f, 1);
    s.nodes.push_back(rack);
    for (int i = 0; i < 3; ++i) {
        const std::string name = "Screw" + std::to_string(i + 1);
        s.meshes.push_back(screw_mesh(name));
        tds::node screw = object_node(static_cast<uint16_t>(1 + i), name, 0);
        const float x = 40 * static_cast<float>(i - 1), lift = 12 * static_cast<float>(i % 2);
        screw.position = sampled(0, 100, 10, [x, lift](float t) {
            return vec3{x, 0, 10 + lift + 14 * std::sin(2 * pi * t + x)};
        });
        screw.rotation = spin(0, 100, {0, 0, 1}, i == 1 ? -3 : 3);
        screw.scale = hold({1, 1, 1});
        s.nodes.push_back(screw);
    }
    s.meshes.push_back(
        lathe("Nut", -3, 3, 2, 6, [](float t) { return 9 - 2 * std::fabs(2 * t - 1); }));
    tds::node nut = object_node(4, "Nut", 0);
    nut.position = sampled(0, 100, 10, [](float t) {
        return vec3{0, 0, -20 + 8 * std::sin(2 * pi * t)};
    });
    nut.rotation = spin(0, 100, {0, 0, 1}, 4);
    nut.scale = hold({1.3f, 1.3f, 1.3f});
    s.nodes.push_back(nut);
    const camera_rig cam = camera_path(
        "Camera01", 5, 6, 50, 0, 100, 10,
        [](float t) {
            const float a = -pi / 2 + 0.5f * std::sin(2 * pi * t);
            return vec3{210 * std::cos(a), 210 * std::sin(a), 25 + 20 * std::sin(4 * pi * t)};
        },
        [](float) {
            return vec3{0, 0, -5};
        });
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

} // namespace vilora::kit::data
