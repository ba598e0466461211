#include "kit/content/scenes/dog_meshes.h"

#include <vector>

namespace vilora::kit::data {
namespace {

// A stroke along `points` in the plane y = `across`: per segment two slim
// faces, the segment and its twin half a pixel or so to its left, so that a
// wireframe draws the line twice side by side, touching: one bold line, not
// a doubled one.
void stroke(mesh_builder& b, std::initializer_list<vec3> points, float across = 0) {
    std::vector<vec3> p(points);
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        const vec3 from = p[i] + vec3{0, across, 0}, to = p[i + 1] + vec3{0, across, 0};
        const vec3 along = normalised(to - from);
        const vec3 left = vec3{-along.z, 0, along.x} * 0.6f;
        const uint16_t a = b.vertex(from), c = b.vertex(to);
        const uint16_t d = b.vertex(to + left);
        b.triangle(a, c, d);
        b.triangle(b.vertex(from + left), a, d);
    }
}

// A pencil line along `points` in the plane y = `across` for houp, which
// shakes both ends of every line it draws by up to 9 pixels: per segment one
// face flat along it (start, middle, end), so the segment is drawn as three
// long strokes laid over each other, a sketch; a face with a short edge
// would shake that edge into a stray tick. `shade` moves corner c (the end)
// along the line of sight, which gives the face its grey.
void sketch(mesh_builder& b, std::initializer_list<vec3> points, float across = 0,
            const std::function<vec3(vec3)>& shade = {}) {
    std::vector<vec3> p(points);
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        const vec3 from = p[i] + vec3{0, across, 0}, to = p[i + 1] + vec3{0, across, 0};
        b.triangle(b.vertex(from), b.vertex((from + to) * 0.5f), b.vertex(shade ? shade(to) : to));
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
    // Down the back, round the haunch, along the ground under the hind paw
    // and the fore paws, closed, up the fore leg and the chest to the throat.
    stroke(b, {{13, 0, 82},
               {6, 0, 66},
               {-6, 0, 52},
               {-18, 0, 38},
               {-26, 0, 24},
               {-26, 0, 10},
               {-22, 0, 2},
               {-12, 0, 0},
               {14, 0, 0},
               {27, 0, 0},
               {28, 0, 3},
               {24, 0, 6},
               {24, 0, 36},
               {30, 0, 50},
               {38, 0, 64}});
    // The folded thigh over the hind paw, the toes, and the back of the
    // near fore leg.
    stroke(b, {{-2, 0, 1}, {0, 0, 8}, {-4, 0, 20}, {-12, 0, 28}, {-18, 0, 30}});
    stroke(b, {{-2, 0, 0}, {-3, 0, 3}});
    stroke(b, {{21, 0, 0}, {21, 0, 3}});
    stroke(b, {{14, 0, 0}, {14, 0, 34}, {18, 0, 44}});
    // A collar round the neck, two lines with a tag hanging at the throat.
    stroke(b, {{11, 0, 74}, {22, 0, 69}, {35, 0, 64}});
    stroke(b, {{11, 0, 70}, {22, 0, 65}, {34, 0, 60}});
    stroke(b, {{32, 0, 61}, {31, 0, 56}, {35, 0, 55}, {34, 0, 60}});
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
    // A round eye with a dark pupil, under the brow.
    stroke(b, {{41.5f, 0, 83}, {45, 0, 86}, {48.5f, 0, 83}, {45, 0, 80}, {41.5f, 0, 83}});
    eye(b, {45, 0, 83});
    return b.take("Fur");
}

tds::mesh sitter_jaw_mesh(const std::string& name) {
    mesh_builder b(name);
    stroke(b, {{40, 0, 75}, {45, 0, 69}, {57, 0, 72}, {59, 0, 75}});
    return b.take("Fur");
}

tds::mesh sitter_tail(const std::string& name) {
    mesh_builder b(name);
    stroke(b, {sitter_tail_root, {-29, 0, 45}, {-36, 0, 55}, {-34, 0, 64}, {-29, 0, 66}});
    return b.take("Fur");
}

tds::mesh runner_body(const std::string& name, const std::function<vec3(vec3)>& shade) {
    mesh_builder b(name);
    // Up the chest and the throat, under the jaw to the square muzzle and
    // its blunt nose, over the brow and the round skull, down the nape and
    // along the back, round the rump; then the belly between the legs.
    sketch(b,
           {{40, 0, 38},
            {42, 0, 54},
            {54, 0, 58},
            {70, 0, 60},
            {72, 0, 70},
            {58, 0, 72},
            {52, 0, 80},
            {40, 0, 84},
            {30, 0, 76},
            {24, 0, 62},
            {-30, 0, 62},
            {-38, 0, 52},
            {-36, 0, 38},
            {-28, 0, 34}},
           0, shade);
    sketch(b, {{-12, 0, 34}, {2, 0, 38}, {20, 0, 34}}, 0, shade);
    // The ear hanging down beside the skull.
    sketch(b, {{42, 0, 82}, {32, 0, 80}, {29, 0, 63}, {40, 0, 65}}, 0, shade);
    eye(b, {52, -2, 74});
    return b.take("Fur");
}

tds::mesh runner_tail(const std::string& name) {
    mesh_builder b(name);
    // Carried high: a long brush from its root, tapering up and back.
    sketch(b, {{2, 0, -4}, {-14, 0, 22}, {-2, 0, 4}});
    return b.take("Fur");
}

tds::mesh runner_leg(const std::string& name, float across, bool hind) {
    mesh_builder b(name);
    if (hind) // the thigh, the hock bent back, the paw, up the shin
        sketch(b, {{-11, 0, 4}, {-12, 0, -10}, {-6, 0, -27}, {8, 0, -27}, {2, 0, -12}, {9, 0, 4}},
               across);
    else // straight down the back, the paw, up the front
        sketch(b, {{-6, 0, 4}, {-5, 0, -27}, {9, 0, -27}, {6, 0, 4}}, across);
    return b.take("Fur");
}

} // namespace vilora::kit::data
