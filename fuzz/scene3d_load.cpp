// Fuzz target: both passes of the 3DS reader over one input, then the scene
// evaluated at a few frames and every face's corners read as the scene parts
// read them. The input's last byte picks the optional paths (normals, plain
// slerp, morphed normals).
#include "scene3d/kf.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace {

using namespace vilora;

int options_for(const uint8_t* data, size_t size) {
    int flags = KF_HIERARCHY | KF_MORPH | KF_TRANSFORM;
    uint8_t last = size ? data[size - 1] : 0;
    if (last & 1) flags |= KF_NORMALS;
    if (last & 2) flags |= KF_SLERP;
    if (last & 4) flags |= KF_MORPH_NORMALS;
    if (last & 8) flags |= KF_RECALC_NORMALS;
    return flags;
}

kf_camera* pick_camera(const kf_scene* scene) {
    if (kf_camera* c = kf_as_camera(kf_find(KF_CAMERA, "Camera01"))) return c;
    for (const kf_world_node* n = scene->world_head; n; n = n->next)
        if (kf_camera* c = kf_as_camera(n)) return c;
    return nullptr;
}

float read_corners(const kf_scene* scene) {
    float sum = 0;
    for (const kf_world_node* n = scene->world_head; n; n = n->next) {
        const kf_object* o = kf_as_object(n);
        if (!o) continue;
        for (int f = 0; f < o->face_count; ++f) {
            const kf_face& face = o->faces[f];
            for (int corner : {face.a, face.b, face.c})
                sum += o->vertices[corner].camera_position.z;
        }
    }
    return sum;
}

void evaluate(kf_scene* scene) {
    kf_set_active(scene);
    kf_camera* camera = pick_camera(scene);
    if (camera) {
        camera->width = 320;
        camera->height = 200;
        camera->aspect = 0.75f;
    }
    kf_set_camera(camera);
    float start = 0, end = 0;
    kf_get_frames(&start, &end);
    volatile float sink = 0;
    for (float frame : {start, start + 0.5f, (start + end) / 2, end - 1}) {
        kf_set_frame(frame);
        kf_update();
        sink = sink + read_corners(scene);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kf_init(options_for(data, size));
    kf_scene* scene = nullptr;
    if (kf_alloc_scene(&scene) != KF_OK) return 0;
    if (kf_load_world_data(data, size, scene) == KF_OK &&
        kf_load_motion_data(data, size, scene) == KF_OK)
        evaluate(scene);
    kf_free_scene(scene);
    return 0;
}
