#include "kit/art/noise.h"
#include "kit/data/meshes.h"
#include "kit/data/scenes.h"

#include <cmath>

namespace vilora::kit::data {

tds::mesh mushroom_mesh(const std::string& name, float cap_radius, float height, uint32_t seed) {
    // The cap comes first: parts that draw only the first third of the faces
    // still show the caps.
    const float bump = 0.08f + 0.1f * art::lattice(1, 2, seed);
    tds::mesh cap =
        ellipsoid(name, {cap_radius, cap_radius, cap_radius * 0.6f}, 6, 10, [&](vec3 d) {
            if (d.z < 0) return 0.35f;
            return 1 + bump * std::sin(5 * std::atan2(d.y, d.x));
        });
    tds::mesh stem = lathe(name, -height, 0, 3, 8, [&](float t) {
        return cap_radius * (0.32f - 0.1f * t + 0.06f * std::sin(3.0f * t));
    });
    mesh_builder b(name);
    b.merge(cap, {0, 0, 0});
    b.merge(stem);
    return b.take("Shroom");
}

std::vector<tds::material> scene_materials() {
    return {
        {"Shroom", {0.2f, 0.1f, 0.05f}, {0.8f, 0.35f, 0.2f}, {0.9f, 0.9f, 0.8f}, 30, 3, false},
        {"Chitin", {0.1f, 0.1f, 0.0f}, {0.9f, 0.75f, 0.1f}, {1, 1, 1}, 60, 3, false},
        {"Fur", {0.1f, 0.08f, 0.05f}, {0.55f, 0.4f, 0.25f}, {0.2f, 0.2f, 0.2f}, 5, 2, false},
        {"Steel", {0.1f, 0.1f, 0.12f}, {0.6f, 0.62f, 0.7f}, {1, 1, 1}, 80, 3, false},
        {"Glass", {0.1f, 0.1f, 0.1f}, {0.9f, 0.9f, 1.0f}, {1, 1, 1}, 90, 3, true, true},
    };
}

} // namespace vilora::kit::data
