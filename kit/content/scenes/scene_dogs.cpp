// The dogs' scene: a dog sitting and barking the greetings, filmed side-on
// and close; and another trotting on the spot, filmed side-on for houp.
#include "kit/content/scenes/dog_meshes.h"
#include "kit/content/scenes/scenes.h"
#include "kit/shapes/rig.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vilora::kit::data {
namespace {

constexpr float pi = 3.14159265358979f;

// Two shots. The greetings play frames 1 to about 150; houp plays backwards
// from the last frame to about 295. Between the two nobody looks: the
// camera moves over. houp's very first frame asks for the end frame, which
// the library refuses, and so shows the scene as it was loaded, at frame 0:
// frame 0 is houp's shot too, cut to the greetings' on frame 1. Tracks that
// differ between the shots have keys on frames 0 to 3, so that the cut stays
// between the frames that parts show. Each dog stays where it is; in the
// other's shot it waits far to the side, in front of the camera, where the
// parts draw none of its lines.
constexpr uint32_t dog_frames = 560;
constexpr uint32_t greeting_end = 180, houp_start = 280;

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
vec3 mix(vec3 a, vec3 b, float k) {
    return a + (b - a) * k;
}
float mix(float a, float b, float k) {
    return a + (b - a) * k;
}

// The greetings draw every face as lines coloured by the depth of corner c
// (z / 2, z / 3, z / 2) over a turning picture whose middle is pale; they
// hang the bubble (150 x 104, its box from 12 to 146 across and 58 to 100
// down) at the dog's nose and write the name in it. So the dog sits close,
// some 90 units off, where its lines come out a dark plum, 150 pixels tall
// at the left, its nose at (150, 56) and its chest left of the bubble's box.
constexpr float sitter_size = 0.38f, greeting_lens = 50;
constexpr vec3 sitter_at{0, 0, 0};
vec3 sitter_nose() {
    return sitter_at + vec3{62, 0, 80} * sitter_size;
}
vec3 greeting_eye() {
    return sitter_nose() + vec3{4, -90, -4};
}
vec3 greeting_target() {
    return aim_beside(greeting_eye(), sitter_nose(), -10, 34,
                      part_projection(lens_fov(greeting_lens), 220));
}

// houp draws every face grey by depth (z / 3, held at 100) over a pale
// backdrop, stretches x 1.8 to 4 times from column 0 (x = (persp_x x / z +
// 50) * stretch), shakes every line's ends by up to 9 pixels and covers
// columns 188 to 306 of rows 66 to 140 with its digits. So its dog runs on
// the spot side-on at the bottom left, 114 pixels tall, its feet far enough
// above the bottom edge that the shaken lines of its swinging legs stay on
// the picture, short enough along its length that at the widest stretch it
// stays left of the digits and at the narrowest its wagging tail stays some
// 14 pixels in from the left edge, clear of the frame: true to shape a
// little above the middle of the stretch. It is
// widened across (towards the camera) so that its near legs are darker than
// its far ones, and its body's lines are darker still.
struct houp_shot {
    float size = 2;                       // the dog's scale
    float squeeze = 0.256f;               // along it
    float across = 1.5f;                  // across it, on top of its size
    float distance = 140;                 // from the camera to its middle plane
    float bottom = 6, top = 88;           // its feet and ear tips, dog units
    float feet_row = 160, top_row = 46;   // where they show
    float tail = -50, tail_column = 8.5f; // its tail's tip (dog units), its column unstretched
    float body_depth = 90;                // where its body's lines take their grey
    vec3 dog{3000, 0, 0};                 // where it runs, facing +x
};
constexpr houp_shot houp{};

projection houp_projection() {
    const float persp_y =
        (houp.feet_row - houp.top_row) * houp.distance / ((houp.top - houp.bottom) * houp.size);
    // The part's persp_x for a 220-wide camera of the same field of view.
    return {persp_y * 220 * 0.75f / 200, persp_y};
}
float houp_fov() {
    return 2 * std::atan(200.0f / 2 / 0.75f / houp_projection().persp_y) * 180 / pi;
}
vec3 houp_scale() {
    return {houp.size * houp.squeeze, houp.size * houp.across, houp.size};
}
// Level and square to the dog's side, moved (not turned) so that its feet
// show on row feet_row and its tail's tip on column tail_column.
vec3 houp_eye() {
    const projection p = houp_projection();
    const float tail = houp.tail * houp_scale().x, feet = houp.bottom * houp_scale().z;
    return houp.dog + vec3{tail - (houp.tail_column - 50) * houp.distance / p.persp_x,
                           -houp.distance, feet + (houp.feet_row - 90) * houp.distance / p.persp_y};
}
// A point of the dog (in its own units) slid along houp's line of sight to
// the body's depth, and back into the dog's units.
vec3 at_body_depth(vec3 p) {
    const vec3 k = houp_scale();
    const still_view view{houp_eye(), {0, 1, 0}};
    const vec3 world = houp.dog + vec3{p.x * k.x, p.y * k.y, p.z * k.z};
    const vec3 moved = view.at_depth(world, houp.body_depth) - houp.dog;
    return {moved.x / k.x, moved.y / k.y, moved.z / k.z};
}

vec3 houp_or_greeting_eye(float frame) {
    return mix(greeting_eye(), houp_eye(), shot_blend(frame));
}
vec3 houp_or_greeting_target(float frame) {
    return mix(greeting_target(), houp_eye() + vec3{0, houp.distance, 0}, shot_blend(frame));
}

// A part of a dog: its mesh is drawn in the dog's own units, and the part
// turns about `joint`, which sits at `at` in its parent.
tds::node part_node(uint16_t id, const std::string& name, int16_t parent, vec3 at, vec3 joint) {
    tds::node n = object_node(id, name, parent);
    n.pivot = joint;
    n.position = hold(at);
    n.scale = hold({1, 1, 1});
    n.rotation = {tds::track_once, {{0, turning(0, {0, 0, 1}), {}}}};
    return n;
}

// The sitting dog: it barks every 16 frames, its head nodding up and its jaw
// dropping, and wags its tail. Its head is the last mesh: the bubble hangs
// on the last mesh's face 10.
void add_sitter(tds::scene& s, uint16_t first) {
    s.meshes.push_back(sitter_body("SitBody"));
    s.meshes.push_back(sitter_tail("SitTail"));
    s.meshes.push_back(sitter_jaw_mesh("SitJaw"));
    tds::node dog = dummy_node(first, "Sitter");
    dog.position = hold(sitter_at);
    dog.scale = hold({sitter_size, sitter_size, sitter_size});
    s.nodes.push_back(dog);
    const auto parent = static_cast<int16_t>(first);
    s.nodes.push_back(part_node(first + 1, "SitBody", parent, {}, {}));
    tds::node tail = part_node(first + 2, "SitTail", parent, sitter_tail_root, sitter_tail_root);
    tail.rotation = swing(0, dog_frames, {0, 1, 0}, 0.3f, static_cast<int>(dog_frames / 8));
    s.nodes.push_back(tail);
    tds::node head = part_node(first + 3, "SitHead", parent, sitter_neck, sitter_neck);
    constexpr uint32_t bark = 16;
    head.rotation = turning_along(key_frames(0, dog_frames, 2), {0, 1, 0}, [](float f) {
        const float phase = std::fmod(f, static_cast<float>(bark)) / bark;
        return -0.12f * std::sin(pi * std::min(1.0f, phase * 3));
    });
    s.nodes.push_back(head);
    tds::node jaw = part_node(first + 4, "SitJaw", static_cast<int16_t>(first + 3),
                              sitter_jaw - sitter_neck, sitter_jaw);
    jaw.rotation = turning_along(key_frames(0, dog_frames, 2), {0, 1, 0}, [](float f) {
        const float phase = std::fmod(f, static_cast<float>(bark)) / bark;
        return 0.35f * std::sin(pi * std::min(1.0f, phase * 3));
    });
    s.nodes.push_back(jaw);
}

// The trotting dog: the fore legs swing together against the hind legs, so
// that no leg ever crosses another, and the far legs stand a little inside
// the near ones, under the belly, where all four show. Its tail wags. houp
// plays the frames backwards, so the swings are keyed to run forwards that
// way.
void add_runner(tds::scene& s, uint16_t first) {
    s.meshes.push_back(runner_body("RunBody1", at_body_depth));
    s.meshes.push_back(runner_tail("RunTail1"));
    struct leg {
        const char* name;
        float across;
        vec3 joint;
        float phase; // of a stride
    };
    const vec3 inside{12, 0, 0};
    const leg legs[] = {{"RunFarFore1", 6, runner_shoulder - inside, 0},
                        {"RunFarHind1", 6, runner_hip + inside, 0.5f},
                        {"RunNearFore1", -6, runner_shoulder, 0},
                        {"RunNearHind1", -6, runner_hip, 0.5f}};
    for (const leg& l : legs) s.meshes.push_back(runner_leg(l.name, l.across, l.phase > 0));
    tds::node dog = dummy_node(first, "Runner");
    dog.position = hold(houp.dog);
    dog.scale = hold(houp_scale());
    s.nodes.push_back(dog);
    const auto parent = static_cast<int16_t>(first);
    constexpr float stride = 14; // frames
    // The body holds still, which keeps its shading true (see still_view).
    s.nodes.push_back(part_node(first + 1, "RunBody1", parent, {}, {}));
    tds::node tail = part_node(first + 2, "RunTail1", parent, runner_tail_root, {});
    tail.rotation = swing(0, dog_frames, {0, 1, 0}, 0.25f, static_cast<int>(dog_frames / 10));
    s.nodes.push_back(tail);
    uint16_t id = first + 3;
    for (const leg& l : legs) {
        tds::node n = part_node(id++, l.name, parent, l.joint, {});
        n.rotation = turning_along(key_frames(0, dog_frames, 1), {0, 1, 0}, [&](float f) {
            return 0.3f * std::sin(2 * pi * (-f / stride - l.phase));
        });
        s.nodes.push_back(n);
    }
}

} // namespace

tds::scene psyki_scene() {
    tds::scene s;
    s.end_frame = dog_frames;
    s.materials = scene_materials();
    add_runner(s, 0);
    add_sitter(s, 10);
    s.meshes.push_back(sitter_head("SitHead")); // last: the bubble hangs on its face 10
    // A key on every frame: the cut on frame 1 stays between frames.
    camera_rig cam = camera_path(
        "Camera01", 20, 21, greeting_lens, 0, dog_frames, 1,
        [](float t) { return houp_or_greeting_eye(t * dog_frames); },
        [](float t) { return houp_or_greeting_target(t * dog_frames); });
    cam.eye.fov = values_along(shot_frames(4), [](float f) {
        return mix(lens_fov(greeting_lens), houp_fov(), shot_blend(f));
    });
    s.cameras = {cam.camera};
    s.lights = {{"Lamp", {0, -60, 120}, {1, 0.9f, 0.7f}, true, {0, 0, 30}, 40, 60}};
    s.nodes.push_back(cam.eye);
    s.nodes.push_back(cam.target);
    return s;
}

} // namespace vilora::kit::data
