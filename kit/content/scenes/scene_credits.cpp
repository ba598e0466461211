// The credits' scene, also odistort's: a dragonfly seen from above, hovering
// by a daisy.
//
// The camera looks level along +y, so the scene is laid out flat across its
// view: x to the right and z up on the screen, y away. Shapes are drawn in
// pixels of the credits' projection (centre (120, 100), camera width 320)
// at a chosen depth, and the depth of each face's corner c is its shade.
//
// oskred0 fills the first half of each mesh's faces in green by depth and
// draws the first eighth again as grey lines at twice the size about
// (120, 100), shaken up to 4 pixels right. Every mesh repeats its faces
// turned over after them, so its first half is the shape once, and the first
// eighth is the first quarter of the shape: the outline faces come first,
// and the big grey copy reads as a dragonfly twice the size, its eyes, body
// and four wings. Its credit plaques rise into the bottom left from row 131
// and its lettering stands right of column 258, so the dragonfly keeps to
// columns 60 to 187 and rows 50 to 115, where its copy, twice as far out,
// stays left of the lettering and above the plaques. The daisy stands at
// the left, where its copy falls off the picture's left edge and the part
// draws none of it.
//
// odistort draws every face as green lines through a narrower camera (x
// times 0.6875, y the same), so the shapes are few faces whose edges lie
// along their outlines, and nothing comes below row 112, where its strip
// carries the labels. The first third of each mesh's faces, the daisy's
// head and the dragonfly without the tail's joints, scroll along the strip
// as three small copies.
#include "kit/content/scenes/scenes.h"
#include "kit/shapes/rig.h"

#include <cmath>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;
constexpr uint32_t loop_frames = 200;
constexpr float lens = 50;
constexpr float eye_distance = 250;

// A point of the credits' picture, (x, y) in pixels, at `depth` in front of
// the camera, in the scene's space (the camera at (0, -250, 0) looking at
// the origin).
vec3 on_screen(float x, float y, float depth) {
    static const projection p = part_projection(lens_fov(lens), 320);
    return {(x - 120) * depth / p.persp_x, depth - eye_distance, (100 - y) * depth / p.persp_y};
}

// A 2D point of a drawing in pixels.
struct pixel {
    float x, y;
};

// Builds a mesh in pixels at a depth per face, relative to a node at
// `origin` (a scene point).
class flat_drawing {
public:
    flat_drawing(const std::string& name, vec3 origin) : builder_(name), origin_(origin) {}
    void triangle(pixel a, pixel b, pixel c, float depth) {
        builder_.triangle(corner(a, depth), corner(b, depth), corner(c, depth));
    }
    // Two faces a-b-c and a-c-d, both with corner c at c: one shade.
    void kite(pixel a, pixel b, pixel c, pixel d, float depth) {
        triangle(a, b, c, depth);
        triangle(a, d, c, depth);
    }
    tds::mesh take(const std::string& material) { return with_back_faces(builder_.take(material)); }

private:
    uint16_t corner(pixel p, float depth) {
        return builder_.vertex(on_screen(p.x, p.y, depth) - origin_);
    }
    mesh_builder builder_;
    vec3 origin_;
};

// Depths, so shades: the green fill is depth / 2 and the grey lines the
// depth itself, both below 128 and 256 to stay within a channel.
constexpr float petal_depth = 240, middle_depth = 130, stem_depth = 180;
constexpr float body_depth = 200, eye_depth = 245, joint_depth = 120;

// The daisy: its head about (36, 58), its stem standing on row 110.
constexpr pixel daisy_middle{36, 58}, daisy_root{36, 110};
vec3 daisy_origin() {
    return on_screen(daisy_root.x, daisy_root.y, stem_depth);
}

// One mesh, so that its order says what each part draws: first the round
// middle, a dozen faces about its centre, then twelve petals, each one
// face from the middle out to a broad end 23 pixels out, so that the first
// third of the faces, which odistort fills for its copies, is the whole
// head, petals round a dark middle, and nothing of the stem, which would
// hang onto its strip. The stem and the two leaves, two faces apiece,
// make up the other third; the credits fill the whole flower and their
// grey copy, the first eighth, holds only the middle, which lies left of
// column 58, off the picture there.
tds::mesh daisy() {
    flat_drawing d("DaisyFlower", daisy_origin());
    const auto at = [](float angle, float r, float aside) {
        const float c = std::cos(angle), s = std::sin(angle);
        return pixel{daisy_middle.x + c * r - s * aside, daisy_middle.y + s * r + c * aside};
    };
    constexpr int petals = 12;
    for (int k = 0; k < petals; ++k) {
        const float a = 2 * pi * static_cast<float>(k) / petals;
        const float b = 2 * pi * static_cast<float>(k + 1) / petals;
        d.triangle(at(a, 8, 0), at(b, 8, 0), daisy_middle, middle_depth);
    }
    for (int p = 0; p < petals; ++p) {
        const float a = 2 * pi * (static_cast<float>(p) + 0.5f) / petals;
        d.triangle(at(a, 23, -4.5f), at(a, 23, 4.5f), at(a, 5, 0), petal_depth);
    }
    d.kite({35, 80}, {37.5f, 80}, {37.5f, 95}, {35, 95}, stem_depth);
    d.kite({35, 95}, {37.5f, 95}, {37.5f, 110}, {35, 110}, stem_depth);
    d.kite({35.5f, 105}, {32, 100}, {25, 97}, {31, 104}, stem_depth);
    d.kite({31, 104}, {25, 97}, {20, 96}, {24, 101}, stem_depth);
    d.kite({37, 101}, {40, 96}, {46, 93}, {42, 100}, stem_depth);
    d.kite({42, 100}, {46, 93}, {52, 92}, {47, 97}, stem_depth);
    return d.take("Petal");
}

// The dragonfly's thorax, the point it sways and turns about, and the roots
// of its wings beside it.
constexpr pixel thorax{130, 68};
vec3 fly_origin() {
    return on_screen(thorax.x, thorax.y, body_depth);
}

// Head up: first the two great eyes, the thorax and the long tail, the
// outline the grey copy draws; then the thorax's flanks, the face, the
// tail's tip and the dark joints along the tail.
tds::mesh dragonfly_body() {
    flat_drawing d("Body", fly_origin());
    d.triangle({129.5f, 56}, {121, 60}, {128, 65}, eye_depth);
    d.triangle({130.5f, 56}, {139, 60}, {132, 65}, eye_depth);
    d.triangle({124, 64}, {136, 64}, {130, 77}, body_depth);
    d.triangle({127.6f, 73}, {132.4f, 73}, {130, 107}, body_depth);
    d.triangle({124, 64}, {122, 70}, {130, 77}, body_depth);
    d.triangle({136, 64}, {138, 70}, {130, 77}, body_depth);
    d.triangle({126.5f, 63}, {133.5f, 63}, {130, 59}, body_depth);
    d.triangle({129, 103}, {131, 103}, {130, 108}, body_depth);
    for (int k = 0; k < 4; ++k) {
        const float y = 80 + 7 * static_cast<float>(k), w = 3.2f - 0.3f * static_cast<float>(k);
        d.kite({130 - w, y}, {130, y - 2}, {130 + w, y}, {130, y + 2}, joint_depth);
    }
    return d.take("Chitin");
}

// A wing's outline from its root, in pixels along the wing (out) and across
// it (back, towards the tail), and its depth: the hind wings lie deeper
// in shade than the fore wings they cross.
struct wing_shape {
    pixel root_back, trailing, trailing_out, tip, leading, leading_out;
    float depth;
};
// The fore wings reach forward, the hind wings, broad at the root, back.
constexpr wing_shape fore_wing{{0, 4}, {22, 5}, {40, 1}, {47, -4}, {24, -4}, {40, -6}, 225};
constexpr wing_shape hind_wing{{0, 6}, {14, 11}, {36, 10}, {44, 6}, {22, 1}, {38, 3}, 195};

// A wing from `root` out to the left (side -1) or right (+1): first the two
// faces the grey copy draws, the wing's outline from its root to its tip
// along the trailing edge, with one vein; then the rounding of both edges
// and the cell of the spot near the tip, which the lines show. The wing
// turns about the body's axis, so all of it lies at its one depth: a corner
// off that plane would swing out far across the screen.
tds::mesh wing(const std::string& name, pixel root, float side, const wing_shape& w) {
    flat_drawing d(name, on_screen(root.x, root.y, w.depth));
    const auto at = [&](pixel p) { return pixel{root.x + side * p.x, root.y + p.y}; };
    const pixel base = at({0, 0}), tip = at(w.tip);
    d.triangle(base, at(w.trailing), tip, w.depth);
    d.triangle(base, at(w.root_back), at(w.trailing), w.depth);
    d.triangle(at(w.trailing), at(w.trailing_out), tip, w.depth);
    d.triangle(base, at(w.leading), tip, w.depth);
    d.triangle(at(w.leading), at(w.leading_out), tip, w.depth);
    d.triangle(at(w.trailing_out), at({w.tip.x - 2, w.tip.y + 3}), tip, w.depth);
    const float spot = w.leading_out.x - 3;
    d.kite(at({spot, w.leading_out.y + 0.5f}), at({spot + 4, w.leading_out.y + 1}),
           at({spot + 4, w.leading_out.y + 2.5f}), at({spot, w.leading_out.y + 2.5f}), w.depth);
    return d.take("Glass");
}

constexpr pixel fore_left{127, 65}, fore_right{133, 65}, hind_left{127, 72}, hind_right{133, 72};

tds::node child(uint16_t id, const char* name, int16_t parent, vec3 at) {
    tds::node n = object_node(id, name, parent);
    n.position = hold(at);
    n.scale = hold({1, 1, 1});
    return n;
}

// A wing's node: at its root, beating about the body's axis (z, up the
// screen), so that seen from above it narrows and widens.
tds::node beating(uint16_t id, const char* name, pixel root, const wing_shape& w, float angle) {
    constexpr int beats = 33; // one every six frames or so
    tds::node n = child(id, name, 2, on_screen(root.x, root.y, w.depth) - fly_origin());
    n.rotation = swing(0, loop_frames, {0, 0, 1}, angle, beats);
    return n;
}

} // namespace

tds::scene vosaq_scene() {
    tds::scene s;
    s.end_frame = loop_frames;
    s.materials = scene_materials();
    s.meshes = {daisy(),
                dragonfly_body(),
                wing("WingFL", fore_left, -1, fore_wing),
                wing("WingFR", fore_right, 1, fore_wing),
                wing("WingHL", hind_left, -1, hind_wing),
                wing("WingHR", hind_right, 1, hind_wing)};
    // The daisy nods on its stem, about the camera's line of sight.
    tds::node plant = dummy_node(0, "Daisy");
    plant.position = hold(daisy_origin());
    plant.rotation = swing(0, loop_frames, {0, 1, 0}, 0.05f, 2);
    // The dragonfly sways about its place and turns a little to and fro.
    tds::node fly = dummy_node(2, "Dragonfly");
    fly.position = sampled(0, loop_frames, 10, [](float t) {
        return on_screen(thorax.x + 3 * std::sin(2 * pi * 2 * t),
                         thorax.y + 2 * std::sin(2 * pi * 3 * t), body_depth);
    });
    fly.rotation = swing(0, loop_frames, {0, 1, 0}, 0.08f, 3);
    const camera_rig cam = camera_path(
        "Camera01", 8, 9, lens, 0, loop_frames, 50,
        [](float) {
            return vec3{0, -eye_distance, 0};
        },
        [](float) {
            return vec3{0, 0, 0};
        });
    s.cameras = {cam.camera};
    s.lights = {{"Sun", {100, -150, 150}, {1, 0.95f, 0.8f}}};
    s.nodes = {plant, child(1, "DaisyFlower", 0, {0, 0, 0}), fly, child(3, "Body", 2, {0, 0, 0}),
               // The fore pair beats against the hind pair; the two wings of
               // a pair mirror each other.
               beating(4, "WingFL", fore_left, fore_wing, 0.7f),
               beating(5, "WingFR", fore_right, fore_wing, -0.7f),
               beating(6, "WingHL", hind_left, hind_wing, -0.7f),
               beating(7, "WingHR", hind_right, hind_wing, 0.7f), cam.eye, cam.target};
    return s;
}

} // namespace vilora::kit::data
