// The swimmers' scene: swimmers with morphing tails closing in on an egg.
#include "kit/content/scenes/scenes.h"
#include "kit/shapes/rig.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;

// oneco0 zooms its projection in (persp + 200) about a centre 100 left of and
// 50 below the usual one, and fills faces only in columns left of 180: the
// egg sits there, white and striped, and the swimmers come in from the right,
// where only edge a-b of each face shows, in black. They stop short of the
// egg, all of them right of that column, outlines rather than half filled.
//
// Every eleventh face the part draws, counted on over meshes and frames,
// throws a dotted grey streak from its corner a to the right edge. Each mesh
// here has a multiple of eleven faces, so the same faces throw the streaks
// in every frame: the last of each eleven. In the heads that face starts at
// the back of the head, so the streak trails behind the swimmer along its
// tail; in the egg it is a sliver out of sight below the picture.
constexpr int streak_period = 11;
constexpr uint32_t swim_frames = 360; // oneco0 plays about 343 of them, forwards
constexpr float swim_lens = 50;

projection zoomed_projection() {
    const projection p = part_projection(lens_fov(swim_lens), 320);
    return {p.persp_x + 200, p.persp_y + 200};
}

// Where the camera looks from, over the swim (t = 0 .. 1).
vec3 swim_eye(float t) {
    return {-30 + 40 * t, -205 + 25 * t, 30 + 12 * std::sin(2 * pi * t)};
}

// A fan of faces from a centre to a closed outline, one per outline point:
// the fill covers the outline's inside and edge a-b of each face is a piece
// of the outline, so the part draws the outline alone in black. Face k runs
// from outline point k to k + 1; the last face's corner a is the last point.
void outline_fan(mesh_builder& b, const std::vector<vec3>& outline, vec3 centre) {
    const uint16_t middle = b.vertex(centre);
    std::vector<uint16_t> rim;
    for (const vec3& p : outline) rim.push_back(b.vertex(p));
    for (size_t k = 0; k < rim.size(); ++k) b.triangle(rim[k], rim[(k + 1) % rim.size()], middle);
}

// The egg cell seen from the swim's middle view: a striped white disc with a
// double rim (the membrane) and a nucleus up and left, where the light comes
// from, each drawn as one calm black ring. The rings sit on a shallow dome
// facing the camera, so that the nucleus shifts a little against the rim as
// the egg rocks. Below it hang slivers, out of sight, in every eleventh place.
tds::mesh egg_cell(float radius) {
    const vec3 view = normalised(swim_eye(0.5f));
    const vec3 right = normalised(cross(view * -1, {0, 0, 1})), up = cross(right, view * -1);
    // A point of the dome `across` (right, up) from the middle, in radii.
    const auto on_dome = [&](float x, float y) {
        const float lift = 0.3f * std::sqrt(std::max(0.0f, 1 - x * x - y * y));
        return (right * x + up * y + view * lift) * radius;
    };
    const auto ring = [&](float cx, float cy, float r, int count) {
        std::vector<vec3> points;
        for (int k = 0; k < count; ++k) {
            const float a = 2 * pi * static_cast<float>(k) / static_cast<float>(count);
            points.push_back(on_dome(cx + r * std::cos(a), cy + r * std::sin(a)));
        }
        return points;
    };
    mesh_builder visible("Egg");
    outline_fan(visible, ring(0, 0, 1, 24), on_dome(0, 0));
    outline_fan(visible, ring(0, 0, 0.9f, 24), on_dome(0, 0));
    outline_fan(visible, ring(-0.28f, 0.3f, 0.27f, 12), on_dome(-0.28f, 0.3f));
    tds::mesh shown = visible.take();
    // Interleave the out-of-sight slivers so that they take the eleventh
    // places, the streaks' places, and the mesh ends on one.
    mesh_builder b("Egg");
    b.merge(shown);
    std::vector<tds::face> faces;
    size_t next = 0;
    while (next < shown.faces.size() || faces.size() % streak_period != 0) {
        if (faces.size() % streak_period == streak_period - 1) {
            const vec3 low{0, 0, -60 * radius / 19};
            faces.push_back({b.vertex(low), b.vertex(low + right), b.vertex(low + up), 7});
        } else {
            faces.push_back(shown.faces[next++]);
        }
    }
    tds::mesh egg = b.take();
    egg.faces = faces;
    return egg;
}

// A swimmer's head, flat and oval with its nose along -x: a fan of eleven
// faces whose last starts at the back of the head, where the tail joins, so
// that the streak the part throws from it runs back along the tail.
tds::mesh head_mesh(const std::string& name) {
    std::vector<vec3> outline;
    for (int k = 1; k <= streak_period; ++k) {
        const float a = 2 * pi * static_cast<float>(k) / streak_period;
        // Rounder at the nose (cos a < 0) than at the back.
        const float fuller = 1 - 0.2f * std::cos(a);
        outline.push_back({6.5f * std::cos(a), 0, 4 * fuller * std::sin(a)});
    }
    mesh_builder b(name);
    outline_fan(b, outline, {-0.5f, 0, 0});
    return b.take();
}

// A tail along +x from the back of the head: eleven slivers, each a piece of
// a single wavy line as its edge a-b (the part draws nothing else of them
// right of its fill column), waving up and down with the given phase, more
// towards the tip. All tails share one topology, so that they can morph into
// each other.
tds::mesh tail_mesh(const std::string& name, float phase) {
    mesh_builder b(name);
    const auto at = [phase](int r) {
        const float t = static_cast<float>(r) / streak_period;
        return vec3{6.5f + 42 * t, 0, 9 * t * std::sin(2 * pi * 1.1f * t + phase)};
    };
    for (int r = 0; r < streak_period; ++r)
        b.triangle(b.vertex(at(r)), b.vertex(at(r + 1)), b.vertex(at(r + 1) + vec3{0, 0.05f, 0}));
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
    s.meshes.push_back(egg_cell(19));
    tds::node egg = object_node(0, "Egg");
    egg.position = hold({0, 0, 0});
    // A little taller than wide, breathing, and rocking about the line of
    // sight, which keeps the dome it is built on facing the camera.
    egg.rotation = swing(0, swim_frames, normalised(swim_eye(0.5f)), 0.35f, 3);
    egg.scale = sampled(0, swim_frames, 15, [](float t) {
        const float k = 1 + 0.04f * std::sin(24 * pi * t);
        return vec3{k, k, 1.12f * k};
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
        s.meshes.push_back(head_mesh("Head" + n));
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
        // The flat head rolls about its length as it swims.
        head.rotation = swing(0, swim_frames, {1, 0, 0}, 0.5f, 18);
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
