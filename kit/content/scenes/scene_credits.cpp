// The credits' scene, also odistort's: a dragonfly hovering by a daisy.
//
// oskred0 fills the first half of each mesh's faces in green by depth about
// (120, 100), and draws the first eighth again as lines, grey by depth, at
// twice the size about the same point, shaken sideways. Its credit plaques
// rise into the bottom left from row 131 and its lettering stands right of
// column 262. So the dragonfly hovers within columns 60 to 185 and rows 50 to
// 115, where its lines, twice as far out, stay left of the lettering and
// above the plaques; and the daisy stands left of column 55, where its flat
// faces show and its lines fall off the picture's left edge, where the part
// does not draw them. Depths stay within 60 to 255, where the lines' grey
// runs from dim to white and the faces' green from dark to middling.
//
// odistort draws every face as green lines with a narrower camera, and the
// first third of each mesh's faces in three small copies scrolling along a
// band above its labels.
#include "kit/content/scenes/scenes.h"
#include "kit/shapes/rig.h"

#include <cmath>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;
constexpr uint32_t loop_frames = 100;
constexpr float lens = 50;

// A daisy, its head about the origin facing -y and tipped up (towards a
// camera in front of it and above): eight petals round a domed middle, on a
// stem down to z = -50 with two leaves.
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
    return with_back_faces(b.take("Petal"));
}

// The camera: still, above and in front; the dragonfly's middle at
// (132, 88) of the credits' picture.
constexpr vec3 credits_eye{0, -160, 150};
vec3 credits_target() {
    return aim_beside(credits_eye, {0, 0, 0}, 16, 17, part_projection(lens_fov(lens), 320));
}
// The dragonfly hovers on the spot, so its faces can be shaded by sliding
// their corner c along the line of sight (see still_view): the body dark,
// the wings, beating about their roots, at their own depth.
constexpr float fly_heading = 2.4f, fly_size = 0.6f;
still_view body_view() {
    // The camera as the body's node sees it: the dragonfly is turned and
    // scaled, so the eye is taken into its own axes.
    const vec3 e = credits_eye * (1 / fly_size);
    const float c = std::cos(-fly_heading), s = std::sin(-fly_heading);
    const vec3 eye{e.x * c - e.y * s, e.x * s + e.y * c, e.z};
    return {eye, normalised(eye * -1)};
}

// The dragonfly's body along +x, flat in z = 0: first the head's two great
// eyes (the lines' copy draws them with the wings), then the thorax and the
// long tail, whose joints are darker.
tds::mesh dragonfly_body() {
    mesh_builder b("Body");
    const still_view view = body_view();
    const auto t = [&](float ax, float ay, float bx, float by, float cx, float cy, float depth) {
        b.triangle(b.vertex({ax, ay, 0}), b.vertex({bx, by, 0}),
                   b.vertex(view.at_depth({cx, cy, 0}, depth / fly_size)));
    };
    constexpr float body = 160, dark = 120;
    t(15, 0, 20, 8, 26, 1, dark);   // the eyes
    t(15, 0, 26, -1, 20, -8, dark); //
    t(16, 0, 6, 5, 6, -5, body);    // the thorax
    t(16, 0, 6, -5, 0, 0, body);    //
    t(6, 3, 6, -3, -44, 0, body);   // the tail
    for (int k = 0; k < 4; ++k) {   // its joints
        const float x = -4 - 11 * static_cast<float>(k), w = 3.4f - 0.5f * static_cast<float>(k);
        t(x, w, x - 4, 0, x, -w, dark);
    }
    return with_back_faces(b.take("Chitin"));
}

// A wing from its root at the origin along +y (side +1) or -y (side -1),
// flat in z = 0, with a rounded tip, swept by `sweep` (along +x per unit of
// span): first the broad face from the front of the root over the trailing
// edge's bulge to the tip, the one the lines' copy draws, so that it shows a
// wing's outline rather than a spike; then the rest of the root, the leading
// edge bulging out, and the tip.
tds::mesh wing(const std::string& name, float side, float length, float sweep) {
    mesh_builder b(name);
    const auto at = [&](float chord, float span) {
        return b.vertex({chord + sweep * span * length, side * span * length, 0});
    };
    const uint16_t front = at(3, 0), back = at(-4, 0), tip = at(-1, 1), trailing = at(-8, 0.5f);
    b.triangle(front, trailing, tip);
    b.triangle(front, back, trailing);
    b.triangle(front, tip, at(5.5f, 0.5f));
    b.triangle(tip, at(4, 0.82f), at(2, 0.97f));
    return with_back_faces(b.take("Glass"));
}

} // namespace

tds::scene vosaq_scene() {
    tds::scene s;
    s.end_frame = loop_frames;
    s.materials = scene_materials();
    s.meshes = {flower_mesh(),
                dragonfly_body(),
                wing("WingFL", 1, 42, 0.3f),
                wing("WingFR", -1, 42, 0.3f),
                wing("WingHL", 1, 40, -0.2f),
                wing("WingHR", -1, 40, -0.2f)};
    tds::node flower = object_node(0, "Flower");
    flower.position = hold({-64, 13, 2});
    flower.rotation = swing(0, loop_frames, {0, 1, 0}, 0.06f, 2);
    flower.scale = hold({0.47f, 0.47f, 0.47f});
    // The dragonfly hovers on the spot facing up and left, towards the daisy.
    tds::node fly = dummy_node(1, "Dragonfly");
    fly.position = hold({0, 0, 0});
    fly.rotation = {tds::track_once, {{0, turning(fly_heading, {0, 0, 1}), {}}}};
    fly.scale = hold({fly_size, fly_size, fly_size});
    auto part = [](uint16_t id, const char* name, vec3 at) {
        tds::node n = object_node(id, name, 1);
        n.position = hold(at);
        n.scale = hold({1, 1, 1});
        return n;
    };
    tds::node body = part(2, "Body", {0, 0, 0});
    body.rotation = {tds::track_once, {{0, turning(0, {0, 0, 1}), {}}}};
    // The wings beat about their roots, the fore pair against the hind pair.
    constexpr int beats = 25;
    tds::node wing_fl = part(3, "WingFL", {12, 2, 1});
    wing_fl.rotation = swing(0, loop_frames, {1, 0, 0}, -0.25f, beats);
    tds::node wing_fr = part(4, "WingFR", {12, -2, 1});
    wing_fr.rotation = swing(0, loop_frames, {1, 0, 0}, 0.25f, beats);
    tds::node wing_hl = part(5, "WingHL", {4, 2, 1});
    wing_hl.rotation = swing(0, loop_frames, {1, 0, 0}, 0.25f, beats);
    tds::node wing_hr = part(6, "WingHR", {4, -2, 1});
    wing_hr.rotation = swing(0, loop_frames, {1, 0, 0}, -0.25f, beats);
    const camera_rig cam = camera_path(
        "Camera01", 7, 8, lens, 0, loop_frames, 25, [](float) { return credits_eye; },
        [](float) { return credits_target(); });
    s.cameras = {cam.camera};
    s.lights = {{"Sun", {100, -100, 150}, {1, 0.95f, 0.8f}}};
    s.nodes = {flower, fly, body, wing_fl, wing_fr, wing_hl, wing_hr, cam.eye, cam.target};
    return s;
}

} // namespace vilora::kit::data
