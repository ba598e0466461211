// The 3D scene and keyframer library: scenes read from 3DS files (the world:
// meshes, cameras, lights, materials; the motion: the keyframer's node
// hierarchy and tracks), evaluated at a frame and transformed into the space
// of the active camera. A procedural module: records with public fields, free
// functions that return a kf_status, and one module-wide active scene, active
// camera and set of option flags. Single-threaded; nothing throws.
//
// Coordinates are y up: the reader exchanges y and z of everything it reads.
// Angles in rotation keys are radians; fov and roll are degrees.
//
// A scene part's use of it:
//   kf_init(13); kf_alloc_scene(&scene);
//   kf_load_world(file, scene); kf_load_motion(file, scene); kf_set_active(scene);
//   camera = kf_as_camera(kf_find(KF_CAMERA, "Camera01")), else "rolli";
//   camera->width = 320 (or 220); camera->height = 200; camera->aspect = 0.75f;
//   kf_get_frames(&start, &end); kf_set_camera(camera);
// then each frame:
//   kf_set_active(scene); kf_set_camera(camera); kf_set_frame(frame); kf_update();
//   for each world entry of type KF_OBJECT, each face: the camera_position of
//   vertices[a], [b] and [c] (always valid indices), projected with persp_x, persp_y;
// and at the end kf_free_scene(scene) (or kf_free_world and kf_free_motion).
#pragma once

#include "scene3d/kf_math.h"

#include <cstddef>
#include <cstdint>

namespace vilora {

using kf_status = int;

inline constexpr kf_status KF_OK = 0;
inline constexpr kf_status KF_NO_MEMORY = 1;
inline constexpr kf_status KF_OPEN_FAILED = 2;
inline constexpr kf_status KF_READ_ERROR = 3;
inline constexpr kf_status KF_BAD_VERSION = 4;
inline constexpr kf_status KF_NO_LOADER = 5;
inline constexpr kf_status KF_BAD_FRAME = 6;
inline constexpr kf_status KF_NO_FRAMES = 8;
inline constexpr kf_status KF_NO_SCENE = 9;
inline constexpr kf_status KF_NULL_ARGUMENT = 10;
inline constexpr kf_status KF_TOO_FEW_KEYS = 12;
inline constexpr kf_status KF_SINGULAR_MATRIX = 13;
inline constexpr kf_status KF_UNDEFINED_NAME = 256;

// "KF_READ_ERROR" and so on; "unknown status" for other values.
const char* kf_status_name(kf_status status);

// Option flags of kf_init; the effect parts pass 13.
inline constexpr int KF_HIERARCHY = 1;
inline constexpr int KF_NORMALS = 2;
inline constexpr int KF_MORPH = 4;
inline constexpr int KF_TRANSFORM = 8;
inline constexpr int KF_SLERP = 16;
inline constexpr int KF_MORPH_NORMALS = 32;
inline constexpr int KF_RECALC_NORMALS = 64;

// World entry types.
inline constexpr int KF_CAMERA = 1;
inline constexpr int KF_LIGHT = 2;
inline constexpr int KF_OBJECT = 4;
inline constexpr int KF_MATERIAL = 8;
inline constexpr int KF_AMBIENT = 16;

// Keyframer node types.
inline constexpr int KF_NODE_CAMERA = 1;
inline constexpr int KF_NODE_CAMERA_TARGET = 2;
inline constexpr int KF_NODE_LIGHT = 4;
inline constexpr int KF_NODE_SPOT_LIGHT = 8;
inline constexpr int KF_NODE_LIGHT_TARGET = 16;
inline constexpr int KF_NODE_OBJECT = 32;
inline constexpr int KF_NODE_AMBIENT = 64;

// Track kinds, as kf_set_track receives them.
inline constexpr int KF_TRACK_POSITION = 1;
inline constexpr int KF_TRACK_ROTATION = 2;
inline constexpr int KF_TRACK_SCALE = 3;
inline constexpr int KF_TRACK_FOV = 4;
inline constexpr int KF_TRACK_ROLL = 5;
inline constexpr int KF_TRACK_COLOR = 6;
inline constexpr int KF_TRACK_MORPH = 7;
inline constexpr int KF_TRACK_HIDE = 8;

// kf_object flags.
inline constexpr int KF_OBJECT_HIDDEN = 1;      // by the hide track at the current frame
inline constexpr int KF_OBJECT_NODE_HIDDEN = 2; // node header flag 0x800
inline constexpr int KF_OBJECT_DUMMY = 4;
inline constexpr int KF_OBJECT_MORPHED = 8; // the morph track gave a result this frame

// kf_face flags.
inline constexpr int KF_FACE_WRAP_U = 1;
inline constexpr int KF_FACE_WRAP_V = 2;

// kf_material flags.
inline constexpr int KF_MATERIAL_TWO_SIDED = 1;
inline constexpr int KF_MATERIAL_SOFTEN = 2;
inline constexpr int KF_MATERIAL_WIRE = 4;
inline constexpr int KF_MATERIAL_ADDITIVE = 8;

// Light kinds.
inline constexpr int KF_OMNI_LIGHT = 1;
inline constexpr int KF_SPOT_LIGHT = 2;

// Every record begins with its name (owned, zero-terminated, null while a dummy
// object has no instance name yet) and its record id.
struct kf_record {
    char* name;
    int id;
};

struct kf_vertex {
    kf_vector position;        // object space, relative to the pivot
    kf_vector camera_position; // after the last kf_update, in the active camera's space
    kf_vector normal;          // only with KF_NORMALS
    kf_vector world_normal;
    float u, v; // mapping coordinates, 0 when the file has none
};

struct kf_map {
    char* file; // owned, null when absent
    int flags;
    float u_scale, v_scale, u_offset, v_offset, rotation;
};

struct kf_material : kf_record {
    int shading;
    int flags;
    kf_vector ambient, diffuse, specular; // colours 0..1
    float shininess, shin_strength, transparency, trans_falloff, reflect_blur, self_illum;
    kf_map texture, bump, reflection;
};

// a, b and c are always valid indices into the object's vertex array.
struct kf_face {
    int a, b, c;
    int flags;
    int material_id; // 0 when none was assigned
    kf_vertex *va, *vb, *vc;
    kf_material* material; // null when none was assigned
    kf_vector normal;
    kf_vector world_normal;
};

struct kf_object : kf_record {
    int parent_id; // record id of the parent node's record, -1 for none
    int vertex_count;
    int face_count;
    int flags;
    kf_vertex* vertices;
    kf_face* faces;
    kf_vector pivot;
    kf_vector position; // evaluated tracks
    kf_vector scale;
    kf_vector bbox_min, bbox_max;             // of the stored vertex positions
    kf_vector world_bbox_min, world_bbox_max; // corners through matrix at the last update
    kf_quat rotation;                         // absolute orientation
    int morph_from, morph_to;                 // record ids
    float morph_alpha;
    kf_matrix matrix; // object to world at the last update
};

struct kf_camera : kf_record {
    int parent_id;
    int target_parent_id;
    kf_vector position;
    kf_vector target;
    float fov;                   // horizontal, degrees
    float roll;                  // degrees
    float width, height, aspect; // set by the caller before the first update
    float persp_x, persp_y;      // projection constants, recomputed by each update
    kf_matrix matrix;            // world to camera
};

struct kf_light : kf_record {
    int parent_id;
    int target_parent_id;
    int kind; // KF_OMNI_LIGHT or KF_SPOT_LIGHT
    kf_vector position;
    kf_vector target;
    float roll;
    float hotspot, falloff; // as stored in the file
    kf_vector color;
};

struct kf_ambient : kf_record {
    kf_vector color;
};

struct kf_world_node {
    int type; // KF_CAMERA, KF_LIGHT, KF_OBJECT, KF_MATERIAL or KF_AMBIENT
    kf_record* record;
    kf_world_node* next;
    kf_world_node* prev;
};

struct kf_key {
    float frame;
    float tension, bias, continuity;
    float ease_to, ease_from;
    // fov/roll: [0]; vectors: [0..2]; rotation: running angle, then the axis;
    // morph and hide: an int in [0]'s place (kf_key_int).
    float value[4];
    float tangent_in[4], tangent_out[4];
    kf_quat quat_a, quat_b; // control quaternions of a rotation key
    kf_quat quat;           // absolute orientation at a rotation key
    kf_key* next;
    kf_key* prev;
};

struct kf_track {
    int mode; // 0 play once, 1 repeat, 2 loop
    int key_count;
    float last_frame; // frame of the last key: the period of repeat and loop
    kf_key* first;
    kf_key* cursor; // where the next search starts
};

struct kf_node {
    int type; // KF_NODE_...
    int node_id;
    kf_track** tracks; // owned, kf_track_slots(type) entries, null for an absent track
    kf_record* record;
    kf_node* parent;
    kf_node* first_child;
    kf_node* next_sibling;
    kf_node* next;
    kf_node* prev;
};

struct kf_scene {
    float start_frame, end_frame, frame;
    kf_world_node *world_head, *world_tail;
    kf_node *node_head, *node_tail;
};

// --- Public calls, in the order a caller uses them ---------------------------

kf_status kf_init(int flags);
kf_status kf_alloc_scene(kf_scene** out);
// Reads the world of a ".3ds" or ".kxf" file; the scene is cleared first.
kf_status kf_load_world(const char* file_name, kf_scene* scene);
// Reads the motion (after the world), then sets frame 0 and updates.
kf_status kf_load_motion(const char* file_name, kf_scene* scene);
// The same two passes over a file already in memory.
kf_status kf_load_world_data(const uint8_t* data, size_t size, kf_scene* scene);
kf_status kf_load_motion_data(const uint8_t* data, size_t size, kf_scene* scene);
// Chunks the last load stepped over because neither pass reads them (known
// chunks one pass leaves to the other do not count), for tools that report on
// a file: how many, and the first few.
struct kf_skipped_chunk {
    uint16_t id;
    size_t offset;
};
inline constexpr size_t kf_skipped_chunks_kept = 8;
struct kf_skipped_chunks {
    size_t count = 0;
    kf_skipped_chunk first[kf_skipped_chunks_kept] = {};
};
// Cleared by kf_load_world (and its in-memory twin), added to by the motion pass.
const kf_skipped_chunks& kf_last_skipped_chunks();
kf_status kf_set_active(kf_scene* scene);
kf_status kf_set_camera(kf_camera* camera);
kf_status kf_get_frames(float* start, float* end);
kf_status kf_set_frame(float frame);
kf_status kf_update();
// First world entry whose record name equals `name` byte for byte; out = null
// and 0 when none.
kf_status kf_by_name(const char* name, kf_world_node** out);
kf_status kf_by_id(int id, kf_world_node** out);
kf_status kf_free_world(kf_scene* scene);
kf_status kf_free_motion(kf_scene* scene);
// Frees world, motion and the scene record itself; a null scene is ignored.
void kf_free_scene(kf_scene* scene);

// The active scene and camera, and the flags given to kf_init.
kf_scene* kf_active_scene();
kf_camera* kf_active_camera();
int kf_options();

// Typed look-up in the active scene: the first entry of that world type whose
// name equals `name`, or null. Safer than kf_by_name when a name is shared.
kf_world_node* kf_find(int type, const char* name);

// The record of an entry as its own type, null when the entry is of another.
inline kf_object* kf_as_object(const kf_world_node* n) {
    return n && n->type == KF_OBJECT ? static_cast<kf_object*>(n->record) : nullptr;
}
inline kf_camera* kf_as_camera(const kf_world_node* n) {
    return n && n->type == KF_CAMERA ? static_cast<kf_camera*>(n->record) : nullptr;
}
inline kf_light* kf_as_light(const kf_world_node* n) {
    return n && n->type == KF_LIGHT ? static_cast<kf_light*>(n->record) : nullptr;
}
inline kf_material* kf_as_material(const kf_world_node* n) {
    return n && n->type == KF_MATERIAL ? static_cast<kf_material*>(n->record) : nullptr;
}
inline kf_ambient* kf_as_ambient(const kf_world_node* n) {
    return n && n->type == KF_AMBIENT ? static_cast<kf_ambient*>(n->record) : nullptr;
}

// --- Building blocks used by the reader (and by tests) -----------------------

kf_status kf_add_world(int type, kf_record* record);
kf_status kf_add_node(int type, int node_id, int parent_node_id, kf_track** tracks,
                      kf_record* record);
// Stores the track in the slot the node type gives the kind; 0 without storing
// it when the type has no such slot.
kf_status kf_set_track(int kind, int node_id, kf_track* track);
// Number of track slots of a node type (0 for an unknown type), and the slot of
// a track kind in it (-1 when the type has none).
int kf_track_slots(int node_type);
int kf_track_slot(int node_type, int kind);

// Appends a zeroed key at `frame`; null when out of memory.
kf_key* kf_append_key(kf_track* track, float frame);
void kf_free_track(kf_track* track);
int kf_key_int(const kf_key* key);
void kf_key_set_int(kf_key* key, int value);

// --- Tracks -----------------------------------------------------------------

kf_status kf_spline_setup(kf_track* track);
kf_status kf_rotation_setup(kf_track* track);
// The ease curve over a segment: a = ease_from of the key that starts it,
// b = ease_to of the key that ends it.
float kf_ease(float t, float a, float b);
kf_status kf_eval_float(kf_track* track, float frame, float* out);
kf_status kf_eval_vector(kf_track* track, float frame, kf_vector* out);
kf_status kf_eval_vector_once(kf_track* track, float frame, kf_vector* out);
kf_status kf_eval_rotation(kf_track* track, float frame, kf_quat* out);
kf_status kf_eval_morph(kf_track* track, float frame, int* from, int* to, float* alpha);
kf_status kf_eval_hide(kf_track* track, float frame, int* out);

// --- Mesh computations --------------------------------------------------------

kf_status kf_compute_bbox();
void kf_compute_normals(kf_object* object);

} // namespace vilora
