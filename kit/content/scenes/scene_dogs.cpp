// The dogs' scene: two dogs chasing round a bone, filmed from far off for the
// greetings; then one of them galloping on the spot, filmed side-on and
// close for houp.
#include "kit/content/scenes/dog_meshes.h"
#include "kit/content/scenes/scenes.h"
#include "kit/shapes/rig.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;

// Two shots. The greetings play frames 1 to about 150: a still camera above
// the chase, from far off with a long lens (so that the depths give bright
// colours), the bone a little left of the middle with its top, where the
// bubble hangs, near (140, 60): the bubble then ends inside the picture.
// houp plays backwards from the last frame to about 295 (see houp_shot).
// Between the two nobody looks: the dogs, the bone and the camera move over.
// houp's very first frame asks for the end frame, which the library refuses,
// and so shows the scene as it was loaded, at frame 0: frame 0 is houp's
// shot too, cut to the greetings' on frame 1. Tracks that differ between the
// shots have keys on frames 0 to 3, so that the cut stays between the
// frames that parts show.
constexpr uint32_t dog_frames = 560, lap = 80;
constexpr uint32_t greeting_end = 180, houp_start = 280;
constexpr float lens = 153;

// 0 during the greetings' shot, 1 during houp's, easing in between.
float shot_blend(float frame) {
    if (frame < 0.5f) return 1; // frame 0 (a frame from t * dog_frames may be a little off)
    const float k = std::clamp((frame - greeting_end) / (houp_start - greeting_end), 0.0f, 1.0f);
    return k * k * (3 - 2 * k);
}
// Keys for a track that differs between the shots: on frames 0 to 3, then
// every `step` frames.
std::vector<uint32_t> shot_frames(uint32_t step) {
    std::vector<uint32_t> frames = {0, 1, 2, 3};
    for (const uint32_t frame : key_frames(4, dog_frames, step)) frames.push_back(frame);
    return frames;
}
float mix(float a, float b, float k) {
    return a + (b - a) * k;
}
vec3 mix(vec3 a, vec3 b, float k) {
    return a + (b - a) * k;
}

// The chase: a lap of the bone every `lap` frames, counter-clockwise seen
// from above, the second dog half a lap behind, with a hop on every stride.
constexpr float chase_radius = 45;
constexpr uint32_t stride = 10; // frames
float lap_angle(float frame, float phase) {
    return phase + 2 * pi * frame / static_cast<float>(lap);
}
vec3 chase_position(float frame, float phase) {
    const float a = lap_angle(frame, phase);
    return {chase_radius * std::cos(a), chase_radius * std::sin(a), 0};
}
float hop(float frame, float phase) {
    return 2.5f * std::fabs(std::sin(pi * frame / stride + phase));
}
// A swing between -1 and 1, at -1 on frame 0, once every `period` frames.
float swinging(float frame, uint32_t period) {
    return -std::cos(2 * pi * frame / static_cast<float>(period));
}

// houp draws every face grey by depth (z / 3, held at 100) over a pale
// backdrop, stretches x 1.8 to 4 times from column 0 (x = (persp_x x / z +
// 50) * stretch) and covers columns 188 to 306 of rows 66 to 140 with its
// digits. So dog 1 runs on the spot close to the camera, side-on and as tall
// as the picture, its body and legs in the columns left of the digits and its
// raised head above them, where the stretch may carry the snout further
// right. It is squeezed along its length to be true to shape a little below
// the middle of the stretch, and widened across (towards the camera) so that
// its near legs and ear are darker than its far ones. Dog 2 and the bone
// wait out of the shot, in front of the camera and far to its left.
struct houp_shot {
    float size = 4;                     // the dog's scale
    float squeeze = 0.44f;              // along it: persp_y / persp_x / 2.75
    float across = 1.3f;                // across it, on top of its size
    float distance = 140;               // from the camera to its middle plane
    float top = 45;                     // the height of its head, dog units
    float feet_row = 178, top_row = 12; // where its feet and head show
    float rump = -11, rump_column = 10; // its rump (dog units) and where it shows
    float head_lift = -0.25f;           // nose up, radians about +y
    vec3 dog{0, 0, 0};                  // where dog 1 runs, facing +x
    vec3 away{-2000, 600, 0};           // where dog 2 and the bone wait
};
constexpr houp_shot houp{};

projection houp_projection() {
    const float persp_y = (houp.feet_row - houp.top_row) * houp.distance / (houp.top * houp.size);
    // The part's persp_x for a 220-wide camera of the same field of view.
    return {persp_y * 220 * 0.75f / 200, persp_y};
}
float houp_fov() {
    return 2 * std::atan(200.0f / 2 / 0.75f / houp_projection().persp_y) * 180 / pi;
}
vec3 houp_scale() {
    return {houp.size * houp.squeeze, houp.size * houp.across, houp.size};
}
// Level and square to dog 1's side, moved (not turned) so that its feet show
// on row feet_row and its rump on column rump_column.
vec3 houp_eye() {
    const projection p = houp_projection();
    const float rump = houp.rump * houp_scale().x;
    return houp.dog + vec3{rump - (houp.rump_column - 50) * houp.distance / p.persp_x,
                           -houp.distance, (houp.feet_row - 90) * houp.distance / p.persp_y};
}

// A dog's place, heading, scale and head: on the circle for the chase, moving
// over to houp's shot.
struct dog_motion {
    float phase;
    vec3 houp_place;
    vec3 position(float f) const {
        const float k = shot_blend(f);
        return mix(chase_position(f, phase), houp_place, k) +
               vec3{0, 0, hop(f, phase) * mix(1, houp.size, k)};
    }
    // Along the circle, a quarter turn ahead of the position angle; in houp's
    // shot facing +x, the turn nearest to where the chase left it.
    float heading(float f) const {
        const float chase = lap_angle(f, phase) + pi / 2;
        const float left = lap_angle(houp_start, phase) + pi / 2;
        return mix(chase, 2 * pi * std::round(left / (2 * pi)), shot_blend(f));
    }
    vec3 scale(float f) const { return mix(vec3{1, 1, 1}, houp_scale(), shot_blend(f)); }
    // Nodding with the strides in the chase; held up for houp.
    float head(float f) const {
        return mix(0.15f * swinging(f, stride), houp.head_lift, shot_blend(f));
    }
};
constexpr dog_motion dog_1{0, houp.dog}, dog_2{pi, houp.away};

// A dog as a dummy that runs, turns and grows, with body, legs, tail and head
// under it; node ids from `first`. Its meshes go into the scene.
void add_dog(tds::scene& s, int number, uint16_t first, const dog_motion& m) {
    const std::string n = std::to_string(number);
    s.meshes.push_back(dog_body("Body" + n));
    s.meshes.push_back(dog_front_legs("Front" + n));
    s.meshes.push_back(dog_hind_legs("Back" + n));
    s.meshes.push_back(dog_tail("Tail" + n));
    s.meshes.push_back(dog_head("Head" + n));
    tds::node dog = dummy_node(first, "Dog" + n);
    dog.position = points_along(shot_frames(1), [&m](float f) { return m.position(f); });
    dog.rotation = turning_along(shot_frames(4), {0, 0, 1}, [&m](float f) { return m.heading(f); });
    dog.scale = points_along(shot_frames(4), [&m](float f) { return m.scale(f); });
    s.nodes.push_back(dog);
    auto child = [&](uint16_t id, const std::string& name, vec3 at) {
        tds::node c = object_node(id, name, static_cast<int16_t>(first));
        c.position = hold(at);
        c.scale = hold({1, 1, 1});
        return c;
    };
    constexpr int strides = static_cast<int>(dog_frames / stride);
    s.nodes.push_back(child(first + 1, "Body" + n, {0, 0, 0}));
    tds::node front = child(first + 2, "Front" + n, dog_shoulders);
    front.rotation = swing(0, dog_frames, {0, 1, 0}, 0.45f, strides);
    tds::node back = child(first + 3, "Back" + n, dog_hips);
    back.rotation = swing(0, dog_frames, {0, 1, 0}, -0.45f, strides);
    // Wagging up and down as much as sideways: both shots see it.
    tds::node tail = child(first + 4, "Tail" + n, dog_tail_root);
    tail.rotation = swing(0, dog_frames, normalised({0, 1, 1}), 0.5f, 2 * strides);
    tds::node head = child(first + 5, "Head" + n, dog_neck);
    head.rotation =
        turning_along(shot_frames(stride / 2), {0, 1, 0}, [&m](float f) { return m.head(f); });
    for (tds::node* c : {&front, &back, &tail, &head}) s.nodes.push_back(*c);
}

// The bone stands on end at the middle of the chase, bobbing and spinning
// (three turns over the 560 frames); for houp it waits out of the shot.
void add_bone(tds::scene& s, uint16_t id) {
    tds::node bone = object_node(id, "Bone");
    bone.position = points_along(shot_frames(2), [](float f) {
        return mix(vec3{0, 0, 16 + 3 * std::sin(2 * pi * f / lap)}, houp.away, shot_blend(f));
    });
    bone.rotation = spin(0, dog_frames, {0, 0, 1}, 3);
    bone.scale = hold({1, 1, 1});
    s.nodes.push_back(bone);
}

vec3 greeting_eye() {
    return {-61, -376, 193};
}
vec3 greeting_target() {
    return aim_beside(greeting_eye(), {0, 0, 14}, -20, -15, part_projection(lens_fov(lens), 220));
}
vec3 houp_or_greeting_eye(float frame) {
    return mix(greeting_eye(), houp_eye(), shot_blend(frame));
}
vec3 houp_or_greeting_target(float frame) {
    return mix(greeting_target(), houp_eye() + vec3{0, houp.distance, 0}, shot_blend(frame));
}

} // namespace

tds::scene psyki_scene() {
    tds::scene s;
    s.end_frame = dog_frames;
    s.materials = scene_materials();
    add_bone(s, 0);
    add_dog(s, 1, 1, dog_1);
    add_dog(s, 2, 7, dog_2);
    s.meshes.push_back(bone_mesh()); // last: the bubble hangs on the last mesh's face 10
    // A key on every frame: the cut on frame 1 stays between frames.
    camera_rig cam = camera_path(
        "Camera01", 13, 14, lens, 0, dog_frames, 1,
        [](float t) { return houp_or_greeting_eye(t * dog_frames); },
        [](float t) { return houp_or_greeting_target(t * dog_frames); });
    cam.eye.fov = values_along(
        shot_frames(4), [](float f) { return mix(lens_fov(lens), houp_fov(), shot_blend(f)); });
    s.cameras = {cam.camera};
    s.lights = {{"Lamp", {0, 0, 120}, {1, 0.9f, 0.7f}, true, {0, 0, 0}, 40, 60}};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

} // namespace vilora::kit::data
