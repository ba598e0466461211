#include "kit/data/rig.h"

#include <cmath>

namespace vilora::kit::data {

namespace {

constexpr float pi = 3.14159265358979f;

} // namespace

tds::node object_node(uint16_t id, const std::string& name, int16_t parent) {
    tds::node n;
    n.kind = tds::node_kind::object;
    n.id = id;
    n.name = name;
    n.parent = parent;
    n.pivot = vec3{};
    return n;
}

tds::node dummy_node(uint16_t id, const std::string& instance, int16_t parent) {
    tds::node n = object_node(id, tds::dummy_name, parent);
    n.instance = instance;
    n.scale = hold({1, 1, 1});
    return n;
}

tds::track<vec3> hold(vec3 value) {
    return {tds::track_once, {{0, value, {}}}};
}

tds::track<vec3> sampled(uint32_t first, uint32_t last, uint32_t step,
                         const std::function<vec3(float t)>& f, uint16_t flags) {
    tds::track<vec3> t{flags, {}};
    for (uint32_t frame = first;; frame += step) {
        if (frame > last) frame = last;
        t.keys.push_back(
            {frame, f(static_cast<float>(frame - first) / static_cast<float>(last - first)), {}});
        if (frame == last) break;
    }
    return t;
}

tds::track<tds::turn> spin(uint32_t first, uint32_t last, vec3 axis, int turns) {
    tds::track<tds::turn> t{tds::track_once, {{first, {0, axis}, {}}}};
    const int quarters = 4 * std::abs(turns);
    const float angle = turns < 0 ? -pi / 2 : pi / 2;
    for (int q = 1; q <= quarters; ++q)
        t.keys.push_back(
            {first + (last - first) * static_cast<uint32_t>(q) / static_cast<uint32_t>(quarters),
             {angle, axis},
             {}});
    return t;
}

tds::track<tds::turn> swing(uint32_t first, uint32_t last, vec3 axis, float angle, int swings) {
    tds::track<tds::turn> t{tds::track_once, {{first, {-angle, axis}, {}}}};
    for (int s = 1; s <= 2 * swings; ++s)
        t.keys.push_back(
            {first + (last - first) * static_cast<uint32_t>(s) / static_cast<uint32_t>(2 * swings),
             {s % 2 ? 2 * angle : -2 * angle, axis},
             {}});
    return t;
}

camera_rig camera_path(const std::string& name, uint16_t eye_id, uint16_t target_id, float lens,
                       uint32_t first, uint32_t last, uint32_t step,
                       const std::function<vec3(float t)>& eye,
                       const std::function<vec3(float t)>& target) {
    camera_rig rig;
    rig.camera = {name, eye(0), target(0), 0, lens};
    rig.eye.kind = tds::node_kind::camera;
    rig.eye.id = eye_id;
    rig.eye.name = name;
    rig.eye.position = sampled(first, last, step, eye);
    rig.target.kind = tds::node_kind::camera_target;
    rig.target.id = target_id;
    rig.target.name = name;
    rig.target.position = sampled(first, last, step, target);
    return rig;
}

} // namespace vilora::kit::data
