// Keyframer nodes and tracks for the default scenes: objects, dummies and
// cameras with their targets, and tracks sampled from functions of time.
#pragma once

#include "kit/shapes/meshes.h"

#include <vector>

namespace vilora::kit::data {

tds::node object_node(uint16_t id, const std::string& name, int16_t parent = -1);
// A grouping node without geometry, called `instance`.
tds::node dummy_node(uint16_t id, const std::string& instance, int16_t parent = -1);

// Keyframer nodes for the scene's lights that have none, as modelling tools
// save every light: an omni light gets a node that holds its place, a spot
// light that and a node for its target. Ids follow the highest in the scene.
void add_light_nodes(tds::scene& s);

// One key, as a one-key track that holds the value.
tds::track<vec3> hold(vec3 value);
// Keys every `step` frames from `first` to `last` (and at `last`), values f(t)
// with t = 0 .. 1 over the range.
tds::track<vec3> sampled(uint32_t first, uint32_t last, uint32_t step,
                         const std::function<vec3(float t)>& f, uint16_t flags = tds::track_once);
// Turns in these tracks are counter-clockwise about their axis seen from its
// tip, in the file's axes. The keys hold them negated: the scene reader
// exchanges y and z, a mirror, under which a key's angle turns the other way.
tds::turn turning(float angle, vec3 axis);

// Whole turns about `axis`: `turns` of them between frames `first` and `last`,
// a key every quarter turn.
tds::track<tds::turn> spin(uint32_t first, uint32_t last, vec3 axis, int turns);
// A turn of `angle` radians about `axis` between frames `first` and `last`,
// in `steps` equal keys (a step should stay well below half a turn).
tds::track<tds::turn> turn_by(uint32_t first, uint32_t last, vec3 axis, float angle, int steps);
// Turns about z that follow an angle a(t), t = 0 .. 1 over the range, with a
// key every `step` frames, each the shorter way round from the last; a(t)
// should change by well under half a turn between keys.
tds::track<tds::turn> heading(uint32_t first, uint32_t last, uint32_t step,
                              const std::function<float(float t)>& angle);
// Frames `first`, first + step, ... and `last` itself.
std::vector<uint32_t> key_frames(uint32_t first, uint32_t last, uint32_t step);
// Turns about `axis` that follow an angle a(frame), with a key at each of
// `frames` (rising), each the shorter way round from the last (the first
// turns from 0); a(frame) should change by well under half a turn between keys.
tds::track<tds::turn> turning_along(const std::vector<uint32_t>& frames, vec3 axis,
                                    const std::function<float(float frame)>& angle);
// A point at each of `frames`: p(frame).
tds::track<vec3> points_along(const std::vector<uint32_t>& frames,
                              const std::function<vec3(float frame)>& point);
// A value at each of `frames`: v(frame).
tds::track<float> values_along(const std::vector<uint32_t>& frames,
                               const std::function<float(float frame)>& value);
// A swing to +angle and back to -angle `swings` times over the range, about `axis`.
tds::track<tds::turn> swing(uint32_t first, uint32_t last, vec3 axis, float angle, int swings);

// Field of view in degrees of a camera lens, as the scene reader turns lenses
// into angles.
float lens_fov(float lens);

// How a part projects a camera of field of view `fov`: its constants for a
// camera width of `width` (the parts use 220 or 320) on a 200-line picture.
struct projection {
    float persp_x, persp_y;
};
projection part_projection(float fov, float width);

// The target for a camera at `eye` that shows `subject` `right` pixels to the
// right of and `up` pixels above the projection centre (small offsets: the
// turn of the view is not corrected for).
vec3 aim_beside(vec3 eye, vec3 subject, float right, float up, projection p);

// A camera that holds still, as the parts that colour faces by depth see it:
// the colour of a face comes from the depth of its corner c, and a point slid
// along its line of sight keeps its place on the screen, at any projection
// the parts use. So a face can be given the shade wanted by sliding its
// corner c to that depth.
struct still_view {
    vec3 eye, forward; // forward: unit length
    // Depth in the camera's space (its z).
    float depth(vec3 p) const { return dot(p - eye, forward); }
    // p slid along its line of sight to depth z.
    vec3 at_depth(vec3 p, float z) const { return eye + (p - eye) * (z / depth(p)); }
    // The same view in the space of a node that sits at `origin`, unturned
    // and unscaled.
    still_view from(vec3 origin) const { return {eye - origin, forward}; }
    // p moved at its own depth by `right` and `up` pixels of a projection
    // (the camera is not rolled).
    vec3 shifted(vec3 p, float right, float up, projection on) const;
};

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
