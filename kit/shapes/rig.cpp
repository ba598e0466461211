#include "kit/shapes/rig.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vilora::kit::data {

namespace {

constexpr float pi = 3.14159265358979f;

template <typename Value>
tds::track<Value> keyed_along(const std::vector<uint32_t>& frames,
                              const std::function<Value(float frame)>& value) {
    tds::track<Value> t{tds::track_once, {}};
    for (const uint32_t frame : frames)
        t.keys.push_back({frame, value(static_cast<float>(frame)), {}});
    return t;
}

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

void add_light_nodes(tds::scene& s) {
    uint16_t next = 0;
    for (const tds::node& n : s.nodes)
        next = std::max<uint16_t>(next, static_cast<uint16_t>(n.id + 1));
    const auto has_node = [&s](const std::string& name) {
        return std::any_of(s.nodes.begin(), s.nodes.end(), [&name](const tds::node& n) {
            return n.name == name &&
                   (n.kind == tds::node_kind::omni_light || n.kind == tds::node_kind::spot_light);
        });
    };
    std::vector<tds::node> added;
    for (const tds::light& l : s.lights) {
        if (has_node(l.name)) continue;
        tds::node light;
        light.kind = l.spot ? tds::node_kind::spot_light : tds::node_kind::omni_light;
        light.id = next++;
        light.name = l.name;
        light.position = hold(l.position);
        if (!l.spot) {
            added.push_back(light);
            continue;
        }
        light.roll = {tds::track_once, {{0, 0.0f, {}}}};
        tds::node target;
        target.kind = tds::node_kind::light_target;
        target.id = next++;
        target.name = l.name;
        target.position = hold(l.target);
        added.push_back(light);
        added.push_back(target);
    }
    s.nodes.insert(s.nodes.end(), added.begin(), added.end());
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

tds::turn turning(float angle, vec3 axis) {
    return {-angle, axis};
}

tds::track<tds::turn> spin(uint32_t first, uint32_t last, vec3 axis, int turns) {
    return turn_by(first, last, axis, 2 * pi * static_cast<float>(turns), 4 * std::abs(turns));
}

tds::track<tds::turn> turn_by(uint32_t first, uint32_t last, vec3 axis, float angle, int steps) {
    tds::track<tds::turn> t{tds::track_once, {{first, turning(0, axis), {}}}};
    for (int s = 1; s <= steps; ++s)
        t.keys.push_back(
            {first + (last - first) * static_cast<uint32_t>(s) / static_cast<uint32_t>(steps),
             turning(angle / static_cast<float>(steps), axis),
             {}});
    return t;
}

tds::track<tds::turn> heading(uint32_t first, uint32_t last, uint32_t step,
                              const std::function<float(float t)>& angle) {
    const auto span = static_cast<float>(last - first);
    return turning_along(key_frames(first, last, step), {0, 0, 1}, [&](float frame) {
        return angle((frame - static_cast<float>(first)) / span);
    });
}

std::vector<uint32_t> key_frames(uint32_t first, uint32_t last, uint32_t step) {
    std::vector<uint32_t> frames;
    for (uint32_t frame = first; frame < last; frame += step) frames.push_back(frame);
    frames.push_back(last);
    return frames;
}

tds::track<tds::turn> turning_along(const std::vector<uint32_t>& frames, vec3 axis,
                                    const std::function<float(float frame)>& angle) {
    tds::track<tds::turn> t{tds::track_once, {}};
    float previous = 0;
    for (const uint32_t frame : frames) {
        const float now = angle(static_cast<float>(frame));
        // The shorter way round from the last key (the first key turns from 0).
        float change = now - previous;
        if (!t.keys.empty()) change -= 2 * pi * std::round(change / (2 * pi));
        t.keys.push_back({frame, turning(change, axis), {}});
        previous += change;
    }
    return t;
}

tds::track<vec3> points_along(const std::vector<uint32_t>& frames,
                              const std::function<vec3(float frame)>& point) {
    return keyed_along(frames, point);
}

tds::track<float> values_along(const std::vector<uint32_t>& frames,
                               const std::function<float(float frame)>& value) {
    return keyed_along(frames, value);
}

tds::track<tds::turn> swing(uint32_t first, uint32_t last, vec3 axis, float angle, int swings) {
    tds::track<tds::turn> t{tds::track_once, {{first, turning(-angle, axis), {}}}};
    for (int s = 1; s <= 2 * swings; ++s)
        t.keys.push_back(
            {first + (last - first) * static_cast<uint32_t>(s) / static_cast<uint32_t>(2 * swings),
             turning(s % 2 ? 2 * angle : -2 * angle, axis),
             {}});
    return t;
}

float lens_fov(float lens) {
    // The reader's table of stock lenses; other lenses by 15 / lens x 160.
    constexpr std::pair<float, float> stock[] = {{15, 115},       {20, 94.28571f}, {24, 84},
                                                 {28, 76.36364f}, {35, 63},        {50, 46},
                                                 {85, 28},        {135, 18},       {200, 12}};
    for (const auto& [stock_lens, fov] : stock)
        if (lens == stock_lens) return fov;
    return 15 / lens * 160;
}

projection part_projection(float fov, float width) {
    const float t = std::tan(fov / 2 * pi / 180);
    return {width / 2 / t, 200.0f / 2 / 0.75f / t};
}

vec3 aim_beside(vec3 eye, vec3 subject, float right, float up, projection p) {
    const float distance = length(subject - eye);
    const vec3 forward = normalised(subject - eye);
    const vec3 across = normalised(cross(forward, {0, 0, 1})), above = cross(across, forward);
    return subject - across * (right * distance / p.persp_x) - above * (up * distance / p.persp_y);
}

vec3 still_view::shifted(vec3 p, float right, float up, projection on) const {
    const vec3 across = normalised(cross(forward, {0, 0, 1})), above = cross(across, forward);
    const float z = depth(p);
    return p + across * (right * z / on.persp_x) + above * (up * z / on.persp_y);
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
