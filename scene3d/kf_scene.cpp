// Module state, the scene's lists and the public calls that manage them.
#include "scene3d/internal/kf_internal.h"
#include "scene3d/kf.h"

#include <cstring>
#include <new>

namespace vilora {
namespace {

// Written only by kf_init, kf_set_active, kf_set_camera and the loaders.
kf_scene* active_scene = nullptr;
kf_camera* active_camera = nullptr;
int option_flags = 0;

void free_object(kf_object* o) {
    delete[] o->vertices;
    delete[] o->faces;
    delete o;
}

void free_material(kf_material* m) {
    delete[] m->texture.file;
    delete[] m->bump.file;
    delete[] m->reflection.file;
    delete m;
}

void free_record(int type, kf_record* record) {
    delete[] record->name;
    switch (type) {
    case KF_CAMERA:
        delete static_cast<kf_camera*>(record);
        break;
    case KF_LIGHT:
        delete static_cast<kf_light*>(record);
        break;
    case KF_OBJECT:
        free_object(static_cast<kf_object*>(record));
        break;
    case KF_MATERIAL:
        free_material(static_cast<kf_material*>(record));
        break;
    case KF_AMBIENT:
        delete static_cast<kf_ambient*>(record);
        break;
    default:
        break;
    }
}

bool name_equals(const kf_record* r, const char* name) {
    return r->name && std::strcmp(r->name, name) == 0;
}

} // namespace

const char* kf_status_name(kf_status status) {
    switch (status) {
    case KF_OK:
        return "KF_OK";
    case KF_NO_MEMORY:
        return "KF_NO_MEMORY";
    case KF_OPEN_FAILED:
        return "KF_OPEN_FAILED";
    case KF_READ_ERROR:
        return "KF_READ_ERROR";
    case KF_BAD_VERSION:
        return "KF_BAD_VERSION";
    case KF_NO_LOADER:
        return "KF_NO_LOADER";
    case KF_BAD_FRAME:
        return "KF_BAD_FRAME";
    case KF_NO_FRAMES:
        return "KF_NO_FRAMES";
    case KF_NO_SCENE:
        return "KF_NO_SCENE";
    case KF_NULL_ARGUMENT:
        return "KF_NULL_ARGUMENT";
    case KF_TOO_FEW_KEYS:
        return "KF_TOO_FEW_KEYS";
    case KF_SINGULAR_MATRIX:
        return "KF_SINGULAR_MATRIX";
    case KF_UNDEFINED_NAME:
        return "KF_UNDEFINED_NAME";
    default:
        return "unknown status";
    }
}

kf_status kf_init(int flags) {
    option_flags = flags;
    active_scene = nullptr;
    active_camera = nullptr;
    return KF_OK;
}

kf_scene* kf_active_scene() {
    return active_scene;
}
kf_camera* kf_active_camera() {
    return active_camera;
}
int kf_options() {
    return option_flags;
}

kf_status kf_alloc_scene(kf_scene** out) {
    *out = new (std::nothrow) kf_scene{};
    return *out ? KF_OK : KF_NO_MEMORY;
}

kf_status kf_set_active(kf_scene* scene) {
    if (!scene) return KF_NULL_ARGUMENT;
    active_scene = scene;
    return KF_OK;
}

void kf_restore_active(kf_scene* scene) {
    active_scene = scene;
}

kf_status kf_set_camera(kf_camera* camera) {
    active_camera = camera;
    return KF_OK;
}

kf_status kf_get_frames(float* start, float* end) {
    if (!active_scene || !active_scene->node_head) return KF_NO_SCENE;
    if (active_scene->end_frame - active_scene->start_frame == 0) return KF_NO_FRAMES;
    *start = active_scene->start_frame;
    *end = active_scene->end_frame;
    return KF_OK;
}

kf_status kf_set_frame(float frame) {
    if (!active_scene || !active_scene->node_head) return KF_NO_SCENE;
    if (active_scene->end_frame - active_scene->start_frame == 0) return KF_NO_FRAMES;
    if (!(active_scene->start_frame <= frame && frame < active_scene->end_frame))
        return KF_BAD_FRAME;
    active_scene->frame = frame;
    return KF_OK;
}

kf_status kf_by_name(const char* name, kf_world_node** out) {
    *out = nullptr;
    if (!active_scene || !active_scene->world_head) return KF_NO_SCENE;
    if (!name) return KF_NULL_ARGUMENT;
    for (kf_world_node* n = active_scene->world_head; n; n = n->next) {
        if (name_equals(n->record, name)) {
            *out = n;
            break;
        }
    }
    return KF_OK;
}

kf_status kf_by_id(int id, kf_world_node** out) {
    *out = nullptr;
    if (!active_scene || !active_scene->world_head) return KF_NO_SCENE;
    for (kf_world_node* n = active_scene->world_head; n; n = n->next) {
        if (n->record->id == id) {
            *out = n;
            break;
        }
    }
    return KF_OK;
}

kf_world_node* kf_find(int type, const char* name) {
    if (!active_scene || !name) return nullptr;
    for (kf_world_node* n = active_scene->world_head; n; n = n->next)
        if (n->type == type && name_equals(n->record, name)) return n;
    return nullptr;
}

kf_world_node* kf_find_id(int type, int id) {
    if (!active_scene) return nullptr;
    for (kf_world_node* n = active_scene->world_head; n; n = n->next)
        if (n->record->id == id) return n->type == type ? n : nullptr;
    return nullptr;
}

kf_status kf_add_world(int type, kf_record* record) {
    if (!active_scene) return KF_NO_SCENE;
    auto* n = new (std::nothrow) kf_world_node{type, record, nullptr, active_scene->world_tail};
    if (!n) return KF_NO_MEMORY;
    if (active_scene->world_tail)
        active_scene->world_tail->next = n;
    else
        active_scene->world_head = n;
    active_scene->world_tail = n;
    return KF_OK;
}

kf_status kf_add_node(int type, int node_id, int parent_node_id, kf_track** tracks,
                      kf_record* record) {
    if (!active_scene) return KF_NO_SCENE;
    auto* node = new (std::nothrow) kf_node{};
    if (!node) return KF_NO_MEMORY;
    *node = {
        type, node_id, tracks, record, nullptr, nullptr, nullptr, nullptr, active_scene->node_tail};
    if (active_scene->node_tail)
        active_scene->node_tail->next = node;
    else
        active_scene->node_head = node;
    active_scene->node_tail = node;
    if (parent_node_id == -1) return KF_OK;
    // Every node with the parent's id (the new one included) takes it as a child.
    for (kf_node* p = active_scene->node_head; p; p = p->next) {
        if (p->node_id != parent_node_id) continue;
        node->next_sibling = p->first_child;
        p->first_child = node;
        node->parent = p;
    }
    return KF_OK;
}

int kf_track_slots(int node_type) {
    switch (node_type) {
    case KF_NODE_CAMERA:
        return 3;
    case KF_NODE_CAMERA_TARGET:
        return 1;
    case KF_NODE_LIGHT:
        return 2;
    case KF_NODE_SPOT_LIGHT:
        return 5;
    case KF_NODE_LIGHT_TARGET:
        return 1;
    case KF_NODE_OBJECT:
        return 5;
    case KF_NODE_AMBIENT:
        return 1;
    default:
        return 0;
    }
}

int kf_track_slot(int node_type, int kind) {
    switch (node_type) {
    case KF_NODE_CAMERA:
        return kind == KF_TRACK_POSITION ? 0
               : kind == KF_TRACK_FOV    ? 1
               : kind == KF_TRACK_ROLL   ? 2
                                         : -1;
    case KF_NODE_CAMERA_TARGET:
    case KF_NODE_LIGHT_TARGET:
        return kind == KF_TRACK_POSITION ? 0 : -1;
    case KF_NODE_LIGHT:
        return kind == KF_TRACK_POSITION ? 0 : kind == KF_TRACK_COLOR ? 1 : -1;
    case KF_NODE_SPOT_LIGHT:
        return kind == KF_TRACK_POSITION ? 0
               : kind == KF_TRACK_COLOR  ? 1
               : kind == KF_TRACK_ROLL   ? 2
                                         : -1;
    case KF_NODE_OBJECT:
        switch (kind) {
        case KF_TRACK_POSITION:
            return 0;
        case KF_TRACK_SCALE:
            return 1;
        case KF_TRACK_ROTATION:
            return 2;
        case KF_TRACK_MORPH:
            return 3;
        case KF_TRACK_HIDE:
            return 4;
        default:
            return -1;
        }
    case KF_NODE_AMBIENT:
        return kind == KF_TRACK_COLOR ? 0 : -1;
    default:
        return -1;
    }
}

kf_status kf_set_track(int kind, int node_id, kf_track* track) {
    if (!active_scene || !active_scene->node_head) return KF_NO_SCENE;
    for (kf_node* n = active_scene->node_head; n; n = n->next) {
        if (n->node_id != node_id) continue;
        int slot = n->tracks ? kf_track_slot(n->type, kind) : -1;
        if (slot >= 0) {
            // A second track of one kind replaces the first, which is freed.
            if (n->tracks[slot] != track) kf_free_track(n->tracks[slot]);
            n->tracks[slot] = track;
        }
        return KF_OK;
    }
    return KF_UNDEFINED_NAME;
}

kf_status kf_free_world(kf_scene* scene) {
    if (!scene || !scene->world_head) return KF_NULL_ARGUMENT;
    for (kf_world_node* n = scene->world_head; n;) {
        kf_world_node* next = n->next;
        if (n->record == active_camera) active_camera = nullptr;
        free_record(n->type, n->record);
        delete n;
        n = next;
    }
    scene->world_head = scene->world_tail = nullptr;
    return KF_OK;
}

kf_status kf_free_motion(kf_scene* scene) {
    if (!scene || !scene->node_head) return KF_NULL_ARGUMENT;
    for (kf_node* n = scene->node_head; n;) {
        kf_node* next = n->next;
        for (int i = 0; n->tracks && i < kf_track_slots(n->type); ++i) kf_free_track(n->tracks[i]);
        delete[] n->tracks;
        delete n;
        n = next;
    }
    scene->node_head = scene->node_tail = nullptr;
    return KF_OK;
}

void kf_free_scene(kf_scene* scene) {
    if (!scene) return;
    kf_free_world(scene);
    kf_free_motion(scene);
    if (active_scene == scene) active_scene = nullptr;
    delete scene;
}

} // namespace vilora
