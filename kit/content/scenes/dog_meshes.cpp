#include "kit/content/scenes/dog_meshes.h"

namespace vilora::kit::data {

// The dogs are line drawings in their middle plane, built of slivers (see
// polyline) along their outlines, so that a shaking wireframe draws every
// stroke twice and the outline holds; the legs stand out to the sides, where
// a part that shades by depth tells the near ones from the far ones.

// The body's outline, the neck's front and back belonging to the head: the
// back from the withers to the rump, round the buttock, the belly up to the
// flank and down along the ribs, the deep chest and its front up to the
// throat.
tds::mesh dog_body(const std::string& name) {
    mesh_builder b(name);
    b.polyline(
        {{8, 0, 24}, {-11, 0, 22}, {-13, 0, 17}, {-8, 0, 12}, {7, 0, 9}, {12, 0, 14}, {13, 0, 20}});
    return b.take("Fur");
}

// The head, held high, from the top of the withers: the nape up to the crown,
// the brow, the muzzle and its blunt end, the mouth and the jaw, and the
// throat down to the chest; and on the near side (-y) a long ear hanging from
// the crown.
tds::mesh dog_head(const std::string& name) {
    mesh_builder b(name);
    b.polyline({{-5, 0, -1},
                {1, 0, 15},
                {10, 0, 19},
                {21, 0, 15},
                {21, 0, 12},
                {18, 0, 10},
                {8, 0, 9},
                {5, 0, -4}});
    b.triangle(b.vertex({1, -3, 16}), b.vertex({7, -3, 17}), b.vertex({-1, -3, 4}));
    return b.take("Fur");
}

namespace {

// A leg each side, hanging from its joint: a long spike from the two corners
// of its top down to the paw, and the paw.
tds::mesh leg_pair(const std::string& name, float top_front, float top_back, float top_height) {
    mesh_builder b(name);
    for (const float side : {-5.0f, 5.0f}) {
        b.triangle(b.vertex({top_front, side, 1}), b.vertex({top_back, side, top_height}),
                   b.vertex({0, side, -16}));
        b.polyline({{-1, side, -16}, {4, side, -16}});
    }
    return b.take("Fur");
}

} // namespace

// Front legs: thin spikes from the shoulders.
tds::mesh dog_front_legs(const std::string& name) {
    return leg_pair(name, 1.5f, -1.5f, 1);
}

// Hind legs: broad at the thigh, the back of it high on the haunch.
tds::mesh dog_hind_legs(const std::string& name) {
    return leg_pair(name, 2.5f, -3, 3);
}

// The tail from its root, curving up and back.
tds::mesh dog_tail(const std::string& name) {
    mesh_builder b(name);
    b.polyline({{0, 0, 0}, {-5, 0, 7}, {-4, 0, 14}});
    return b.take("Fur");
}

// A flat bone standing on end: a shaft with two round knobs at each end, and
// as face 10 a small face whose corner a is the notch at the top of the
// shaft: the greetings hang their bubble there.
tds::mesh bone_mesh() {
    mesh_builder b("Bone");
    const uint16_t s0 = b.vertex({-2.5f, 0, -12}), s1 = b.vertex({2.5f, 0, -12});
    const uint16_t s2 = b.vertex({2.5f, 0, 12}), s3 = b.vertex({-2.5f, 0, 12});
    b.quad(s0, s1, s2, s3);
    uint16_t knob_middles[2] = {};
    for (const float end : {-1.0f, 1.0f})
        for (const float side : {-1.0f, 1.0f}) {
            const vec3 middle{side * 4.5f, 0, end * 15};
            const uint16_t c = b.vertex(middle);
            if (end > 0) knob_middles[side > 0] = c;
            const uint16_t k0 = b.vertex(middle + vec3{side * -4.5f, 0, end * -4});
            const uint16_t k1 = b.vertex(middle + vec3{side * 4.5f, 0, end * -1});
            const uint16_t k2 = b.vertex(middle + vec3{side * 2, 0, end * 4});
            const uint16_t k3 = b.vertex(middle + vec3{side * -3, 0, end * 4});
            b.triangle(k0, k1, c);
            b.triangle(k1, k2, c);
            b.triangle(k2, k3, c);
        }
    const uint16_t notch = b.vertex({0, 0, 17});
    tds::mesh m = b.take("Fur");
    m.faces.insert(m.faces.begin() + 10, {notch, knob_middles[1], knob_middles[0], 7});
    return m;
}

} // namespace vilora::kit::data
