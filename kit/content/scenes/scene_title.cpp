// The title's scene: a hedgehog walking up to a toadstool.
//
// otitulek draws the first half of every mesh's faces twice: flat, each
// face in the grey of its corner c's depth, circling 50 pixels about a point
// 20 pixels up and left of where the camera shows it; and, ten times slower,
// as lines at twice the size about the middle of the picture (corner a about
// (150, 110), b about (170, 90), c about (160, 100)), in half that grey. The
// title's lettering lies along the bottom of its pictures from row 147, so
// the scene stands in rows 70 to 116: the flat circle then stays above row
// 147, and the lines, twice as far from the middle, between rows 30 and 142.
// The hedgehog stands in columns 96 to 204, so its lines stay on the
// picture; the toadstool in columns 250 to 285, where its flat circle stays
// on the picture and its lines, twice as far out, fall off it and are not
// drawn at all: it is there only in the flat pass.
//
// Everything faces a still camera, as cut-outs: few, large faces whose edges
// are the outline, so that the lines draw a clean silhouette. A face's grey
// is set by sliding its corner c along the line of sight, where it keeps its
// place on the screen.
#include "kit/content/scenes/scenes.h"
#include "kit/shapes/rig.h"

#include <cmath>
#include <string>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;
constexpr uint32_t title_frames = 40; // otitulek plays 0 to 30
constexpr float lens = 24;

vec3 title_eye() {
    return {0, -200, 24};
}
// The scene's middle, shown 5 pixels above the middle of the picture.
vec3 title_target() {
    return aim_beside(title_eye(), {0, 0, 31}, 0, 9, part_projection(lens_fov(lens), 320));
}
still_view title_view() {
    return {title_eye(), normalised(title_target() - title_eye())};
}

// Builds faces in the plane y = 0 of a node at `origin`, each given its grey.
// The lines pull corner a 10 pixels left and down and corner b 10 right and
// up, at twice the size of the flat faces, which keep their corners in
// place. Each corner has a vertex of its own, moved the other way by a share
// of 5 pixels at the flat size: with all of it the lines show the shape as
// it is and the flat face has corners a and b 5 pixels off; with half, the
// lines are 5 pixels off and the flat face 2.5. Faces whose corners a and b
// lie inside the silhouette, under other faces, take all of it.
class cut_out {
public:
    // Points given are scaled by `size` about the node's origin.
    cut_out(const std::string& name, vec3 origin, float size)
        : b_(name), view_(title_view().from(origin)), size_(size) {}
    void face(vec3 a, vec3 b, vec3 c, float grey, float wire_share) {
        const projection flat = part_projection(lens_fov(lens), 320);
        const float shift = 5 * wire_share;
        b_.triangle(b_.vertex(view_.shifted(a * size_, shift, shift, flat)),
                    b_.vertex(view_.shifted(b * size_, -shift, -shift, flat)),
                    b_.vertex(view_.at_depth(c * size_, grey)));
    }
    // x, z in the plane.
    void face(float ax, float az, float bx, float bz, float cx, float cz, float grey,
              float wire_share) {
        face({ax, 0, az}, {bx, 0, bz}, {cx, 0, cz}, grey, wire_share);
    }
    tds::mesh take() { return with_back_faces(b_.take("Fur")); }

private:
    mesh_builder b_;
    still_view view_;
    float size_;
};

constexpr float hog_size = 1.45f;
constexpr vec3 hog_at{-8, 0, 0};

// The hedgehog, facing +x, standing on z = 0: a dark core under a crown of
// quills, each a narrow face from its root on the core (corners a and b) to
// its tip (corner c), and a pointed pale face with a dark eye. The lines, at
// twice the size and in half the grey, draw the quills fanning out of the
// back round a small core, and the face: no edge runs across the body. The
// roots lie on the core, under other faces, so they take all of the lines'
// correction.
tds::mesh hedgehog_mesh(vec3 origin) {
    cut_out h("Hedgehog", origin, hog_size);
    const vec3 belly{-6, 0, 3};
    const auto on = [&](float degrees, float rx, float rz) {
        const float a = degrees * pi / 180;
        return belly + vec3{rx * std::cos(a), 0, rz * std::sin(a)};
    };
    h.face(on(180, 16, 11), on(0, 16, 11), on(90, 16, 11), 64, 1); // the core
    constexpr int quills = 17;
    for (int i = 0; i < quills; ++i) {
        const float u = static_cast<float>(i) / (quills - 1), at = 176 - 150 * u;
        // Swept back, away from the face, the middle ones longest.
        const float reach = 1.05f + 0.3f * std::sin(pi * u);
        const vec3 tip = on(at + 14, 27 * reach, 19 * reach);
        h.face(on(at + 9, 12, 8), on(at - 9, 12, 8), tip, i % 2 ? 150 : 200, 1);
    }
    h.face(14, 18, 14, 1, 40, 7, 190, 0.5f); // the face and snout, pointed
    h.face(23, 12, 28, 13, 26, 9, 60, 0.5f); // the eye
    return h.take();
}

// Four dark feet under the hedgehog, the far ones a little paler; they paddle.
tds::mesh feet_mesh(vec3 origin) {
    cut_out f("Feet", origin, hog_size);
    for (const float x : {12.0f, -24.0f}) {
        f.face(x + 4, 4, x + 10, 4, x + 11, -1, 84, 0); // far
        f.face(x, 4, x + 6, 4, x + 7, -1, 64, 0);       // near
    }
    return f.take();
}

// The bank the hedgehog and the toadstool stand on, circling with them: a
// strip of ground from z = -1 up to a wavy top, behind their feet. It is
// made of faces that all share corners a and b, the ends of its foot: from
// x = -85 to 130, which the lines, at twice the size, throw off the picture,
// where the part does not draw them; each face's corner c is a crest of its
// top. So it shows in the flat pass only.
tds::mesh bank_mesh() {
    cut_out b("Bank", {0, 0, 0}, 1);
    const vec3 left{-85, 0, -1}, right{130, 0, -1};
    for (int k = 0; k < 9; ++k) {
        const float x = -75 + 25 * static_cast<float>(k);
        b.face(left, right, {x, 0, 4 + 1.5f * std::sin(x / 7)}, 80, 0);
    }
    return b.take();
}

// A toadstool on z = 0, drawn flat only: a dome of eight faces over the
// point under its middle, four spots and a stem.
tds::mesh toadstool_mesh(const std::string& name, vec3 origin, float cap, float height) {
    cut_out t(name, origin, 1);
    const float rim = height - cap * 0.85f;
    const vec3 under{0, 0, rim + 2};
    constexpr int steps = 8;
    const auto dome = [&](int k) {
        const float a = pi * static_cast<float>(k) / steps;
        return vec3{-cap * std::cos(a), 0, rim + (height - rim) * std::sin(a)};
    };
    for (int k = 0; k < steps; ++k) t.face(dome(k), dome(k + 1), under, 232, 0);
    for (const auto& [x, z] :
         {std::pair{-0.55f, 0.35f}, {-0.15f, 0.72f}, {0.3f, 0.5f}, {0.62f, 0.2f}}) { // spots
        const float r = cap * 0.13f, zz = rim + (height - rim) * z;
        t.face({cap * x - r, 0, zz - r * 0.6f}, {cap * x + r, 0, zz - r * 0.6f},
               {cap * x, 0, zz + r}, 150, 0);
    }
    const float stem = cap * 0.3f;
    t.face({-stem * 1.25f, 0, 0}, {stem * 1.25f, 0, 0}, {stem, 0, rim + 1}, 195, 0);
    t.face({-stem * 1.25f, 0, 0}, {stem, 0, rim + 1}, {-stem, 0, rim + 1}, 195, 0);
    return t.take();
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
    // It slides back under the feet as the hedgehog walks on the spot.
    tds::node bank = object_node(id++, "Bank", 0);
    bank.position = sampled(0, title_frames, 5, [](float t) { return vec3{-12 * t, 0, 0}; });
    bank.scale = hold({1, 1, 1});
    s.nodes.push_back(bank);
    // The toadstool sways in the picture's plane (about the line of sight)
    // and swells a little.
    constexpr vec3 toadstool_at{121, 0, 0};
    s.meshes.push_back(toadstool_mesh("Toadstool", toadstool_at, 20, 55));
    tds::node toadstool = object_node(id++, "Toadstool", 0);
    toadstool.position = hold(toadstool_at);
    toadstool.rotation = swing(0, title_frames, {0, 1, 0}, 0.08f, 1);
    toadstool.scale = sampled(0, title_frames, 5, [](float u) {
        const float k = 1 + 0.04f * std::sin(2 * pi * u);
        return vec3{k, 1, k};
    });
    // Out of sight a while, after the frames the title plays.
    toadstool.hide_keys = {34, 38};
    s.nodes.push_back(toadstool);
    // The hedgehog walks on the spot: it bobs with its steps, its feet paddle.
    s.meshes.push_back(hedgehog_mesh(hog_at));
    s.meshes.push_back(feet_mesh(hog_at));
    tds::node hog = object_node(id++, "Hedgehog", 0);
    hog.position = sampled(0, title_frames, 2, [](float t) {
        return hog_at + vec3{0, 0, 1.5f * std::fabs(std::sin(4 * pi * t))};
    });
    hog.rotation = swing(0, title_frames, {0, 1, 0}, 0.04f, 2);
    hog.scale = hold({1, 1, 1});
    s.nodes.push_back(hog);
    tds::node feet = object_node(id++, "Feet", static_cast<int16_t>(hog.id));
    feet.position = hold({0, 0, 0});
    feet.rotation = swing(0, title_frames, {0, 1, 0}, 0.06f, 4);
    feet.scale = hold({1, 1, 1});
    s.nodes.push_back(feet);
    const camera_rig cam = camera_path(
        "Camera01", id, static_cast<uint16_t>(id + 1), lens, 0, title_frames, 10,
        [](float) { return title_eye(); }, [](float) { return title_target(); });
    s.cameras = {cam.camera};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

} // namespace vilora::kit::data
