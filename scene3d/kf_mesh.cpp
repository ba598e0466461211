// Mesh computations: bounding boxes and face and vertex normals.
#include "scene3d/internal/kf_internal.h"
#include "scene3d/kf.h"

namespace vilora {

kf_status kf_compute_bbox() {
    kf_scene* scene = kf_active_scene();
    if (!scene) return KF_NO_SCENE;
    for (kf_world_node* n = scene->world_head; n; n = n->next) {
        kf_object* o = kf_as_object(n);
        if (!o || o->vertex_count <= 0) continue;
        kf_vector lo = o->vertices[0].position, hi = lo;
        for (int i = 1; i < o->vertex_count; ++i) {
            const kf_vector& p = o->vertices[i].position;
            if (p.x < lo.x) lo.x = p.x;
            if (p.x > hi.x) hi.x = p.x;
            if (p.y < lo.y) lo.y = p.y;
            if (p.y > hi.y) hi.y = p.y;
            if (p.z < lo.z) lo.z = p.z;
            if (p.z > hi.z) hi.z = p.z;
        }
        o->bbox_min = lo;
        o->bbox_max = hi;
    }
    return KF_OK;
}

void kf_normals_from(kf_object* o, kf_vector kf_vertex::*source, kf_vector kf_face::*face_out,
                     kf_vector kf_vertex::*vertex_out) {
    for (int f = 0; f < o->face_count; ++f) {
        kf_face& face = o->faces[f];
        kf_vector ab, bc, n;
        vec_sub(&(face.va->*source), &(face.vb->*source), &ab);
        vec_sub(&(face.vb->*source), &(face.vc->*source), &bc);
        vec_cross(&ab, &bc, &n);
        vec_normalize(&n, &(face.*face_out));
    }
    // Quadratic: every face is scanned for every vertex.
    for (int i = 0; i < o->vertex_count; ++i) {
        kf_vector sum = {0, 0, 0};
        int count = 0;
        for (int f = 0; f < o->face_count; ++f) {
            const kf_face& face = o->faces[f];
            if (face.a != i && face.b != i && face.c != i) continue;
            vec_add(&sum, &(face.*face_out), &sum);
            ++count;
        }
        if (count > 0) vec_scale(&sum, 1.0f / static_cast<float>(count), &sum);
        vec_normalize(&sum, &(o->vertices[i].*vertex_out));
    }
}

void kf_compute_normals(kf_object* object) {
    kf_normals_from(object, &kf_vertex::position, &kf_face::normal, &kf_vertex::normal);
}

} // namespace vilora
