// The title's scene: a hedgehog by night, drawn twice by otitulek.
//
// otitulek draws the first half of every mesh's faces twice. Flat, each face
// in the grey of its corner c's depth, circling 50 pixels about a point 20
// pixels up and left of where the camera shows it: the hedgehog stands in
// columns 135 to 289 and rows 71 to 116, on a bank from column 72, so the
// circle keeps it on the picture and above the lettering from row 147. And as lines, ten times
// slower, each corner at twice its distance from the middle and about a
// centre of its own (a about (150, 110), b about (170, 90), c about
// (160, 100)), in half that grey; a line is not drawn at all when its first
// point lies outside columns 1 to 318.
//
// The two passes are kept apart. Every flat face has corners a and b right
// of column 246, which the lines throw off the picture's right edge: it draws
// no line. And the lines draw an outline of their own, from faces that are
// flat only on the screen's rows or columns, where the fill draws nothing:
// a face whose corners a and b are 20 pixels apart across the lines' picture
// (a left) or 20 up it (a below), with c half-way, lies flat on one column
// or one row. Those outline the hedgehog again, larger, above row 70, where
// the part later fades its toadstool field in over the rest of the picture.
#include "kit/content/scenes/scenes.h"
#include "kit/shapes/rig.h"

#include <cmath>
#include <string>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;
constexpr uint32_t title_frames = 40; // otitulek plays 0 to 30
constexpr float lens = 24;

// A camera square to the scene, looking along +y from 200 units in front of
// it: a point's depth is y + 200, and world x and z are the screen's right
// and up.
vec3 title_eye() {
    return {0, -200, 0};
}
vec3 title_target() {
    return {0, 0, 0};
}

// The world point that the flat pass shows at column x, row y (relative to
// the picture, before the circling), at depth `depth`.
vec3 on_screen(float x, float y, float depth) {
    const projection p = part_projection(lens_fov(lens), 320);
    return {(x - 160) * depth / p.persp_x, depth - 200, (100 - y) * depth / p.persp_y};
}

struct point {
    float x, y;
};

// Faces of the flat pass, given on its screen. Corners a and b right of
// column 246: the line pass throws them past column 319. Corner c at the
// depth that makes the face's grey.
class flat_faces {
public:
    explicit flat_faces(const std::string& name) : b_(name) {}
    void face(point a, point b, point c, float grey) {
        b_.triangle(b_.vertex(on_screen(a.x, a.y, 200)), b_.vertex(on_screen(b.x, b.y, 200)),
                    b_.vertex(on_screen(c.x, c.y, grey)));
    }
    tds::mesh take() { return with_back_faces(b_.take("Fur")); }

private:
    mesh_builder b_;
};

// Segments of the line pass, given on its screen: each from a to b with c
// half-way, a and b 20 pixels apart across (a left) or up (a below); a = b
// draws the single pixel right of a. Odd coordinates put the flat corners
// half-way between pixels, so that they round alike.
class outline {
public:
    outline() : b_("Outline") {}
    void segment(point a, point b, float grey) {
        const point c{(a.x + b.x) / 2, (a.y + b.y) / 2};
        // The flat corner under a line corner: half as far from the middle.
        const auto flat = [&](point p, float cx, float cy) {
            return on_screen(160 + (p.x - cx) / 2, 100 + (p.y - cy) / 2, 2 * grey);
        };
        b_.triangle(b_.vertex(flat(a, 150, 110)), b_.vertex(flat(b, 170, 90)),
                    b_.vertex(flat(c, 160, 100)));
    }
    // A chain of segments through `points`, each pair ordered as above.
    void chain(std::initializer_list<point> points, float grey) {
        const point* last = nullptr;
        for (const point& p : points) {
            if (last) {
                const bool across = std::fabs(p.x - last->x) == 20;
                const bool first = across ? last->x < p.x : last->y > p.y;
                segment(first ? *last : p, first ? p : *last, grey);
            }
            last = &p;
        }
    }
    tds::mesh take() { return with_back_faces(b_.take("Fur")); }

private:
    mesh_builder b_;
};

// The hedgehog of the flat pass, facing right: quills, the back they grow
// from, the head. Every face fans from the neck, corners a and b on it
// (column 248, rows 81 and 109); the quills are long thin fans of which only
// the tips show past the back, which is drawn over them.
constexpr point neck_top{248.5f, 81.5f}, neck_bottom{248.5f, 109.5f};
constexpr float back_x = 197, back_y = 109; // the back: half an ellipse on the belly

tds::mesh hedgehog_mesh() {
    flat_faces h("Hedgehog");
    constexpr int quills = 9;
    for (int i = 0; i < quills; ++i) {
        // Tips up to 16 pixels past the back (12 above it), from the rump forward to the
        // neck, about 19 pixels apart: each fan shows past the back as a
        // spike 6 to 8 pixels wide at its root.
        const float a = (170 - 118 * static_cast<float>(i) / (quills - 1)) * pi / 180;
        h.face(neck_top, neck_bottom, {back_x + 62 * std::cos(a), back_y - 36 * std::sin(a)},
               i % 2 ? 176 : 222);
    }
    for (int k = 0; k <= 32; ++k) {
        const float a = (180 - 5 * static_cast<float>(k)) * pi / 180;
        h.face(neck_top, neck_bottom, {back_x + 46 * std::cos(a), back_y - 24 * std::sin(a)}, 128);
    }
    return h.take();
}

// The head: a pale pointed face with a dark nose, an eye and a small ear,
// all right of the neck.
tds::mesh head_mesh() {
    flat_faces f("Head");
    const point brow{260.5f, 84.5f}, snout{279.5f, 97.5f}, nose{287.5f, 101.5f},
        chin{276.5f, 106.5f}, throat{256.5f, 110.5f};
    f.face(neck_top, neck_bottom, brow, 206);
    f.face(brow, neck_bottom, snout, 206);
    f.face(snout, neck_bottom, chin, 206);
    f.face(neck_bottom, chin, throat, 206);
    f.face(snout, chin, nose, 206);
    f.face({281.5f, 98.5f}, {281.5f, 103.5f}, {287.5f, 101.5f}, 30); // the nose
    f.face({263.5f, 90.5f}, {271.5f, 91.5f}, {266.5f, 97.5f}, 30);   // the eye
    f.face({251.5f, 84.5f}, {258.5f, 85.5f}, {253.5f, 77.5f}, 150);  // the ear
    return f.take();
}

// Two front feet under the throat.
tds::mesh feet_mesh() {
    flat_faces f("Feet");
    f.face({250.5f, 107.5f}, {257.5f, 107.5f}, {257.5f, 112.5f}, 96);
    f.face({262.5f, 106.5f}, {269.5f, 106.5f}, {270.5f, 112.5f}, 96);
    return f.take();
}

// The hedgehog again in lines, facing right, in columns 15 to 155 and rows
// 11 to 63 of the line pass: quills swept back along a round back and
// pointing back from the rump, a snout, a flat belly and an eye.
tds::mesh outline_mesh() {
    outline o;
    constexpr float grey = 214;
    // Back: from the rump (35, 39) each quill rises 20 rows and 4 columns
    // back to its tip and falls 20 columns forward to the next root.
    constexpr float rises[] = {-6, -2, 2, 6, 8};
    point root{35, 39};
    for (const float rise : rises) {
        const point tip{root.x - 4, root.y - 20}, next{tip.x + 20, root.y + rise};
        o.chain({root, tip, next}, grey);
        root = next;
    }
    // Snout, throat and belly, and two quills up the rump pointing back.
    const point neck = root; // (115, 47)
    o.chain({neck,
             {neck.x + 20, neck.y + 6},
             {neck.x + 40, neck.y + 14},
             {neck.x + 20, 63},
             {neck.x, 63},
             {neck.x - 20, 63},
             {neck.x - 40, 63},
             {neck.x - 60, 63},
             {35, 63},
             {15, 57},
             {35, 51},
             {15, 45},
             {35, 39}},
            grey);
    // The eye: two dots in white.
    for (const point dot : {point{125, 53}, {127, 53}}) o.segment(dot, dot, 250);
    return o.take();
}

// The bank they stand on, circling with them: a strip of ground behind the
// feet, of faces that all share corners a and b, the ends of its foot, which
// the lines throw off both edges of the picture; each face's corner c is a
// crest of its top.
tds::mesh bank_mesh() {
    flat_faces b("Bank");
    for (int k = 0; k < 9; ++k) {
        const float x = 100 + 20 * static_cast<float>(k);
        b.face({84.5f, 116.5f}, {276.5f, 116.5f}, {x, 109 + 2 * std::sin(x / 9)}, 80);
    }
    return b.take();
}

} // namespace

tds::scene hedge_scene() {
    tds::scene s;
    s.end_frame = title_frames;
    s.materials = scene_materials();
    s.lights = {{"Omni01", {-60, -80, 90}}};
    tds::node meadow = dummy_node(0, "Meadow");
    meadow.position = hold({0, 0, 0});
    s.nodes = {meadow};
    // The bank first: the flat pass draws the meshes in turn over each other.
    s.meshes.push_back(bank_mesh());
    uint16_t id = 1;
    // It slides back under the feet as the hedgehog walks on the spot; its
    // foot stays in the columns the line pass throws off the picture.
    tds::node bank = object_node(id++, "Bank", 0);
    bank.position = sampled(0, title_frames, 5, [](float t) { return vec3{-16 * t, 0, 0}; });
    bank.scale = hold({1, 1, 1});
    s.nodes.push_back(bank);
    // The hedgehog rocks as it walks on the spot, its head nods and its feet
    // paddle: turns about the line of sight through the middle of the
    // picture, which move every point on the screen alike whatever its depth
    // and keep the corners that hold the line pass off them near column 248.
    s.meshes.push_back(hedgehog_mesh());
    s.meshes.push_back(head_mesh());
    s.meshes.push_back(feet_mesh());
    tds::node hog = object_node(id++, "Hedgehog", 0);
    hog.position = hold({0, 0, 0});
    hog.rotation = swing(0, title_frames, {0, 1, 0}, 0.02f, 2);
    hog.scale = hold({1, 1, 1});
    s.nodes.push_back(hog);
    tds::node head = object_node(id++, "Head", static_cast<int16_t>(hog.id));
    head.position = hold({0, 0, 0});
    head.rotation = swing(0, title_frames, {0, 1, 0}, 0.01f, 4);
    head.scale = hold({1, 1, 1});
    s.nodes.push_back(head);
    tds::node feet = object_node(id++, "Feet", static_cast<int16_t>(hog.id));
    feet.position = hold({0, 0, 0});
    feet.rotation = swing(0, title_frames, {0, 1, 0}, 0.01f, 8);
    feet.scale = hold({1, 1, 1});
    // Out of sight a while, after the frames the title plays.
    feet.hide_keys = {34, 38};
    s.nodes.push_back(feet);
    // The outline holds still: moved, its corners would no longer round
    // alike.
    s.meshes.push_back(outline_mesh());
    tds::node lines = object_node(id++, "Outline", 0);
    lines.position = hold({0, 0, 0});
    lines.scale = hold({1, 1, 1});
    s.nodes.push_back(lines);
    const camera_rig cam = camera_path(
        "Camera01", id, static_cast<uint16_t>(id + 1), lens, 0, title_frames, 10,
        [](float) { return title_eye(); }, [](float) { return title_target(); });
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

} // namespace vilora::kit::data
