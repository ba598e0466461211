// The swimmers' scene: swimmers with beating tails racing to an egg.
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
// egg sits there, white and striped, under bold black rims, and the swimmers
// race in from beyond the right edge, where only edge a-b of each face shows,
// in black. The first reaches the egg and touches it, and the egg lifts its
// outer membrane; the others come too late and stop in its corona.
//
// Every eleventh face the part draws, counted on over meshes and frames,
// throws a dotted grey streak from its corner a to the right edge. Each mesh
// here has a multiple of eleven faces, so the same faces throw the streaks
// in every frame: the last of each eleven. In the heads that face starts at
// the back of the head, so the streak trails behind the swimmer along its
// tail; in the egg's meshes it is a sliver out of sight below the picture.
constexpr int streak_period = 11;
constexpr uint32_t swim_frames = 360; // oneco0 plays about 343 of them, forwards
constexpr float swim_lens = 50;
constexpr float egg_radius = 19;
// When the first swimmer touches the egg and how long the membrane takes to
// lift (fractions of the swim).
constexpr float touch_at = 0.5f, lift_time = 0.12f;

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

// A closed line as slivers, edge a-b of each a piece of it: the part draws
// the line and nearly nothing of the fill, so it covers nothing inside.
void outline_ring(mesh_builder& b, const std::vector<vec3>& outline, vec3 across) {
    for (size_t k = 0; k < outline.size(); ++k) {
        const vec3 p = outline[k], q = outline[(k + 1) % outline.size()];
        b.triangle(b.vertex(p), b.vertex(q), b.vertex(q + across));
    }
}

// The egg's faces in the order they are drawn, with out-of-sight slivers
// (below the picture) in every eleventh place, the streaks' places, and more
// of them after the last face up to a whole number of elevens.
tds::mesh hide_streaks(const tds::mesh& shown, vec3 right, vec3 up) {
    mesh_builder b(shown.name);
    b.merge(shown);
    std::vector<tds::face> faces;
    size_t next = 0;
    while (next < shown.faces.size() || faces.size() % streak_period != 0) {
        if (faces.size() % streak_period == streak_period - 1 || next == shown.faces.size()) {
            const vec3 low{0, 0, -60};
            faces.push_back({b.vertex(low), b.vertex(low + right), b.vertex(low + up), 7});
        } else {
            faces.push_back(shown.faces[next++]);
        }
    }
    tds::mesh out = b.take();
    out.faces = faces;
    return out;
}

// The plane the egg is drawn on: square to the swim's middle view, bulging
// a little towards the camera, so that the nucleus shifts against the rim
// as the egg rocks. Points are given in radii across (right, up).
struct egg_dome {
    vec3 view = normalised(swim_eye(0.5f));
    vec3 right = normalised(cross(view * -1, {0, 0, 1}));
    vec3 up = cross(right, view * -1);
    vec3 at(float x, float y) const {
        const float lift = 0.3f * std::sqrt(std::max(0.0f, 1 - x * x - y * y));
        return (right * x + up * y + view * lift) * egg_radius;
    }
    std::vector<vec3> ring(float cx, float cy, float rx, float ry, int count) const {
        std::vector<vec3> points;
        for (int k = 0; k < count; ++k) {
            const float a = 2 * pi * static_cast<float>(k) / static_cast<float>(count);
            points.push_back(at(cx + rx * std::cos(a), cy + ry * std::sin(a)));
        }
        return points;
    }
};

// The egg cell: a striped white disc under a bold rim of three black rings a
// pixel or so apart (the membrane), a double ring within (the clear shell)
// and a nucleus up and left, where the light comes from, ringed twice about
// a small nucleolus. Rings drawn later lie inside earlier ones, so no fill
// covers a ring drawn before it.
tds::mesh egg_cell() {
    const egg_dome dome;
    mesh_builder b("Egg");
    for (float r : {1.0f, 0.978f, 0.956f, 0.86f, 0.845f})
        outline_fan(b, dome.ring(0, 0, r, r, 28), dome.at(0, 0));
    for (float r : {0.27f, 0.25f, 0.08f})
        outline_fan(b, dome.ring(-0.28f, 0.3f, r, r, r > 0.1f ? 14 : 6), dome.at(-0.28f, 0.3f));
    return hide_streaks(b.take(), dome.right, dome.up);
}

// The corona round the egg: small oval cells, each a striped white body in
// a black outline, in a loose ring just outside the rim.
tds::mesh corona_cells() {
    const egg_dome dome;
    mesh_builder b("Corona");
    constexpr int cells = 16;
    for (int k = 0; k < cells; ++k) {
        const float a = 2 * pi * (static_cast<float>(k) + 0.3f) / cells;
        const float r = k % 2 ? 1.13f : 1.2f;
        const float cx = r * std::cos(a), cy = r * std::sin(a);
        std::vector<vec3> oval;
        for (int j = 0; j < 7; ++j) {
            // Long side along the rim.
            const float s = 2 * pi * static_cast<float>(j) / 7;
            const float along = 0.1f * std::cos(s), out = 0.055f * std::sin(s);
            oval.push_back(dome.at(cx + along * -std::sin(a) + out * std::cos(a),
                                   cy + along * std::cos(a) + out * std::sin(a)));
        }
        outline_fan(b, oval, dome.at(cx, cy));
    }
    return hide_streaks(b.take(), dome.right, dome.up);
}

// The fertilisation membrane: a ring on the egg's rim that lifts off it once
// the first swimmer touches. Slivers only, so it covers nothing.
tds::mesh membrane_ring() {
    const egg_dome dome;
    mesh_builder b("Membrane");
    outline_ring(b, dome.ring(0, 0, 1, 1, 32), dome.view * 0.05f);
    return hide_streaks(b.take(), dome.right, dome.up);
}

// A swimmer's head, flat and oval with its nose along -x, outlined twice for
// a bold line: two fans of eleven faces whose last each starts at the back
// of the head, where the tail joins, so that the streaks the part throws
// from them run back along the tail.
tds::mesh head_mesh(const std::string& name) {
    mesh_builder b(name);
    for (float size : {1.0f, 0.88f}) {
        std::vector<vec3> outline;
        for (int k = 1; k <= streak_period; ++k) {
            const float a = 2 * pi * static_cast<float>(k) / streak_period;
            // Rounder at the nose (cos a < 0) than at the back.
            const float fuller = 1 - 0.2f * std::cos(a);
            outline.push_back(vec3{6.5f * std::cos(a), 0, 4 * fuller * std::sin(a)} * size);
        }
        outline_fan(b, outline, {-0.5f, 0, 0});
    }
    return b.take();
}

// A tail along +x from the back of the head: two wavy lines side by side, a
// pixel or so apart, of eleven slivers each, their edges a-b the line (the
// part draws nothing else of them right of its fill column), waving up and
// down with the given phase, more towards the tip. All tails share one
// topology, so that they can morph into each other.
tds::mesh tail_mesh(const std::string& name, float phase) {
    mesh_builder b(name);
    for (float beside : {0.0f, 0.4f}) {
        const auto at = [phase, beside](int r) {
            const float t = static_cast<float>(r) / streak_period;
            return vec3{6.5f + 42 * t, 0,
                        beside * (1 - t) + 9 * t * std::sin(2 * pi * 1.1f * t + phase)};
        };
        for (int r = 0; r < streak_period; ++r)
            b.triangle(b.vertex(at(r)), b.vertex(at(r + 1)),
                       b.vertex(at(r + 1) + vec3{0, 0.05f, 0}));
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

// One swimmer's race: from `from`, beyond the right edge, it sets off at
// `leave` and reaches `to` at `arrive` (fractions of the swim), weaving less
// as it nears, and stays there wriggling.
struct race {
    vec3 from, to;
    float leave, arrive;
    vec3 at(float t) const {
        const float u = std::clamp((t - leave) / (arrive - leave), 0.0f, 1.0f);
        const float ease = 1 - (1 - u) * (1 - u);
        const vec3 weave{0, 6 * std::sin(9 * u), 5 * std::sin(7 * u)};
        return from + (to - from) * ease + weave * (1 - u);
    }
};

void add_egg(tds::scene& s) {
    s.meshes.push_back(egg_cell());
    s.meshes.push_back(corona_cells());
    s.meshes.push_back(membrane_ring());
    const vec3 view = normalised(swim_eye(0.5f));
    const char* names[3] = {"Egg", "Corona", "Membrane"};
    for (uint16_t i = 0; i < 3; ++i) {
        tds::node n = object_node(i, names[i]);
        n.position = hold({0, 0, 0});
        // Rocking about the line of sight keeps the dome facing the camera.
        n.rotation = swing(0, swim_frames, view, 0.35f, 3);
        // Breathing a little; the membrane lifts off when the egg is touched.
        n.scale = sampled(0, swim_frames, 15, [i](float t) {
            const float breathe = 1 + 0.02f * std::sin(24 * pi * t);
            const float lift = std::clamp((t - touch_at) / lift_time, 0.0f, 1.0f);
            const float k = breathe * (i == 2 ? 1 + 0.1f * lift * (2 - lift) : 1);
            return vec3{k, k, 1.04f * k};
        });
        s.nodes.push_back(n);
    }
}

} // namespace

tds::scene sperm_scene() {
    tds::scene s;
    s.end_frame = swim_frames;
    s.materials = scene_materials();
    add_egg(s);
    // The first touches the egg's right side with its nose (the head is 8.5
    // long before the nose at scale 1.3); the others stop in the corona.
    const race races[3] = {{{90, -10, 10}, {25.5f, -4, 5}, 0.0f, touch_at},
                           {{102, 24, -14}, {29, 8, -16}, 0.04f, 0.7f},
                           {{112, -24, 24}, {30, -10, 19}, 0.08f, 0.8f}};
    for (int i = 0; i < 3; ++i) {
        const std::string n = std::to_string(i + 1);
        s.meshes.push_back(head_mesh("Head" + n));
        s.meshes.push_back(tail_mesh("Tail" + n, i == 1 ? pi : 0));
        const auto id = static_cast<uint16_t>(3 + 3 * i);
        tds::node swimmer = dummy_node(id, "Swimmer" + n);
        swimmer.position = sampled(0, swim_frames, 10, [r = races[i]](float t) { return r.at(t); });
        // Heading along -x, towards the egg, swaying a little.
        swimmer.rotation = swing(0, swim_frames, {0, 0, 1}, 0.12f, 12 + 2 * i);
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
        camera_path("Camera01", 12, 13, swim_lens, 0, swim_frames, 30, swim_eye, [](float t) {
            return aim_beside(swim_eye(t), {0, 0, 0}, 22, 45, zoomed_projection());
        });
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

} // namespace vilora::kit::data
