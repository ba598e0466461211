// Scenes of things chasing: the dogs round their bone, the swimmers to the egg.
#include "kit/content/scenes/scenes.h"
#include "kit/shapes/rig.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;

// Both parts draw the dogs as wireframes of every face, so the dogs are built
// of few faces with no turned-over copies (a copy would draw each edge twice).

// A dog's body, facing +x: a tent of two sides meeting along the back,
// taller at the chest than at the rump.
tds::mesh dog_body(const std::string& name) {
    mesh_builder b(name);
    const uint16_t rump = b.vertex({-14, 0, 23}), withers = b.vertex({12, 0, 27});
    for (const float side : {-6.0f, 6.0f}) {
        const uint16_t hip = b.vertex({-14, side * 0.8f, 12}), chest = b.vertex({12, side, 11});
        b.quad(rump, withers, chest, hip);
    }
    return b.take("Fur");
}

// A dog's head about its neck at the origin: a skull of two cheeks meeting
// along the crown, a pointed snout and two ears.
tds::mesh dog_head(const std::string& name) {
    mesh_builder b(name);
    const uint16_t back = b.vertex({-4, 0, 8}), brow = b.vertex({6, 0, 7});
    const uint16_t nose = b.vertex({16, 0, 0});
    for (const float side : {-1.0f, 1.0f}) {
        const uint16_t jaw = b.vertex({-4, side * 5, -3}), cheek = b.vertex({6, side * 4, -3});
        b.quad(back, brow, cheek, jaw);
        b.triangle(brow, nose, cheek);
        const uint16_t e0 = b.vertex({-3, side * 3, 7}), e1 = b.vertex({2, side * 2.5f, 7});
        const uint16_t tip = b.vertex({-3, side * 5, 15});
        b.triangle(e0, e1, tip);
    }
    return b.take("Fur");
}

// A pair of legs hanging from hips at the origin, one each side, as flat
// spikes.
tds::mesh dog_legs(const std::string& name) {
    mesh_builder b(name);
    for (const float side : {-4.0f, 4.0f}) {
        const uint16_t h0 = b.vertex({-3.5f, side, 1}), h1 = b.vertex({3.5f, side, 1});
        const uint16_t foot = b.vertex({0.5f, side, -14});
        b.triangle(h0, h1, foot);
    }
    return b.take("Fur");
}

tds::mesh dog_tail(const std::string& name) {
    mesh_builder b(name);
    const uint16_t r0 = b.vertex({0, 0, -2}), r1 = b.vertex({0, 0, 2});
    const uint16_t tip = b.vertex({-10, 0, 11});
    b.triangle(r0, r1, tip);
    return b.take("Fur");
}

// A flat bone standing on end: a shaft with two round knobs at each end, and
// as face 10 a small face whose corner a is the notch at the top of the
// shaft: the greetings hang their bubble there.
tds::mesh bone_mesh() {
    mesh_builder b("Bone");
    const uint16_t s0 = b.vertex({-2.5f, 0, -12}), s1 = b.vertex({2.5f, 0, -12});
    const uint16_t s2 = b.vertex({2.5f, 0, 12}), s3 = b.vertex({-2.5f, 0, 12});
    b.quad(s0, s1, s2, s3);
    uint16_t knob_middles[2] = {};
    for (const float end : {-1.0f, 1.0f})
        for (const float side : {-1.0f, 1.0f}) {
            const vec3 middle{side * 4.5f, 0, end * 15};
            const uint16_t c = b.vertex(middle);
            if (end > 0) knob_middles[side > 0] = c;
            const uint16_t k0 = b.vertex(middle + vec3{side * -4.5f, 0, end * -4});
            const uint16_t k1 = b.vertex(middle + vec3{side * 4.5f, 0, end * -1});
            const uint16_t k2 = b.vertex(middle + vec3{side * 2, 0, end * 4});
            const uint16_t k3 = b.vertex(middle + vec3{side * -3, 0, end * 4});
            b.triangle(k0, k1, c);
            b.triangle(k1, k2, c);
            b.triangle(k2, k3, c);
        }
    const uint16_t notch = b.vertex({0, 0, 17});
    tds::mesh m = b.take("Fur");
    m.faces.insert(m.faces.begin() + 10, {notch, knob_middles[1], knob_middles[0], 7});
    return m;
}

// Two shots. The greetings play frames 1 to about 160: a still camera above
// the chase, from far off with a long lens (so that the depths give bright
// colours), the bone a little left of the middle with its top, where the
// bubble hangs, near (140, 55): the bubble then ends inside the picture. houp
// plays backwards from the last frame to about 300, and stretches the
// picture 1.8 to 4 times to the right of column 50, beside its digits: there
// the camera rides round with the dogs, high up, so that they stand in one
// narrow column, the lead dog low and near, the bone above it and the other
// dog far and high. Between the two the camera moves over and the dogs widen
// their circle, which spaces the column.
constexpr uint32_t dog_frames = 560, lap = 80;
constexpr uint32_t greeting_end = 180, houp_start = 280;
constexpr float lens = 153;

// 0 during the greetings' shot, 1 during houp's, easing in between.
float shot_blend(float frame) {
    const float k = std::clamp((frame - greeting_end) / (houp_start - greeting_end), 0.0f, 1.0f);
    return k * k * (3 - 2 * k);
}

// A lap of the bone every `lap` frames, counter-clockwise seen from above;
// the second dog half a lap behind.
float lap_angle(float frame, float phase) {
    return phase + 2 * pi * frame / static_cast<float>(lap);
}
float chase_radius(float frame) {
    return 45 + 55 * shot_blend(frame);
}

// A dog as a dummy with body, head, legs and tail; node ids from `first`.
// Its meshes are appended to the scene.
void add_dog(tds::scene& s, int number, uint16_t first, float phase) {
    const std::string n = std::to_string(number);
    s.meshes.push_back(dog_body("Body" + n));
    s.meshes.push_back(dog_legs("Front" + n));
    s.meshes.push_back(dog_legs("Back" + n));
    s.meshes.push_back(dog_tail("Tail" + n));
    s.meshes.push_back(dog_head("Head" + n));
    tds::node dog = dummy_node(first, "Dog" + n);
    dog.position = sampled(0, dog_frames, 4, [phase](float t) {
        const float a = lap_angle(t * dog_frames, phase), r = chase_radius(t * dog_frames);
        // A hop on every stride.
        return vec3{r * std::cos(a), r * std::sin(a),
                    2.5f * std::fabs(std::sin(a * static_cast<float>(lap) / 10))};
    });
    // Facing along the circle: a quarter turn ahead of the position angle.
    constexpr int laps = static_cast<int>(dog_frames / lap);
    dog.rotation = turn_by(0, dog_frames, {0, 0, 1}, 2 * pi * laps, 4 * laps);
    dog.rotation.keys[0].value = turning(phase + pi / 2, {0, 0, 1});
    s.nodes.push_back(dog);
    auto child = [&](uint16_t id, const std::string& name, vec3 at) {
        tds::node c = object_node(id, name, static_cast<int16_t>(first));
        c.position = hold(at);
        c.scale = hold({1, 1, 1});
        return c;
    };
    constexpr int strides = static_cast<int>(dog_frames / 10);
    s.nodes.push_back(child(first + 1, "Body" + n, {0, 0, 0}));
    tds::node front = child(first + 2, "Front" + n, {9, 0, 14});
    front.rotation = swing(0, dog_frames, {0, 1, 0}, 0.45f, strides);
    tds::node back = child(first + 3, "Back" + n, {-10, 0, 15});
    back.rotation = swing(0, dog_frames, {0, 1, 0}, -0.45f, strides);
    tds::node tail = child(first + 4, "Tail" + n, {-14, 0, 20});
    tail.rotation = swing(0, dog_frames, {0, 0, 1}, 0.6f, 2 * strides);
    tds::node head = child(first + 5, "Head" + n, {14, 0, 25});
    head.rotation = swing(0, dog_frames, {0, 1, 0}, 0.15f, strides);
    for (tds::node* c : {&front, &back, &tail, &head}) s.nodes.push_back(*c);
}

vec3 greeting_eye(float) {
    return {-61, -376, 193};
}
// Far enough that the near dog, 55 units long, is 46 pixels long before the
// stretch, and 28 degrees above it.
vec3 houp_eye(float frame) {
    const float distance = part_projection(lens_fov(lens), 220).persp_x * 55 / 46;
    const float a = lap_angle(frame, 0), elevation = 28 * pi / 180;
    return vec3{std::cos(a), std::sin(a), 0} *
               (chase_radius(frame) + distance * std::cos(elevation)) +
           vec3{0, 0, distance * std::sin(elevation)};
}

vec3 chase_eye(float frame) {
    return greeting_eye(frame) + (houp_eye(frame) - greeting_eye(frame)) * shot_blend(frame);
}

vec3 chase_target(float frame) {
    const projection p = part_projection(lens_fov(lens), 220);
    const vec3 middle{0, 0, 14};
    const vec3 greeting = aim_beside(greeting_eye(frame), middle, -20, -10, p);
    const vec3 houp = aim_beside(houp_eye(frame), middle, -28, -22, p);
    return greeting + (houp - greeting) * shot_blend(frame);
}

} // namespace

tds::scene psyki_scene() {
    tds::scene s;
    s.end_frame = dog_frames;
    s.materials = scene_materials();
    tds::node bone = object_node(0, "Bone");
    bone.position = sampled(0, dog_frames, 10, [](float t) {
        return vec3{0, 0, 16 + 3 * std::sin(2 * pi * t * dog_frames / lap)};
    });
    bone.rotation = spin(0, dog_frames, {0, 0, 1}, static_cast<int>(dog_frames / lap / 2));
    bone.scale = hold({1, 1, 1});
    s.nodes.push_back(bone);
    add_dog(s, 1, 1, 0);
    add_dog(s, 2, 7, pi);
    s.meshes.push_back(bone_mesh()); // last: the bubble hangs on the last mesh's face 10
    const camera_rig cam = camera_path(
        "Camera01", 13, 14, lens, 0, dog_frames, 5,
        [](float t) { return chase_eye(t * dog_frames); },
        [](float t) { return chase_target(t * dog_frames); });
    s.cameras = {cam.camera};
    s.lights = {{"Lamp", {0, 0, 120}, {1, 0.9f, 0.7f}, true, {0, 0, 0}, 40, 60}};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

namespace {

// oneco0 zooms its projection in (persp + 200) about a centre 100 left of and
// 50 below the usual one, and fills faces only in columns left of 180: the
// egg sits there, white and striped, and the swimmers come in from the right,
// where only one black edge of each face shows.
constexpr uint32_t swim_frames = 360; // oneco0 plays about 343 of them, forwards
constexpr float swim_lens = 50;

projection zoomed_projection() {
    const projection p = part_projection(lens_fov(swim_lens), 320);
    return {p.persp_x + 200, p.persp_y + 200};
}

// A flat tail along +x from the head, as an upright ribbon that narrows and
// waves up and down with the given phase; all tails share one topology so that they
// can morph into each other. oneco0 draws edge a-b of each face in black:
// here the ribbon's upper and lower edges, its outline.
tds::mesh tail_mesh(const std::string& name, float phase) {
    mesh_builder b(name);
    const int segments = 8;
    for (int r = 0; r <= segments; ++r) {
        const float t = static_cast<float>(r) / segments;
        const float x = 6 + 40 * t, wave = 8 * t * std::sin(2 * pi * 1.1f * t + phase);
        const float half = 3.2f * (1 - 0.8f * t);
        b.vertex({x, 0, wave + half});
        b.vertex({x, 0, wave - half});
    }
    for (int r = 0; r < segments; ++r) {
        const auto top = static_cast<uint16_t>(2 * r), bottom = static_cast<uint16_t>(2 * r + 1);
        b.triangle(top, static_cast<uint16_t>(top + 2), bottom);
        b.triangle(static_cast<uint16_t>(bottom + 2), bottom, static_cast<uint16_t>(top + 2));
    }
    return b.take();
}

// Every five frames the tail takes the other shape.
tds::track<std::string> wiggle(const std::string& a, const std::string& b) {
    tds::track<std::string> t;
    for (uint32_t frame = 0, i = 0; frame <= swim_frames; frame += 5, ++i)
        t.keys.push_back({frame, i % 2 ? b : a, {}});
    return t;
}

} // namespace

tds::scene sperm_scene() {
    tds::scene s;
    s.end_frame = swim_frames;
    s.materials = scene_materials();
    s.meshes.push_back(
        geosphere("Egg", 21, 1, [](vec3 d) { return 1 + 0.05f * std::sin(5 * d.x + 4 * d.z); }));
    tds::node egg = object_node(0, "Egg");
    egg.position = hold({0, 0, 0});
    egg.rotation = turn_by(0, swim_frames, normalised({0.3f, 0.2f, 1}), 4 * pi, 24);
    egg.scale = sampled(0, swim_frames, 15, [](float t) {
        const float k = 1 + 0.04f * std::sin(24 * pi * t);
        return vec3{k, k, k};
    });
    s.nodes.push_back(egg);
    // Where each swimmer starts, at the right, and the point of the egg's
    // surface it makes for; they swim in at different speeds and go on
    // wriggling there.
    const vec3 from[3] = {{70, -10, 30}, {80, 30, -6}, {74, -30, -40}};
    const vec3 to[3] = {{29, -6, 12}, {28, 4, -4}, {25, -8, -19}};
    const float pace[3] = {0.75f, 0.6f, 0.68f};
    for (int i = 0; i < 3; ++i) {
        const std::string n = std::to_string(i + 1);
        s.meshes.push_back(ellipsoid("Head" + n, {7.5f, 4.5f, 5.5f}, 4, 8));
        s.meshes.push_back(tail_mesh("Tail" + n, i == 1 ? pi : 0));
        const auto id = static_cast<uint16_t>(1 + 3 * i);
        tds::node swimmer = dummy_node(id, "Swimmer" + n);
        const vec3 a = from[i], b = to[i];
        const float k = pace[i];
        swimmer.position = sampled(0, swim_frames, 10, [a, b, k](float t) {
            const float u = std::min(1.0f, t / k), ease = 1 - (1 - u) * (1 - u);
            const vec3 weave{0, 6 * std::sin(9 * u), 5 * std::sin(7 * u + 1)};
            return a + (b - a) * ease + weave * (1.3f - u);
        });
        // Heading along -x, towards the egg, swaying a little.
        swimmer.rotation = swing(0, swim_frames, {0, 0, 1}, 0.15f, 12 + 2 * i);
        swimmer.scale = hold({1.3f, 1.3f, 1.3f});
        tds::node head =
            object_node(static_cast<uint16_t>(id + 1), "Head" + n, static_cast<int16_t>(id));
        head.position = hold({0, 0, 0});
        head.scale = hold({1, 1, 1});
        head.rotation = swing(0, swim_frames, {1, 0, 0}, 0.3f, 18);
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
        "Camera01", 10, 11, swim_lens, 0, swim_frames, 30,
        [](float t) {
            return vec3{-30 + 40 * t, -205 + 25 * t, 30 + 12 * std::sin(2 * pi * t)};
        },
        [](float t) {
            const vec3 eye{-30 + 40 * t, -205 + 25 * t, 30 + 12 * std::sin(2 * pi * t)};
            return aim_beside(eye, {0, 0, 0}, 40, 45, zoomed_projection());
        });
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

} // namespace vilora::kit::data
