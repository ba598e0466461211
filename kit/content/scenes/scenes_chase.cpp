// The swimmers' scene: swimmers with morphing tails closing in on an egg.
#include "kit/content/scenes/scenes.h"
#include "kit/shapes/rig.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;

// oneco0 zooms its projection in (persp + 200) about a centre 100 left of and
// 50 below the usual one, and fills faces only in columns left of 180: the
// egg sits there, white and striped, and the swimmers come in from the right,
// where only one black edge of each face shows. They stop short of the egg,
// all of them right of that column, whole wireframes rather than half filled.
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

// Where the camera looks from, over the swim (t = 0 .. 1).
vec3 swim_eye(float t) {
    return {-30 + 40 * t, -205 + 25 * t, 30 + 12 * std::sin(2 * pi * t)};
}

// The egg, drawn as an engraving: oneco0 fills every face with white stripes
// in every other column and draws its edge a-b black, so shading is told by
// how much of the surface is filled. Bands run round the point the light
// falls on square (from just above and left of the camera, so that the
// lit side fills the outline all but a thin crescent), as wide as their
// spacing there and narrowing as the cosine of the light's angle towards the
// shadow side, each edged black above and below; past the shadow line the
// surface is bare, only its rim drawn. Only the half that faces the camera
// is built: the part draws every face, front or back, in list order.
tds::mesh engraved_egg(float radius) {
    const vec3 view = normalised(swim_eye(0.5f));
    const vec3 right = normalised(cross(view * -1, {0, 0, 1})), up = cross(right, view * -1);
    const vec3 light = normalised(view * 0.95f - right * 0.25f + up * 0.25f);
    // Axes about the light: u and v square to it.
    const vec3 u = normalised(cross(light, up)), v = cross(light, u);
    const auto on_egg = [&](float polar, float around) {
        const vec3 d = light * std::cos(polar) +
                       (u * std::cos(around) + v * std::sin(around)) * std::sin(polar);
        return d * radius;
    };
    const auto facing = [&](vec3 p) { return dot(normalised(p), view) > 0.04f; };
    mesh_builder b("Egg");
    constexpr int bands = 7, around = 28;
    constexpr float spacing = (pi / 2) / bands;
    for (int k = 0; k < bands; ++k) {
        const float middle = spacing * (static_cast<float>(k) + 0.5f);
        const float width = spacing * std::max(0.12f, std::cos(middle));
        const float inner = k == 0 ? 0 : middle - width / 2, outer = inner + width;
        for (int s = 0; s < around; ++s) {
            const float a0 = 2 * pi * static_cast<float>(s) / around;
            const float a1 = 2 * pi * static_cast<float>(s + 1) / around;
            const vec3 o0 = on_egg(outer, a0), o1 = on_egg(outer, a1);
            const vec3 i0 = on_egg(inner, a0), i1 = on_egg(inner, a1);
            if (!facing(o0 + o1 + i0 + i1)) continue;
            // Edge a-b of each is a band's rim: the outer one, then the inner.
            b.triangle(b.vertex(o0), b.vertex(o1), b.vertex(i0));
            if (k > 0) b.triangle(b.vertex(i1), b.vertex(i0), b.vertex(o1));
        }
    }
    // The rim where the egg turns away, as slivers with edge a-b on it.
    constexpr int rim_steps = 40;
    const vec3 side = normalised(cross(view, {0, 0, 1})), top = cross(side, view);
    for (int s = 0; s < rim_steps; ++s) {
        const float a0 = 2 * pi * static_cast<float>(s) / rim_steps;
        const float a1 = 2 * pi * static_cast<float>(s + 1) / rim_steps;
        const vec3 p0 = (side * std::cos(a0) + top * std::sin(a0)) * radius;
        const vec3 p1 = (side * std::cos(a1) + top * std::sin(a1)) * radius;
        b.triangle(b.vertex(p0), b.vertex(p1), b.vertex(p1 * 0.985f));
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
    s.meshes.push_back(engraved_egg(19));
    tds::node egg = object_node(0, "Egg");
    egg.position = hold({0, 0, 0});
    // Taller than wide, breathing, and rocking about the line of sight, which
    // keeps the half it is built of facing the camera.
    egg.rotation = swing(0, swim_frames, normalised(swim_eye(0.5f)), 0.35f, 3);
    egg.scale = sampled(0, swim_frames, 15, [](float t) {
        const float k = 1 + 0.04f * std::sin(24 * pi * t);
        return vec3{k, k, 1.2f * k};
    });
    s.nodes.push_back(egg);
    // Where each swimmer starts, at the right, and the point of the egg's
    // surface it makes for; they swim in at different speeds and go on
    // wriggling there.
    const vec3 from[3] = {{58, -10, 18}, {62, 26, -6}, {59, -26, -28}};
    const vec3 to[3] = {{47, -6, 12}, {46, 4, -4}, {44, -8, -19}};
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
    const camera_rig cam =
        camera_path("Camera01", 10, 11, swim_lens, 0, swim_frames, 30, swim_eye, [](float t) {
            return aim_beside(swim_eye(t), {0, 0, 0}, 22, 45, zoomed_projection());
        });
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

} // namespace vilora::kit::data
