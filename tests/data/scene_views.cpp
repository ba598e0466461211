#include "tests/data/scene_views.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vilora::testing {
namespace {

screen_point centred(float cx, float cy, const kf_camera& c, const kf_vector& p) {
    return {c.persp_x * p.x / p.z + cx, cy - c.persp_y * p.y / p.z, p.z};
}

screen_point at_160_90(const kf_camera& c, const kf_vector& p) {
    return centred(160, 90, c, p);
}
screen_point at_160_100(const kf_camera& c, const kf_vector& p) {
    return centred(160, 100, c, p);
}
screen_point at_120_100(const kf_camera& c, const kf_vector& p) {
    return centred(120, 100, c, p);
}

// houp at the middle of its breathing, stretch 3.
screen_point stretched(const kf_camera& c, const kf_vector& p) {
    return {(c.persp_x * p.x / p.z + 50) * 3, 90 - c.persp_y * p.y / p.z, p.z};
}

// oneco0: zoomed in, 100 left and 50 down.
screen_point zoomed(const kf_camera& c, const kf_vector& p) {
    return {(c.persp_x + 200) * p.x / p.z + 60, 140 - (c.persp_y + 200) * p.y / p.z, p.z};
}

// oneco1: wide angle.
screen_point widened(const kf_camera& c, const kf_vector& p) {
    return {(c.persp_x - 200) * p.x / p.z + 160, 90 - (c.persp_y - 200) * p.y / p.z, p.z};
}

} // namespace

const std::vector<scene_view>& scene_views() {
    static const std::vector<scene_view> views = {
        {"otitulek", "hedge.3ds", 320, 0, 30, 2, false, 0, true, at_160_100},
        {"oskred0", "vosaq.3ds", 320, 0, -1, 2, false, 0, true, at_120_100},
        {"odistort", "vosaq.3ds", 220, 0, -1, 1, false, 0, true, at_120_100},
        {"ogreety", "psyki.3ds", 220, 0, -1, 1, false, 0, true, at_160_90},
        {"houp", "psyki.3ds", 220, 0, -1, 1, false, 0, true, stretched},
        {"oneco0", "sperm.3ds", 320, 0, -1, 1, false, 0, false, zoomed},
        {"oneco1", "hrouda2.3ds", 320, 60, -1, 3, false, 0, true, widened},
        {"oneco4", "sroub2.3ds", 220, 0, -1, 16, true, 0, true, at_160_90},
        {"oland", "surfonsurf.3ds", 220, 100, -1, 3, false, 12, false, at_160_90},
    };
    return views;
}

namespace {

bool near_screen(const screen_point& s) {
    return s.x >= -64 && s.x <= 384 && s.y >= -64 && s.y <= 264;
}

} // namespace

view_census census(const std::string& file, const scene_view& view, kf_status* status) {
    view_census out;
    kf_init(13);
    kf_scene* scene = nullptr;
    kf_alloc_scene(&scene);
    *status = kf_load_world(file.c_str(), scene);
    if (*status == KF_OK) *status = kf_load_motion(file.c_str(), scene);
    if (*status != KF_OK) {
        kf_free_scene(scene);
        return out;
    }
    kf_set_active(scene);
    kf_world_node* entry = nullptr;
    kf_by_name("Camera01", &entry);
    if (!entry) kf_by_name("rolli", &entry);
    kf_camera* camera = kf_as_camera(entry);
    if (!camera) {
        *status = KF_UNDEFINED_NAME;
        kf_free_scene(scene);
        return out;
    }
    camera->width = view.camera_width;
    camera->height = 200;
    camera->aspect = 0.75f;
    float start = 0, end = 0;
    kf_get_frames(&start, &end);
    kf_set_camera(camera);
    const float last = view.last_frame < 0 ? end : view.last_frame;
    for (float frame = std::max(view.first_frame, start); frame < last; frame += 1) {
        kf_set_frame(frame);
        kf_update();
        ++out.frames;
        long faces = 0, good = 0;
        int meshes = 0, drawn = 0;
        for (kf_world_node* n = scene->world_head; n; n = n->next) {
            kf_object* o = kf_as_object(n);
            if (!o) continue;
            ++meshes;
            const int count = o->face_count / view.face_divisor;
            if (count > 0) ++drawn;
            for (int f = 0; f < count; ++f) {
                const kf_face& face = o->faces[f];
                const kf_vector* corners[3] = {&o->vertices[face.a].camera_position,
                                               &o->vertices[face.b].camera_position,
                                               &o->vertices[face.c].camera_position};
                const int used = view.first_corner_only ? 1 : 3;
                bool front = true, near = true;
                for (int k = 0; k < 3; ++k)
                    if (corners[k]->z < std::max(view.near_depth, 1e-3f)) front = false;
                if (view.near_depth > 0 && !front) continue; // the part skips these faces
                ++faces;
                for (int k = 0; k < used && front; ++k)
                    near = near && near_screen(view.project(*camera, *corners[k]));
                if (front) {
                    ++out.in_front;
                    if (corners[2]->z >= 20 && corners[2]->z <= 250) ++out.depth_in_range;
                }
                if (front && near) {
                    ++out.on_screen;
                    ++good;
                }
            }
        }
        out.faces += faces;
        out.meshes = meshes;
        out.drawn_meshes = drawn;
        if (faces > 0)
            out.worst_frame = std::min(out.worst_frame, static_cast<double>(good) / faces);
        else
            out.worst_frame = 0;
    }
    kf_free_scene(scene);
    return out;
}

} // namespace vilora::testing
