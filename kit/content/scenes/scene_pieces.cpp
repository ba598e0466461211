#include "kit/content/scenes/scenes.h"
#include "kit/shapes/meshes.h"

#include <algorithm>
#include <cmath>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;

} // namespace

tds::mesh mushroom_mesh(const std::string& name, float cap_radius, float height, int segments) {
    mesh_builder b(name);
    auto ring = [&](float radius, float z, int count, float turn) {
        const uint16_t first = b.vertex({radius * std::cos(turn), radius * std::sin(turn), z});
        for (int k = 1; k < count; ++k) {
            const float a = turn + 2 * pi * static_cast<float>(k) / static_cast<float>(count);
            b.vertex({radius * std::cos(a), radius * std::sin(a), z});
        }
        return first;
    };
    auto at = [](uint16_t first, int k, int count) {
        return static_cast<uint16_t>(first + k % count);
    };
    const float rim = height, top = height + cap_radius * 0.75f;
    const uint16_t apex = b.vertex({0, 0, top});
    const uint16_t shoulder = ring(cap_radius * 0.72f, rim + cap_radius * 0.5f, segments, 0);
    const uint16_t edge = ring(cap_radius, rim, segments, 0);
    for (int k = 0; k < segments; ++k)
        b.triangle(at(shoulder, k, segments), at(shoulder, k + 1, segments), apex);
    for (int k = 0; k < segments; ++k)
        b.quad(at(edge, k, segments), at(edge, k + 1, segments), at(shoulder, k + 1, segments),
               at(shoulder, k, segments));
    // The stem: a prism narrowing towards the cap, a little turned against it.
    const int sides = std::max(3, segments / 2);
    const float stem = cap_radius * 0.3f;
    const uint16_t foot = ring(stem * 1.25f, 0, sides, 0.3f);
    const uint16_t neck = ring(stem, rim, sides, 0.3f);
    for (int k = 0; k < sides; ++k)
        b.quad(at(foot, k, sides), at(foot, k + 1, sides), at(neck, k + 1, sides),
               at(neck, k, sides));
    // The gills under the cap: a band in to half the radius, then a fan.
    const uint16_t inner = ring(cap_radius * 0.5f, rim + cap_radius * 0.12f, segments, 0);
    const uint16_t hub = b.vertex({0, 0, rim + cap_radius * 0.2f});
    for (int k = 0; k < segments; ++k) {
        b.triangle(at(edge, k + 1, segments), at(edge, k, segments), at(inner, k, segments));
        b.triangle(at(inner, k + 1, segments), at(inner, k, segments), hub);
    }
    return with_back_faces(b.take("Shroom"));
}

std::vector<tds::material> scene_materials() {
    return {
        {"Shroom", {0.2f, 0.1f, 0.05f}, {0.8f, 0.35f, 0.2f}, {0.9f, 0.9f, 0.8f}, 30, 3, false},
        {"Chitin", {0.02f, 0.1f, 0.06f}, {0.1f, 0.6f, 0.35f}, {1, 1, 1}, 60, 3, false},
        {"Petal", {0.1f, 0.1f, 0.08f}, {0.95f, 0.95f, 0.85f}, {0.3f, 0.3f, 0.3f}, 10, 2, true},
        {"Fur", {0.1f, 0.08f, 0.05f}, {0.55f, 0.4f, 0.25f}, {0.2f, 0.2f, 0.2f}, 5, 2, false},
        {"Steel", {0.1f, 0.1f, 0.12f}, {0.6f, 0.62f, 0.7f}, {1, 1, 1}, 80, 3, false},
        {"Glass", {0.1f, 0.1f, 0.1f}, {0.9f, 0.9f, 1.0f}, {1, 1, 1}, 90, 3, true, true},
    };
}

} // namespace vilora::kit::data
