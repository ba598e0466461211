// Writes 3DS scene files from a scene description: the editor section
// (materials, meshes with their vertex list, face list, mapping coordinates,
// local matrix and material groups, cameras, omni and spot lights) and the
// keyframer section (frame range and one node per animated thing, with node
// ids, parents, pivots and tracks). Coordinates are the file's own, z up.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vilora::kit::tds {

struct vec3 {
    float x = 0, y = 0, z = 0;
};

struct colour {
    float red = 0, green = 0, blue = 0; // 0..1
};

struct material {
    std::string name;
    colour ambient, diffuse, specular;
    uint16_t shininess = 0; // percent
    uint16_t shading = 3;   // 1 flat, 2 Gouraud, 3 Phong
    bool two_sided = false;
    bool wire = false;
};

struct face {
    uint16_t a = 0, b = 0, c = 0;
    uint16_t flags = 7; // edge visibility bits ab, bc, ca; 0x08 / 0x10 wrap u / v
};

struct material_group {
    std::string material;
    std::vector<uint16_t> faces;
};

// Rows of the object's axes and its origin, in file coordinates.
struct local_matrix {
    std::array<vec3, 3> axes{vec3{1, 0, 0}, vec3{0, 1, 0}, vec3{0, 0, 1}};
    vec3 origin;
};

struct mesh {
    std::string name;
    std::vector<vec3> vertices;
    std::vector<face> faces;
    std::vector<std::array<float, 2>> mapping; // u, v per vertex, or empty
    local_matrix matrix;
    std::vector<material_group> groups;
};

struct camera {
    std::string name;
    vec3 position, target;
    float roll = 0; // degrees
    float lens = 35;
};

struct light {
    std::string name;
    vec3 position;
    colour light_colour{1, 1, 1};
    bool spot = false;
    vec3 target;
    float hotspot = 30, falloff = 45;
};

// Tension, continuity, bias and the two eases of a key; only the non-zero
// ones are written, flagged in the key's spline word.
struct spline {
    float tension = 0, continuity = 0, bias = 0, ease_to = 0, ease_from = 0;
};

template <typename Value>
struct key {
    uint32_t frame = 0;
    Value value{};
    spline shape{};
};

// Angle in radians about an axis, relative to the previous key.
struct turn {
    float angle = 0;
    vec3 axis{0, 0, 1};
};

// Track flag words: how the track goes on after its last key.
inline constexpr uint16_t track_once = 0;
inline constexpr uint16_t track_repeat = 2;
inline constexpr uint16_t track_loop = 3;

template <typename Value>
struct track {
    uint16_t flags = track_once;
    std::vector<key<Value>> keys;
    bool empty() const { return keys.empty(); }
};

enum class node_kind : uint16_t {
    ambient = 0xB001,
    object = 0xB002,
    camera = 0xB003,
    camera_target = 0xB004,
    omni_light = 0xB005,
    light_target = 0xB006,
    spot_light = 0xB007,
};

// Name of the node that groups others without geometry of its own; its
// instance name is what the scene calls it.
inline const std::string dummy_name = "$$$DUMMY";

struct node {
    node_kind kind = node_kind::object;
    uint16_t id = 0;
    std::string name; // the world entry it animates, or dummy_name
    int16_t parent = -1;
    uint16_t flags = 0;   // 0x800: the object is hidden in the editor
    std::string instance; // dummies' own name
    std::optional<vec3> pivot;
    track<vec3> position;            // objects, cameras, targets, lights
    track<turn> rotation;            // objects
    track<vec3> scale;               // objects
    track<float> fov;                // cameras, degrees
    track<float> roll;               // cameras and spot lights, degrees
    track<vec3> colour;              // lights and ambient, 0..1
    track<std::string> morph;        // objects: the mesh to take the shape of
    std::vector<uint32_t> hide_keys; // objects: frames where visibility toggles
};

struct scene {
    colour ambient_light{0.1f, 0.1f, 0.1f};
    std::vector<material> materials;
    std::vector<mesh> meshes;
    std::vector<camera> cameras;
    std::vector<light> lights;
    uint32_t start_frame = 0, end_frame = 100;
    std::vector<node> nodes;
};

std::vector<uint8_t> write_3ds(const scene& description);

} // namespace vilora::kit::tds
