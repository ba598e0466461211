// Declarations shared by the 3D library's own files; not for its callers.
#pragma once

#include "scene3d/kf.h"

namespace vilora {

// Makes `scene` active again after a load, null included.
void kf_restore_active(kf_scene* scene);

// The first world entry with record id `id` if it is of `type`, else null.
kf_world_node* kf_find_id(int type, int id);

// The track in a node's slot, null when absent.
inline kf_track* kf_node_track(const kf_node* node, int slot) {
    return node->tracks && slot < kf_track_slots(node->type) ? node->tracks[slot] : nullptr;
}

// Face normals (a−b)×(b−c) normalised, from `source` of the face's vertices,
// into `face_out`; vertex normals as the normalised mean of the normals of the
// faces that use the vertex, into `vertex_out`.
void kf_normals_from(kf_object* object, kf_vector kf_vertex::*source, kf_vector kf_face::*face_out,
                     kf_vector kf_vertex::*vertex_out);

} // namespace vilora
