// Scenes of matter: the mushroom field, the clod and its pebbles, the screws.
#include "kit/art/noise.h"
#include "kit/content/scenes/scenes.h"
#include "kit/shapes/rig.h"

#include <cmath>
#include <string>
#include <vector>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;

// Gentle swells of the field, a few units up and down.
float field_height(float x, float y) {
    return 8 * (art::fbm(x / 110 + 3, y / 110 + 5, 11, 3) - 0.5f) +
           2 * std::sin(x / 23) * std::cos(y / 31);
}

// The flight, over frames 100 to 300 (oland plays them back and forth): a
// low level glide along +y, weaving a little, looking ahead and 6 degrees down.
constexpr uint32_t flight_start = 100, flight_end = 300;
constexpr float cruise = 55;

vec3 flight_eye(float frame) {
    const float t = (frame - flight_start) / (flight_end - flight_start);
    return {34 * std::sin(2 * pi * t), -230 + 280 * t, cruise + 4 * std::sin(4 * pi * t)};
}
vec3 flight_target(float frame) {
    const float t = (frame - flight_start) / (flight_end - flight_start);
    const float yaw = 0.2f * std::sin(2 * pi * t + 0.8f), pitch = 6 * pi / 180;
    const vec3 ahead{std::sin(yaw), std::cos(yaw), -std::tan(pitch)};
    return flight_eye(frame) + ahead * 100;
}
// Across the flight, where the glide passes y.
float flight_x(float y) {
    return 34 * std::sin(2 * pi * (y + 230) / 280);
}

// oland draws every face as its three edges, so a face whose third corner
// lies a hair from its second draws one line, from a to b: the field and the
// toadstools are drawn as line drawings of such slivers.
void line(mesh_builder& b, vec3 from, vec3 to) {
    b.triangle(b.vertex(from), b.vertex(to), b.vertex(to + vec3{0, 0, 0.05f}));
}

// oland draws the first third of a mesh's faces: the drawing, followed by
// itself turned over twice, which the part leaves alone.
tds::mesh drawn_in_first_third(tds::mesh m) {
    const std::vector<tds::face> drawn = m.faces;
    for (int copy = 0; copy < 2; ++copy)
        for (tds::face f : drawn) {
            std::swap(f.b, f.c);
            m.faces.push_back(f);
        }
    return m;
}

// The sun, far ahead and low, setting over the end of the field where oland
// hangs its flare (96 pixels square, its top edge fixed at row 20, its left
// edge at corner b of the first face the part draws): a small ring with
// rays fanning up and to the sides as single lines, long and short by
// turns, into the sky only, so that they read as rays behind the flare's
// glow and none crosses the field. The first face is the ray that points
// left, as long as half the flare is wide, its tip as corner b.
tds::mesh sun_mesh(float per_pixel) {
    mesh_builder b("Sun");
    const auto at = [per_pixel](float pixels, float degrees) {
        const float a = degrees * pi / 180;
        return vec3{pixels * per_pixel * std::cos(a), 0, pixels * per_pixel * std::sin(a)};
    };
    constexpr float ring = 9, long_ray = 48, short_ray = 30;
    constexpr int rays = 12; // over half a turn, the last pointing right
    for (int k = rays; k >= 0; --k) {
        const float degrees = 180.0f * static_cast<float>(k) / rays;
        line(b, at(ring + 3, degrees), at(k % 2 ? short_ray : long_ray, degrees));
    }
    constexpr int rim = 16;
    for (int k = 0; k < rim; ++k)
        line(b, at(ring, 360.0f * static_cast<float>(k) / rim),
             at(ring, 360.0f * static_cast<float>(k + 1) / rim));
    return drawn_in_first_third(b.take());
}

// The field as a wide, calm grid of furrows (36 units apart, along and
// across the flight), following the swells, in pieces a cell long so that
// the part leaves out only the pieces that pass the camera. The grid ends
// ahead in one line across, the horizon.
tds::mesh field_grid() {
    mesh_builder b("Ground");
    constexpr float cell = 36, half = 216, near_y = -288, far_y = 576;
    const auto at = [](float x, float y) { return vec3{x, y, field_height(x, y)}; };
    for (float x = -half; x <= half; x += cell)
        for (float y = near_y; y < far_y; y += cell) line(b, at(x, y), at(x, y + cell));
    for (float y = near_y; y <= far_y; y += cell)
        for (float x = -half; x < half; x += cell) line(b, at(x, y), at(x + cell, y));
    return drawn_in_first_third(b.take());
}

// A toadstool standing on z = 0 with its cap's rim at `height`, drawn as
// lines: the cap's rim, and on the half of the dome that faces the flight
// (-y, where the camera always is) its meridians, a ring halfway up and
// four spots, so that the cap reads as solid rather than as a web of its
// far side; then the stem's five sides and its foot. Few lines, all of them
// along the shape, and the stem short, so that it makes no hatching.
tds::mesh toadstool_mesh(const std::string& name, float cap, float height) {
    mesh_builder b(name);
    // A point of the cap, `down` from its top (0) to its rim (1), `around` in radians.
    const auto on_cap = [cap, height](float down, float around) {
        const float s = down * pi / 2;
        return vec3{cap * std::sin(s) * std::cos(around), cap * std::sin(s) * std::sin(around),
                    height + 0.75f * cap * std::cos(s)};
    };
    constexpr int meridians = 12;
    for (int k = 0; k < meridians; ++k) {
        const float a0 = 2 * pi * static_cast<float>(k) / meridians;
        const float a1 = 2 * pi * static_cast<float>(k + 1) / meridians;
        line(b, on_cap(1, a0), on_cap(1, a1));
        if (std::sin(a0) > 0.1f) continue; // the far side
        for (int s = 0; s < 3; ++s)
            line(b, on_cap(static_cast<float>(s) / 3, a0),
                 on_cap(static_cast<float>(s + 1) / 3, a0));
        if (std::sin(a1) <= 0.1f) line(b, on_cap(0.5f, a0), on_cap(0.5f, a1));
    }
    const float spots[4][2] = {{0.2f, 4.7f}, {0.55f, 3.8f}, {0.6f, 5.6f}, {0.8f, 4.7f}};
    for (const auto& spot : spots)
        for (int k = 0; k < 6; ++k) {
            const auto corner = [&](int j) {
                const float a = 2 * pi * static_cast<float>(j) / 6;
                return on_cap(spot[0] + 0.08f * std::sin(a), spot[1] + 0.2f * std::cos(a));
            };
            line(b, corner(k), corner(k + 1));
        }
    constexpr int sides = 5;
    const float stem = 0.28f * cap;
    for (int k = 0; k < sides; ++k) {
        const float a0 = 2 * pi * static_cast<float>(k) / sides + 0.3f;
        const float a1 = 2 * pi * static_cast<float>(k + 1) / sides + 0.3f;
        const vec3 foot{1.3f * stem * std::cos(a0), 1.3f * stem * std::sin(a0), 0};
        line(b, foot, {stem * std::cos(a0), stem * std::sin(a0), height});
        line(b, foot, {1.3f * stem * std::cos(a1), 1.3f * stem * std::sin(a1), 0});
    }
    return drawn_in_first_third(b.take("Shroom"));
}

} // namespace

// oland: flying low over a field of toadstools towards the setting sun.
tds::scene surfonsurf_scene() {
    tds::scene s;
    s.end_frame = flight_end;
    s.materials = scene_materials();
    // The sun first: the flare rides on the first face the part draws.
    constexpr float sun_distance = 2500;
    s.meshes.push_back(sun_mesh(sun_distance / part_projection(lens_fov(40), 220).persp_x));
    s.meshes.push_back(field_grid());
    tds::node sun = object_node(0, "Sun");
    // Just below the eye's level, about 5 degrees above the middle of the
    // view: the flare's middle, row 68, is 22 pixels above the centre row.
    sun.position = hold({0, sun_distance - 100, cruise - sun_distance * std::tan(0.6f * pi / 180)});
    sun.scale = hold({1, 1, 1});
    tds::node ground = object_node(1, "Ground");
    ground.position = hold({0, 0, 0});
    ground.scale = hold({1, 1, 1});
    tds::node field = dummy_node(2, "Field");
    field.position = hold({0, 0, 0});
    s.nodes = {sun, ground, field};
    // Toadstools on either side of the glide, a few at a time in view, low
    // on the picture (oland draws lower lines brighter): the near ones pass
    // well beside the camera, their caps about at the eye's height, the far
    // ones wait ahead where the glide turns back.
    art::scatter rng(23);
    for (int i = 0; i < 12; ++i) {
        const std::string name = "Shroom" + std::to_string(i + 1);
        const float along = -130 + 50 * static_cast<float>(i) + rng.uniform(-10, 10);
        const float cap = rng.uniform(20, 28), stem = rng.uniform(16, 24);
        // Wide of the glide, so that they leave the view while still
        // small: oland hides no lines, and a near toadstool would be a
        // tangle with the field's lines through it.
        const float off = cap + rng.uniform(110, 170);
        const float x = (i % 2 ? off : -off) + flight_x(along);
        s.meshes.push_back(toadstool_mesh(name, cap, stem));
        tds::node m = object_node(static_cast<uint16_t>(3 + i), name, 2);
        m.position = hold({x, along, field_height(x, along) - 1});
        const float phase = rng.uniform(0, 2 * pi);
        m.scale = sampled(0, flight_end, 25, [phase](float t) {
            const float k = 1 + 0.05f * std::sin(6 * pi * t + phase);
            return vec3{k, k, 1 + 0.08f * std::sin(6 * pi * t + phase + 1)};
        });
        m.rotation = swing(0, flight_end, {1, 0, 0}, 0.05f, 3 + i % 3);
        s.nodes.push_back(m);
    }
    const camera_rig cam = camera_path(
        "Camera01", 40, 41, 40, 0, flight_end, 10,
        [](float t) { return flight_eye(t * flight_end); },
        [](float t) { return flight_target(t * flight_end); });
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

namespace {

// A hollow lump: oneco1 draws the first third of the faces, the outer shell
// (coarse, so that its wireframe shows the lumps); then come the shell
// turned over and the inner wall.
tds::mesh lumpy(const std::string& name, float radius, int subdivisions, uint32_t seed) {
    const tds::mesh shell = geosphere(name, radius, subdivisions, [seed](vec3 d) {
        return 0.6f + 0.8f * art::fbm(d.x * 1.9f + 4, d.y * 1.9f + d.z * 1.1f + 4, seed, 3);
    });
    tds::mesh inner = shell;
    for (vec3& v : inner.vertices) v = v * 0.85f;
    for (tds::face& f : inner.faces) std::swap(f.b, f.c);
    mesh_builder b(name);
    b.merge(with_back_faces(shell));
    b.merge(inner);
    return b.take("Shroom");
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

// oneco1 (the test mode): the clod turning with three pebbles round it,
// played back and forth over frames 60 to 160 through the camera "rolli",
// which banks and zooms in and out. The part projects with its constants
// less 200, a wide angle that stretches the picture sideways; its grey is
// the depth, so everything stays 90 to 230 units off.
tds::scene hrouda2_scene() {
    tds::scene s;
    s.end_frame = 160;
    s.materials = scene_materials();
    s.meshes.push_back(lumpy("Clod", 40, 1, 3));
    tds::node clod = object_node(0, "Clod");
    clod.position = hold({0, 0, 0});
    clod.rotation = spin(0, 160, normalised({0.2f, 0.4f, 1}), 2);
    clod.scale = sampled(0, 160, 20, [](float t) {
        const float k = 1 + 0.08f * std::sin(6 * pi * t);
        return vec3{k, k, 1.1f * k};
    });
    tds::node moons = dummy_node(1, "Moons");
    moons.position = hold({0, 0, 0});
    moons.rotation = spin(0, 160, normalised({0.3f, 0, 1}), 3);
    s.nodes = {clod, moons};
    for (int i = 0; i < 3; ++i) {
        const std::string name = "Pebble" + std::to_string(i + 1);
        s.meshes.push_back(
            lumpy(name, 10 + 2 * static_cast<float>(i), 0, 10 + static_cast<uint32_t>(i)));
        const float a = 2 * pi * static_cast<float>(i) / 3;
        tds::node p = object_node(static_cast<uint16_t>(2 + i), name, 1);
        p.position = hold({64 * std::cos(a), 64 * std::sin(a), 10 * std::sin(3 * a)});
        p.rotation = spin(0, 160, normalised({1, 0.5f, 0}), 4 - i);
        p.scale = hold({1, 1, 1});
        s.nodes.push_back(p);
    }
    camera_rig cam = camera_path(
        "rolli", 5, 6, 50, 0, 160, 10,
        [](float t) {
            const float a = -pi / 2 + 0.6f * std::sin(2 * pi * t);
            return vec3{155 * std::cos(a), 155 * std::sin(a), 45 * std::cos(2 * pi * t)};
        },
        [](float) {
            return vec3{0, 0, 0};
        });
    cam.eye.roll = {tds::track_once,
                    {{0, 0.0f, {}}, {60, -10.0f, {}}, {110, 14.0f, {}}, {160, -10.0f, {}}}};
    cam.eye.fov = {tds::track_once,
                   {{0, 46.0f, {}},
                    {60, 46.0f, {}},
                    {110, 38.0f, {0.2f, 0, 0, 0.5f, 0.5f}},
                    {160, 46.0f, {}}}};
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    add_lights(s, 7);
    return s;
}

namespace {

// oneco4 draws no faces: it hangs a sprite (100 x 100, a screw standing on
// its tip at the bottom middle) 50 pixels left of and 90 above corner a of the
// first sixteenth of every mesh's faces, blended by the depth of corner c over
// 3. A later sprite blends its whole square over what an earlier one left, so
// the sprites are kept apart: each screw carries two, on crests of its thread
// two and a half turns (94 pixels) apart, and the screws stand 67 pixels
// apart, so that a sprite's rectangle reaches no more than the rim of the
// head (18.5 pixels either side of its anchor) of the screw before it. As a
// screw turns, its two sprites sway against each other and pulse brighter at
// the back of the thread and fainter at the front.
constexpr int thread_steps = 18, steps_per_turn = 6;
constexpr int lead_steps[2] = {0, 15};
constexpr float crest = 9, shank = 6, pitch = 36;

// 2 faces that carry a sprite, then 36 of thread and 6 of head: 44 faces, of
// which oneco4 takes the first two sixteenths. The carrying faces' corner a
// lies close to the axis, so that their sprites sway by no more than two
// pixels as the screw turns, and corner c on the thread's root, whose depth
// pulses with the turn.
tds::mesh screw_mesh(const std::string& name) {
    mesh_builder b(name);
    auto on_thread = [](int step, float radius) {
        const float a = 2 * pi * static_cast<float>(step) / steps_per_turn;
        return vec3{radius * std::cos(a), radius * std::sin(a),
                    -pitch * static_cast<float>(step) / steps_per_turn};
    };
    std::vector<uint16_t> outer, inner;
    for (int k = 0; k <= thread_steps; ++k) {
        outer.push_back(b.vertex(on_thread(k, crest)));
        inner.push_back(b.vertex(on_thread(k, shank) + vec3{0, 0, 4}));
    }
    std::vector<tds::face> lead, rest;
    for (const int k : lead_steps)
        lead.push_back({b.vertex(on_thread(k, 2)), outer[k + 1], inner[k], 7});
    tds::mesh thread = b.take("Steel");
    for (int k = 0; k < thread_steps; ++k) {
        rest.push_back({outer[k], outer[k + 1], inner[k], 7});
        rest.push_back({inner[k + 1], inner[k], outer[k + 1], 7});
    }
    thread.faces = lead;
    thread.faces.insert(thread.faces.end(), rest.begin(), rest.end());
    mesh_builder whole(name);
    whole.merge(thread);
    whole.cone({0, 0, 4}, {0, 0, 12}, crest * 1.4f, 6);
    return whole.take("Steel");
}

} // namespace

// oneco4: three screws turning in a rack, the middle one the other way.
tds::scene sroub2_scene() {
    tds::scene s;
    s.end_frame = 200;
    s.materials = scene_materials();
    // About 600 units off, where the sprites blend in at about 200 of 255; a
    // pixel is about a unit there.
    constexpr float lens = 100;
    const projection p = part_projection(lens_fov(lens), 220);
    const float unit_x = 600 / p.persp_x, unit_y = 600 / p.persp_y;
    tds::node rack = dummy_node(0, "Rack");
    rack.position = hold({0, 0, 0});
    rack.rotation = swing(0, 200, {0, 0, 1}, 0.05f, 1);
    s.nodes.push_back(rack);
    for (int i = 0; i < 3; ++i) {
        const std::string name = "Screw" + std::to_string(i + 1);
        s.meshes.push_back(screw_mesh(name));
        tds::node screw = object_node(static_cast<uint16_t>(1 + i), name, 0);
        const float x = 67 * unit_x * static_cast<float>(i - 1),
                    phase = 1.3f * static_cast<float>(i);
        screw.position = sampled(0, 200, 10, [x, phase, unit_y](float t) {
            return vec3{x, 0, 6 * unit_y * std::sin(6 * pi * t + phase)};
        });
        screw.rotation = spin(0, 200, {0, 0, 1}, i == 1 ? -8 : 8);
        screw.rotation.keys[0].value = turning(phase, {0, 0, 1});
        screw.scale = hold({1, 1, 1});
        s.nodes.push_back(screw);
    }
    s.meshes.push_back(cuboid("Bar", {200 * unit_x, 16, 10}));
    tds::node bar = object_node(4, "Bar", 0);
    bar.position = hold({0, 20, 16});
    bar.scale = hold({1, 1, 1});
    s.nodes.push_back(bar);
    // The top screws' tips at row 95, the screws' columns at 154, 221 and
    // 288 (nine pixels either way as they turn): right of the monitor and the
    // name plate, the right one whole on the picture.
    auto eye = [](float t) { return vec3{12 * std::sin(2 * pi * t), -600, 20}; };
    const camera_rig cam = camera_path("Camera01", 5, 6, lens, 0, 200, 10, eye, [eye, p](float t) {
        return aim_beside(eye(t), {0, 0, 0}, 61, -5, p);
    });
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

} // namespace vilora::kit::data
