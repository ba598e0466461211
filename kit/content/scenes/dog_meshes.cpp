#include "kit/content/scenes/dog_meshes.h"

#include <vector>

namespace vilora::kit::data {
namespace {

// A stroke along `points` in the plane y = `across`: per segment two slim
// faces, the segment and its twin half a pixel or so to its left, so that a
// wireframe draws the line twice side by side, touching: one bold line, not
// a doubled one. A `fine` stroke has one face
// a segment, its third corner all but on the segment's end: houp shakes
// every line's ends by up to 9 pixels, and a pair of shaken copies of each
// line reads as a pencil stroke where four would scribble.
void stroke(mesh_builder& b, std::initializer_list<vec3> points, float across = 0,
            bool fine = false, const std::function<vec3(vec3)>& shade = {}) {
    std::vector<vec3> p(points);
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        const vec3 from = p[i] + vec3{0, across, 0}, to = p[i + 1] + vec3{0, across, 0};
        const vec3 along = normalised(to - from);
        const vec3 left = vec3{-along.z, 0, along.x} * (fine ? 0.3f : 0.6f);
        const uint16_t a = b.vertex(from), c = b.vertex(to);
        const uint16_t d = b.vertex(shade ? shade(to + left) : to + left);
        b.triangle(a, c, d);
        if (!fine) b.triangle(b.vertex(from + left), a, d);
    }
}

// A small eye: one face.
void eye(mesh_builder& b, vec3 at) {
    b.triangle(b.vertex(at + vec3{-1.5f, 0, 0.8f}), b.vertex(at + vec3{1.5f, 0, 0.8f}),
               b.vertex(at + vec3{0, 0, -1.5f}));
}

} // namespace

tds::mesh sitter_body(const std::string& name) {
    mesh_builder b(name);
    stroke(b, {{13, 0, 82},
               {6, 0, 66},
               {-6, 0, 52},
               {-18, 0, 38},
               {-26, 0, 24},
               {-26, 0, 10},
               {-22, 0, 2},
               {-6, 0, 0},
               {-4, 0, 6},
               {2, 0, 16},
               {10, 0, 12},
               {14, 0, 4},
               {14, 0, 0},
               {27, 0, 0},
               {24, 0, 6},
               {24, 0, 36},
               {30, 0, 50},
               {38, 0, 64}});
    return b.take("Fur");
}

tds::mesh sitter_head(const std::string& name) {
    mesh_builder b(name);
    // The throat up under the jaw to the corner of the mouth, the mouth to the
    // nose, over the muzzle and the brow, up the ear and down it, round the
    // skull to the nape: 10 faces before the nose.
    stroke(b, {{38, 0, 64}, {40, 0, 76}, {60, 0, 77}, {62, 0, 80}, {52, 0, 85}, {44, 0, 89}});
    const vec3 nose{62, 0, 80};
    b.triangle(b.vertex(nose), b.vertex(nose + vec3{-3, 0, -2}), b.vertex(nose + vec3{-3, 0, 2}));
    stroke(b, {{44, 0, 89},
               {38, 0, 95},
               {33, 0, 97},
               {26, 0, 112},
               {20, 0, 97},
               {16, 0, 92},
               {13, 0, 82}});
    eye(b, {44, 0, 86});
    return b.take("Fur");
}

tds::mesh sitter_jaw_mesh(const std::string& name) {
    mesh_builder b(name);
    stroke(b, {{40, 0, 75}, {45, 0, 69}, {57, 0, 72}, {59, 0, 75}});
    return b.take("Fur");
}

tds::mesh sitter_tail(const std::string& name) {
    mesh_builder b(name);
    stroke(b, {{-22, 0, 34}, {-32, 0, 42}, {-37, 0, 54}, {-34, 0, 64}, {-29, 0, 66}});
    return b.take("Fur");
}

tds::mesh runner_body(const std::string& name, const std::function<vec3(vec3)>& shade) {
    mesh_builder b(name);
    // From the chest up the throat, round the muzzle, the brow and the ear
    // laid back, down the neck and along the back, round the rump and along
    // the belly to the chest.
    // Fine, in the body's grey: houp shakes every line, and one shaken pair a
    // segment keeps the outline a pencil line.
    stroke(b, {{34, 0, 40}, {46, 0, 54},  {60, 0, 58},  {70, 0, 62},  {72, 0, 66},  {64, 0, 70},
               {56, 0, 73}, {50, 0, 76},  {37, 0, 80},  {44, 0, 72},  {36, 0, 66},  {28, 0, 60},
               {12, 0, 57}, {-10, 0, 57}, {-26, 0, 54}, {-34, 0, 46}, {-34, 0, 36}, {-26, 0, 30},
               {-8, 0, 29}, {12, 0, 30},  {28, 0, 33},  {34, 0, 40}},
           0, true, shade);
    // The tail streaming out behind and up, a dog's long brush.
    stroke(b, {{-32, 0, 50}, {-42, 0, 58}, {-50, 0, 66}, {-54, 0, 74}}, 0, true, shade);
    eye(b, {58, -2, 67});
    return b.take("Fur");
}

tds::mesh runner_leg(const std::string& name, float across, bool hind) {
    mesh_builder b(name);
    if (hind) // thigh, hock and paw, down the back and up the front
        stroke(b,
               {{-8, 0, 2},
                {-10, 0, -12},
                {-4, 0, -20},
                {-6, 0, -26},
                {2, 0, -28},
                {1, 0, -24},
                {3, 0, -18},
                {4, 0, -10},
                {8, 0, 0}},
               across, true);
    else
        stroke(b, {{-4, 0, 0}, {-3, 0, -24}, {5, 0, -26}, {4, 0, -22}, {4, 0, 0}}, across, true);
    return b.take("Fur");
}

} // namespace vilora::kit::data
