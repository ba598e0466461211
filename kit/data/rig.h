// Keyframer nodes and tracks for the default scenes: objects, dummies and
// cameras with their targets, and tracks sampled from functions of time.
#pragma once

#include "kit/data/meshes.h"

namespace vilora::kit::data {

tds::node object_node(uint16_t id, const std::string& name, int16_t parent = -1);
// A grouping node without geometry, called `instance`.
tds::node dummy_node(uint16_t id, const std::string& instance, int16_t parent = -1);

// One key, as a one-key track that holds the value.
tds::track<vec3> hold(vec3 value);
// Keys every `step` frames from `first` to `last` (and at `last`), values f(t)
// with t = 0 .. 1 over the range.
tds::track<vec3> sampled(uint32_t first, uint32_t last, uint32_t step,
                         const std::function<vec3(float t)>& f, uint16_t flags = tds::track_once);
// Whole turns about `axis`: `turns` of them between frames `first` and `last`,
// a key every quarter turn.
tds::track<tds::turn> spin(uint32_t first, uint32_t last, vec3 axis, int turns);
// A swing to +angle and back to -angle `swings` times over the range, about `axis`.
tds::track<tds::turn> swing(uint32_t first, uint32_t last, vec3 axis, float angle, int swings);

// The camera and its two nodes (camera, target) following two paths.
struct camera_rig {
    tds::camera camera;
    tds::node eye, target;
};
camera_rig camera_path(const std::string& name, uint16_t eye_id, uint16_t target_id, float lens,
                       uint32_t first, uint32_t last, uint32_t step,
                       const std::function<vec3(float t)>& eye,
                       const std::function<vec3(float t)>& target);

} // namespace vilora::kit::data
