// kf_update: tracks into records, object matrices through the hierarchy,
// camera views, and every vertex into the active camera's space.
#include "scene3d/internal/kf_internal.h"
#include "scene3d/kf.h"

#include <algorithm>
#include <cmath>

namespace vilora {
namespace {

void evaluate_object(const kf_node* node, float frame) {
    auto* o = static_cast<kf_object*>(node->record);
    kf_eval_vector(kf_node_track(node, 0), frame, &o->position);
    kf_eval_vector(kf_node_track(node, 1), frame, &o->scale);
    kf_eval_rotation(kf_node_track(node, 2), frame, &o->rotation);
    kf_status morph =
        kf_eval_morph(kf_node_track(node, 3), frame, &o->morph_from, &o->morph_to, &o->morph_alpha);
    int hidden = 0;
    kf_eval_hide(kf_node_track(node, 4), frame, &hidden);
    o->flags = morph == KF_OK ? o->flags | KF_OBJECT_MORPHED : o->flags & ~KF_OBJECT_MORPHED;
    o->flags = hidden != 0 ? o->flags | KF_OBJECT_HIDDEN : o->flags & ~KF_OBJECT_HIDDEN;
    // Scaled, then rotated, then moved.
    kf_matrix rotate, scale;
    quat_to_matrix(&o->rotation, &rotate);
    rotate.m[0][3] = o->position.x;
    rotate.m[1][3] = o->position.y;
    rotate.m[2][3] = o->position.z;
    mat_scale(&o->scale, &scale);
    mat_mul(&rotate, &scale, &o->matrix);
}

void evaluate_node(const kf_node* node, float frame) {
    switch (node->type) {
    case KF_NODE_CAMERA: {
        auto* c = static_cast<kf_camera*>(node->record);
        kf_eval_vector(kf_node_track(node, 0), frame, &c->position);
        kf_eval_float(kf_node_track(node, 1), frame, &c->fov);
        kf_eval_float(kf_node_track(node, 2), frame, &c->roll);
        break;
    }
    case KF_NODE_CAMERA_TARGET:
        kf_eval_vector(kf_node_track(node, 0), frame,
                       &static_cast<kf_camera*>(node->record)->target);
        break;
    case KF_NODE_LIGHT:
    case KF_NODE_SPOT_LIGHT: {
        auto* l = static_cast<kf_light*>(node->record);
        kf_eval_vector(kf_node_track(node, 0), frame, &l->position);
        kf_eval_vector_once(kf_node_track(node, 1), frame, &l->color);
        if (node->type == KF_NODE_SPOT_LIGHT)
            kf_eval_float(kf_node_track(node, 2), frame, &l->roll);
        break;
    }
    case KF_NODE_LIGHT_TARGET:
        kf_eval_vector(kf_node_track(node, 0), frame,
                       &static_cast<kf_light*>(node->record)->target);
        break;
    case KF_NODE_AMBIENT:
        kf_eval_vector_once(kf_node_track(node, 0), frame,
                            &static_cast<kf_ambient*>(node->record)->color);
        break;
    case KF_NODE_OBJECT:
        evaluate_object(node, frame);
        break;
    default:
        break;
    }
}

// A parent precedes its children in the node list, so its matrix is complete
// when it is passed on and chains of any depth compose.
void apply_hierarchy(const kf_scene* scene) {
    for (const kf_node* p = scene->node_head; p; p = p->next) {
        if (p->type == KF_NODE_OBJECT) {
            const kf_matrix* m = &static_cast<kf_object*>(p->record)->matrix;
            for (const kf_node* h = p->first_child; h; h = h->next_sibling) {
                auto* camera = static_cast<kf_camera*>(h->record);
                auto* light = static_cast<kf_light*>(h->record);
                switch (h->type) {
                case KF_NODE_OBJECT: {
                    auto* child = static_cast<kf_object*>(h->record);
                    mat_mul(m, &child->matrix, &child->matrix);
                    break;
                }
                case KF_NODE_CAMERA:
                    mat_transform_point(m, &camera->position, &camera->position);
                    break;
                case KF_NODE_CAMERA_TARGET:
                    mat_transform_point(m, &camera->target, &camera->target);
                    break;
                case KF_NODE_LIGHT:
                case KF_NODE_SPOT_LIGHT:
                    mat_transform_point(m, &light->position, &light->position);
                    break;
                case KF_NODE_LIGHT_TARGET:
                    mat_transform_point(m, &light->target, &light->target);
                    break;
                default:
                    break;
                }
            }
        } else if (p->type == KF_NODE_CAMERA) {
            // Lights under a camera follow its position only, not its turn.
            const kf_vector* eye = &static_cast<kf_camera*>(p->record)->position;
            for (const kf_node* h = p->first_child; h; h = h->next_sibling) {
                if (h->type != KF_NODE_LIGHT && h->type != KF_NODE_SPOT_LIGHT) continue;
                auto* light = static_cast<kf_light*>(h->record);
                vec_add(&light->position, eye, &light->position);
            }
        }
    }
}

// The view: yaw about y, pitch toward the target, roll about the view
// direction; row 0 right, row 1 up, row 2 the unit view direction.
void compute_camera(kf_camera* c) {
    kf_vector d;
    vec_sub(&c->target, &c->position, &d);
    float len = vec_length(&d);
    float theta = static_cast<float>(c->fov / 2 * (kf_pi / 180));
    double tan_theta = std::tan(static_cast<double>(theta));
    c->persp_x = static_cast<float>(c->width / 2 / tan_theta);
    c->persp_y = static_cast<float>(c->height / 2 / c->aspect / tan_theta);
    double yaw = -std::atan2(static_cast<double>(d.x), static_cast<double>(d.z));
    double pitch = std::asin(static_cast<double>(d.y / len));
    double roll = -c->roll * kf_deg_to_rad;
    float sy = static_cast<float>(std::sin(yaw)), cy = static_cast<float>(std::cos(yaw));
    float sp = static_cast<float>(std::sin(pitch)), cp = static_cast<float>(std::cos(pitch));
    float sr = static_cast<float>(std::sin(roll)), cr = static_cast<float>(std::cos(roll));
    kf_matrix r = {{{sr * sp * sy + cr * cy, sr * cp, sy * cr - sp * cy * sr, 0},
                    {sy * sp * cr - cy * sr, cp * cr, -sp * cr * cy - sy * sr, 0},
                    {-sy * cp, sp, cy * cp, 0}}};
    kf_vector eye;
    vec_negate(&c->position, &eye);
    mat_translate_after(&eye, &r, &c->matrix);
}

void rotate_normals(kf_object* o, const kf_matrix* n) {
    for (int i = 0; i < o->vertex_count; ++i)
        mat_transform_vector(n, &o->vertices[i].normal, &o->vertices[i].world_normal);
    for (int f = 0; f < o->face_count; ++f)
        mat_transform_vector(n, &o->faces[f].normal, &o->faces[f].world_normal);
}

// Blends vertices (and the options' normals) of morph targets a and b. A target
// with fewer vertices or faces blends only the ones all three share; the rest
// keep the object's own.
void transform_morphed(kf_object* o, const kf_object* a, const kf_object* b, const kf_matrix* k,
                       const kf_matrix* n, int options) {
    float alpha = o->morph_alpha;
    kf_vector p;
    vec_lerp(&a->bbox_min, &b->bbox_min, alpha, &p);
    mat_transform_point(&o->matrix, &p, &o->world_bbox_min);
    vec_lerp(&a->bbox_max, &b->bbox_max, alpha, &p);
    mat_transform_point(&o->matrix, &p, &o->world_bbox_max);
    int vertices = std::min({o->vertex_count, a->vertex_count, b->vertex_count});
    int faces = std::min({o->face_count, a->face_count, b->face_count});
    for (int i = 0; i < o->vertex_count; ++i) {
        kf_vertex& v = o->vertices[i];
        if (i < vertices)
            vec_lerp(&a->vertices[i].position, &b->vertices[i].position, alpha, &p);
        else
            p = v.position;
        mat_transform_point(k, &p, &v.camera_position);
    }
    if (!(options & KF_NORMALS)) return;
    if (options & KF_MORPH_NORMALS) {
        rotate_normals(o, n);
        for (int i = 0; i < vertices; ++i) {
            vec_lerp(&a->vertices[i].normal, &b->vertices[i].normal, alpha, &p);
            mat_transform_vector(n, &p, &o->vertices[i].world_normal);
        }
        for (int f = 0; f < faces; ++f) {
            vec_lerp(&a->faces[f].normal, &b->faces[f].normal, alpha, &p);
            mat_transform_vector(n, &p, &o->faces[f].world_normal);
        }
    } else if (options & KF_RECALC_NORMALS) {
        kf_normals_from(o, &kf_vertex::camera_position, &kf_face::world_normal,
                        &kf_vertex::world_normal);
    } else {
        rotate_normals(o, n);
    }
}

void transform_object(kf_object* o, const kf_camera* camera, int options) {
    kf_matrix k = o->matrix;
    if (camera) mat_mul(&camera->matrix, &o->matrix, &k);
    kf_matrix n;
    mat_normalize_rows(&o->matrix, &n);
    if ((options & KF_MORPH) && (o->flags & KF_OBJECT_MORPHED)) {
        const kf_object* a = kf_as_object(kf_find_id(KF_OBJECT, o->morph_from));
        const kf_object* b = kf_as_object(kf_find_id(KF_OBJECT, o->morph_to));
        if (a && b) {
            transform_morphed(o, a, b, &k, &n, options);
            return;
        }
    }
    mat_transform_point(&o->matrix, &o->bbox_min, &o->world_bbox_min);
    mat_transform_point(&o->matrix, &o->bbox_max, &o->world_bbox_max);
    for (int i = 0; i < o->vertex_count; ++i)
        mat_transform_point(&k, &o->vertices[i].position, &o->vertices[i].camera_position);
    if (options & KF_NORMALS) rotate_normals(o, &n);
}

} // namespace

kf_status kf_update() {
    kf_scene* scene = kf_active_scene();
    if (!scene || !scene->world_head || !scene->node_head) return KF_NO_SCENE;
    int options = kf_options();
    for (const kf_node* n = scene->node_head; n; n = n->next) evaluate_node(n, scene->frame);
    if (options & KF_HIERARCHY) apply_hierarchy(scene);
    for (const kf_node* n = scene->node_head; n; n = n->next)
        if (n->type == KF_NODE_CAMERA) compute_camera(static_cast<kf_camera*>(n->record));
    if (options & KF_TRANSFORM) {
        for (kf_world_node* w = scene->world_head; w; w = w->next)
            if (kf_object* o = kf_as_object(w)) transform_object(o, kf_active_camera(), options);
    }
    return KF_OK;
}

} // namespace vilora
