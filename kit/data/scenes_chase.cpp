// Scenes of things chasing: the dogs round their bone, the swimmers to the egg.
#include "kit/data/rig.h"
#include "kit/data/scenes.h"

#include <cmath>
#include <string>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;

tds::mesh pair_of_legs(const std::string& name) {
    mesh_builder b(name);
    b.merge(cuboid(name, {3, 3, 11}), {0, 4, -5.5f});
    b.merge(cuboid(name, {3, 3, 11}), {0, -4, -5.5f});
    return b.take("Fur");
}

// A dog as a dummy with body, head, two pairs of legs and a tail; node ids
// from `first`. Its meshes are appended to the scene.
void add_dog(tds::scene& s, int number, uint16_t first, float phase) {
    const std::string n = std::to_string(number);
    s.meshes.push_back(cuboid("Body" + n, {24, 10, 10}));
    s.meshes.push_back(pair_of_legs("Front" + n));
    s.meshes.push_back(pair_of_legs("Back" + n));
    s.meshes.push_back(cuboid("Tail" + n, {10, 2, 2}));
    s.meshes.push_back(cuboid("Head" + n, {10, 8, 8}));
    tds::node dog = dummy_node(first, "Dog" + n);
    dog.position = sampled(0, 80, 5, [phase](float t) {
        const float a = 2 * pi * t + phase;
        return vec3{34 * std::cos(a), 34 * std::sin(a), 2 * std::fabs(std::sin(8 * pi * t))};
    });
    // Facing along the circle: a quarter turn ahead of the position angle.
    dog.rotation = spin(0, 80, {0, 0, 1}, 1);
    dog.rotation.keys[0].value.angle = phase + pi / 2;
    dog.rotation.keys[0].value.axis = {0, 0, 1};
    s.nodes.push_back(dog);
    auto child = [&](uint16_t id, const std::string& name, vec3 at) {
        tds::node c = object_node(id, name, static_cast<int16_t>(first));
        c.position = hold(at);
        c.scale = hold({1, 1, 1});
        return c;
    };
    s.nodes.push_back(child(first + 1, "Body" + n, {0, 0, 11}));
    tds::node front = child(first + 2, "Front" + n, {9, 0, 7});
    front.rotation = swing(0, 80, {0, 1, 0}, 0.5f, 8);
    tds::node back = child(first + 3, "Back" + n, {-9, 0, 7});
    back.rotation = swing(0, 80, {0, 1, 0}, -0.5f, 8);
    tds::node tail = child(first + 4, "Tail" + n, {-15, 0, 16});
    tail.pivot = vec3{-5, 0, 0};
    tail.rotation = swing(0, 80, {0, 0, 1}, 0.7f, 16);
    tds::node head = child(first + 5, "Head" + n, {15, 0, 17});
    head.rotation = swing(0, 80, {0, 1, 0}, 0.2f, 4);
    head.scale = sampled(0, 80, 20, [](float t) {
        const float k = 1 + 0.1f * std::sin(2 * pi * t);
        return vec3{k, k, k};
    });
    for (tds::node* c : {&front, &back, &tail, &head}) s.nodes.push_back(*c);
}

} // namespace

tds::scene psyki_scene() {
    tds::scene s;
    s.end_frame = 80;
    s.materials = scene_materials();
    s.meshes.push_back(lathe("Bone", -12, 12, 6, 6, [](float t) {
        const float knob = std::fabs(2 * t - 1);
        return 2.5f + 3.5f * knob * knob * knob * knob;
    }));
    tds::node bone = object_node(0, "Bone");
    bone.position = hold({0, 0, 6});
    bone.rotation = spin(0, 80, {0.3f, 0.2f, 1}, 2);
    bone.scale = hold({1, 1, 1});
    s.nodes.push_back(bone);
    add_dog(s, 1, 1, 0);
    add_dog(s, 2, 7, pi);
    const camera_rig cam = camera_path(
        "Camera01", 13, 14, 50, 0, 80, 10,
        [](float t) {
            const float a = -1.6f + 0.5f * std::sin(2 * pi * t);
            return vec3{200 * std::cos(a), 200 * std::sin(a), 80};
        },
        [](float) {
            return vec3{0, 0, 8};
        });
    s.cameras = {cam.camera};
    s.lights = {{"Lamp", {0, 0, 120}, {1, 0.9f, 0.7f}, true, {0, 0, 0}, 40, 60}};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

namespace {

// A tail along -x from the head, wiggling sideways with the given phase; all
// tails share one topology so that they can morph into each other.
tds::mesh tail_mesh(const std::string& name, float phase) {
    mesh_builder b(name);
    const int rings = 10, sides = 4;
    for (int r = 0; r <= rings; ++r) {
        const float t = static_cast<float>(r) / rings;
        const float x = -4 - 30 * t, y = 5 * t * std::sin(2 * pi * t * 1.5f + phase);
        const float radius = 1.2f * (1 - 0.8f * t);
        for (int k = 0; k < sides; ++k) {
            const float a = 2 * pi * static_cast<float>(k) / sides;
            b.vertex({x, y + radius * std::cos(a), radius * std::sin(a)});
        }
    }
    for (int r = 0; r < rings; ++r)
        for (int k = 0; k < sides; ++k) {
            auto at = [&](int rr, int kk) {
                return static_cast<uint16_t>(rr * sides + kk % sides);
            };
            b.quad(at(r, k), at(r + 1, k), at(r + 1, k + 1), at(r, k + 1));
        }
    return b.take();
}

tds::track<std::string> wiggle(const std::string& a, const std::string& b) {
    tds::track<std::string> t;
    for (uint32_t frame = 0, i = 0; frame <= 90; frame += 5, ++i)
        t.keys.push_back({frame, i % 2 ? b : a, {}});
    return t;
}

} // namespace

tds::scene sperm_scene() {
    tds::scene s;
    s.end_frame = 90;
    s.materials = scene_materials();
    s.meshes.push_back(
        geosphere("Egg", 16, 2, [](vec3 d) { return 1 + 0.04f * std::sin(7 * d.x + 5 * d.y); }));
    tds::node egg = object_node(0, "Egg");
    egg.position = hold({0, 0, 0});
    egg.rotation = spin(0, 90, {0, 0, 1}, 1);
    egg.scale = sampled(0, 90, 15, [](float t) {
        const float k = 1 + 0.05f * std::sin(6 * pi * t);
        return vec3{k, k, k};
    });
    s.nodes.push_back(egg);
    const float start[3] = {0.3f, 2.4f, 4.3f};
    for (int i = 0; i < 3; ++i) {
        const std::string n = std::to_string(i + 1);
        s.meshes.push_back(ellipsoid("Head" + n, {5, 3.5f, 3.2f}, 5, 8));
        s.meshes.push_back(tail_mesh("Tail" + n, i == 1 ? pi : 0));
        const auto id = static_cast<uint16_t>(1 + 3 * i);
        tds::node swimmer = dummy_node(id, "Swimmer" + n);
        const float a0 = start[i];
        swimmer.position = sampled(0, 90, 10, [a0](float t) {
            const float r = 60 - 30 * t, a = a0 + 1.5f * t;
            return vec3{r * std::cos(a), r * std::sin(a), 10 * std::sin(3 * a)};
        });
        swimmer.rotation = {tds::track_once,
                            {{0, {a0 + pi, {0, 0, 1}}, {}}, {90, {1.5f, {0, 0, 1}}, {}}}};
        tds::node head =
            object_node(static_cast<uint16_t>(id + 1), "Head" + n, static_cast<int16_t>(id));
        head.position = hold({0, 0, 0});
        head.scale = hold({1, 1, 1});
        head.rotation = swing(0, 90, {0, 0, 1}, 0.15f, 9);
        tds::node tail =
            object_node(static_cast<uint16_t>(id + 2), "Tail" + n, static_cast<int16_t>(id));
        tail.position = hold({0, 0, 0});
        tail.scale = hold({1, 1, 1});
        tail.morph = i == 1 ? wiggle("Tail2", "Tail1") : wiggle("Tail1", "Tail2");
        s.nodes.push_back(swimmer);
        s.nodes.push_back(head);
        s.nodes.push_back(tail);
    }
    const camera_rig cam = camera_path(
        "Camera01", 10, 11, 35, 0, 90, 15,
        [](float t) {
            return vec3{-40 + 20 * t, -170 + 20 * t, -30 + 15 * std::sin(2 * pi * t)};
        },
        [](float) {
            return vec3{-32, 0, -18};
        });
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

} // namespace vilora::kit::data
