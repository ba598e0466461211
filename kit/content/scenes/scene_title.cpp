// The title's scene: a hedgehog by night, drawn twice by otitulek.
//
// otitulek draws the first half of every mesh's faces twice. Flat, each face
// in the grey of its corner c's depth, circling 50 pixels about a point 20
// pixels up and left of where the camera shows it: the hedgehog stands in
// columns 141 to 289 and rows 71 to 116, so the circle keeps it on the
// picture and above the lettering from row 147. And as lines, ten times
// slower, each corner at twice its distance from the middle and about a
// centre of its own (a about (150, 110), b about (170, 90), c about
// (160, 100)), in half that grey; a line is not drawn at all when its first
// point lies outside columns 1 to 318.
//
// The two passes are kept apart. Every flat face has corners a and b right
// of column 246, which the lines throw off the picture's right edge: it draws
// no line. And the lines draw an outline of their own, from faces that are
// flat only on the screen's rows or columns, where the fill draws nothing:
// a face whose corner b is 20 pixels right of a on the lines' picture, c on
// the column between, lies flat on one column; one whose b is 20 pixels
// above a, c on the row between, lies flat on one row. Those draw the
// hedgehog again as a line drawing, quills and all, above row 70, where the
// part later fades its toadstool field in over the rest of the picture.
#include "kit/content/scenes/scenes.h"
#include "kit/shapes/rig.h"

#include <cmath>
#include <cstddef>
#include <iterator>
#include <string>
#include <vector>

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

// Faces of the line pass, given on its screen by the corners a, b, c it
// draws lines between. The fill draws nothing of a face whose flat corners
// share one column, which is a face with b 20 columns right of a and c on the
// column between them (rows free), or share one row, which is b 20 rows above
// a and c on the row between (columns free). A face with a = b = c is a dot:
// its flat corners lie on one diagonal, where the fill's edges meet, and each
// line draws the pixel right of it. Line corners lie half a pixel into their
// pixel, so that they truncate alike whatever the rounding on the way.
class outline {
public:
    explicit outline(const std::string& name) : b_(name) {}
    void face(point a, point b, point c, float grey) {
        // The flat corner under a line corner: half as far from the middle.
        const auto flat = [&](point p, float cx, float cy) {
            return on_screen(160 + (p.x + 0.5f - cx) / 2, 100 + (p.y + 0.5f - cy) / 2, 2 * grey);
        };
        b_.triangle(b_.vertex(flat(a, 150, 110)), b_.vertex(flat(b, 170, 90)),
                    b_.vertex(flat(c, 160, 100)));
    }
    // A quill from `root` along `direction` (need not be unit), as long as
    // it takes to cross 20 rows, or 20 columns when it runs more across than
    // up or down; a thin wedge, its side corner `width` pixels off the
    // middle.
    void quill(point root, point direction, float width, float grey) {
        const bool steep = std::fabs(direction.y) >= std::fabs(direction.x);
        const float reach = 20 / std::fabs(steep ? direction.y : direction.x);
        const point tip{std::round(root.x + direction.x * reach),
                        std::round(root.y + direction.y * reach)};
        const point middle{(root.x + tip.x) / 2, (root.y + tip.y) / 2};
        if (steep) {
            const bool up = tip.y < root.y;
            face(up ? root : tip, up ? tip : root, {middle.x + width, middle.y}, grey);
        } else {
            const bool right = tip.x > root.x;
            face(right ? root : tip, right ? tip : root, {middle.x, middle.y + width}, grey);
        }
    }
    // A straight line from p to q, 20 columns across or 20 rows up or down:
    // its middle corner lies on it.
    void chord(point p, point q, float grey) {
        const point middle{(p.x + q.x) / 2, (p.y + q.y) / 2};
        if (std::fabs(q.x - p.x) == 20)
            face(p.x < q.x ? p : q, p.x < q.x ? q : p, middle, grey);
        else
            face(p.y > q.y ? p : q, p.y > q.y ? q : p, middle, grey);
    }
    // A chain of chords through `points`.
    void chain(std::initializer_list<point> points, float grey) {
        for (auto p = points.begin(); p + 1 < points.end(); ++p) chord(*p, p[1], grey);
    }
    // A leg hanging `depth` rows below the 20 columns of belly from `left`.
    void leg(point left, float depth, float grey) {
        face(left, {left.x + 20, left.y}, {left.x + 10, left.y + depth}, grey);
    }
    void dot(point p, float grey) { face(p, p, p, grey); }
    tds::mesh take() { return with_back_faces(b_.take("Fur")); }

private:
    mesh_builder b_;
};

// The hedgehog of the flat pass, facing right: quills, the back they grow
// from, the head. Every face fans from the neck, corners a and b on it
// (column 248, rows 81 and 109); the quills are long thin fans of which only
// the tips show past the back, which is drawn over them: first whole and
// dark, then a paler hump within it, which leaves the dark along the rump and
// the top of the back, so that the back reads round, lit from above.
constexpr point neck_top{248.5f, 81.5f}, neck_bottom{248.5f, 109.5f};
constexpr float back_x = 199, back_y = 109; // the back: half an ellipse on the belly

tds::mesh hedgehog_mesh() {
    flat_faces h("Hedgehog");
    constexpr int quills = 11;
    for (int i = 0; i < quills; ++i) {
        // Tips up to 12 pixels past the back (8 above it), from the rump
        // forward to the neck: each fan shows past the back as a spike a few
        // pixels wide at its root.
        const float a = (172 - 124 * static_cast<float>(i) / (quills - 1)) * pi / 180;
        h.face(neck_top, neck_bottom, {back_x + 58 * std::cos(a), back_y - 38 * std::sin(a)},
               i % 2 ? 176 : 222);
    }
    // The back, and the paler hump within it: half ellipses about points on
    // the belly, each drawn as a fan of thin faces to points 4 degrees
    // apart round it.
    struct hump {
        float x, y, rx, ry, grey;
    };
    for (const hump& b : {hump{back_x, back_y, 46, 30, 104}, hump{203, 106, 36, 20, 140}})
        for (int k = 0; k <= 45; ++k) {
            const float a = (180 - 4 * static_cast<float>(k)) * pi / 180;
            h.face(neck_top, neck_bottom, {b.x + b.rx * std::cos(a), b.y - b.ry * std::sin(a)},
                   b.grey);
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

// The hedgehog again in lines, facing right, in columns 10 to 144 and rows 4
// to 63 of the line pass, tucked into the top left corner where the circling
// hedgehog passes least: half an ellipse of back fringed with quills swept
// back, a pointed snout with a bright nose and eye, a belly and two short
// legs. The back's ellipse, in the line pass's pixels:
constexpr float back_cx = 80, back_cy = 54, back_rx = 50, back_ry = 30;
constexpr float brow_angle = 52; // degrees, where the back meets the head

point on_back(float degrees) {
    const float a = degrees * pi / 180;
    return {back_cx + back_rx * std::cos(a), back_cy - back_ry * std::sin(a)};
}

// The back's line from the rump's foot over the top to the brow: chords of
// the ellipse, 20 rows up while it climbs steeply, then 20 columns across.
std::vector<point> back_line() {
    std::vector<point> line{{back_cx - back_rx, back_cy}};
    for (float degrees = 180; degrees >= brow_angle; degrees -= 0.25f) {
        const point p = on_back(degrees);
        const point last = line.back();
        if (p.y <= last.y - 20)
            line.push_back({std::round(p.x), last.y - 20});
        else if (p.x >= last.x + 20)
            line.push_back({last.x + 20, std::round(p.y)});
    }
    return line;
}

tds::mesh outline_mesh() {
    outline o("Outline");
    constexpr float grey = 214, bright = 250;
    // Quills rooted on the back, from the rump's foot over the top to the
    // brow, each swept back from the ellipse's normal.
    for (int k = 0; k <= 20; ++k) {
        const float degrees = 176 - 6 * static_cast<float>(k);
        const point root = on_back(degrees);
        const float a = degrees * pi / 180;
        const float nx = std::cos(a) / back_rx, ny = -std::sin(a) / back_ry;
        const float n = std::hypot(nx, ny);
        o.quill({std::round(root.x), std::round(root.y)}, {nx / n - 0.6f, ny / n},
                k % 2 ? 2.0f : -2.0f, grey);
    }
    const std::vector<point> back = back_line();
    for (size_t i = 0; i + 1 < back.size(); ++i) o.chord(back[i], back[i + 1], grey);
    // The head: down from the brow to the nose and back to the chin and the
    // belly, which runs back to the rump in chords that overlap on its row.
    const point brow = back.back(), nose{brow.x + 40, brow.y + 15};
    const point throat{brow.x, back_cy};
    o.chain({brow, {brow.x + 20, brow.y + 7}, nose, {nose.x - 20, nose.y + 6}, throat}, grey);
    for (float x = throat.x - 20; x > back_cx - back_rx; x -= 20)
        o.chord({x, back_cy}, {x + 20, back_cy}, grey);
    o.chord(back.front(), {back.front().x + 20, back_cy}, grey);
    o.leg({back_cx - 38, back_cy}, 9, grey);
    o.leg({back_cx + 14, back_cy}, 9, grey);
    // The nose, two by two pixels; a dot lights the pixel right of its
    // corner.
    for (const point p : {point{0, 0}, {1, 0}, {0, 1}, {1, 1}})
        o.dot({nose.x - 1 + p.x, nose.y - 1 + p.y}, bright);
    return o.take();
}

// The line hedgehog's eye, two by two pixels under the brow: a mesh of its
// own, so that it can blink.
tds::mesh eye_mesh() {
    outline o("OutlineEye");
    const point brow = back_line().back();
    for (const point p : {point{0, 0}, {1, 0}, {0, 1}, {1, 1}})
        o.dot({brow.x + 22 + p.x, brow.y + 11 + p.y}, 250);
    return o.take();
}

// The eye blinks on the line pass's frames 8 and 23, each held ten calls:
// there it steps 120 pixels right on the flat pass's picture, which the
// lines' doubling throws past the right edge, where no line is drawn. A key
// on every frame holds it exactly at rest on all the others, where the
// corners must round as the outline's do; its dots fill nothing anywhere.
tds::track<vec3> blinking() {
    const float away = on_screen(280, 100, 500).x - on_screen(160, 100, 500).x;
    return sampled(0, title_frames, 1, [away](float t) {
        const int frame = static_cast<int>(std::lround(t * title_frames));
        return vec3{frame == 8 || frame == 23 ? away : 0, 0, 0};
    });
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
    uint16_t id = 1;
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
    s.meshes.push_back(eye_mesh());
    tds::node eye = object_node(id++, "OutlineEye", 0);
    eye.position = blinking();
    eye.scale = hold({1, 1, 1});
    s.nodes.push_back(eye);
    const camera_rig cam = camera_path(
        "Camera01", id, static_cast<uint16_t>(id + 1), lens, 0, title_frames, 10,
        [](float) { return title_eye(); }, [](float) { return title_target(); });
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

} // namespace vilora::kit::data
