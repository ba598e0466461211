#include "tests/data/scene_views.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <string_view>
#include <utility>

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

bool on_picture(const screen_point& s) {
    return s.x >= 0 && s.x < 320 && s.y >= 0 && s.y < 200;
}

// houp's subject is the running dog, its meshes named ...1; the greetings'
// is the sitting one. Each waits out of the other's shot.
bool dog_one(const char* mesh) {
    const std::string name = mesh;
    return !name.empty() && name.back() == '1';
}
bool not_dog_one(const char* mesh) {
    return !dog_one(mesh);
}
// The title's flat pass shows the hedgehog; its outline is for the line pass
// alone and lies flat on the screen there, and so does its eye.
bool not_outline(const char* mesh) {
    return !std::string_view(mesh).starts_with("Outline");
}

} // namespace

const std::vector<scene_view>& scene_views() {
    // Depth windows: grey z (otitulek's flats, the credits' wireframe copy,
    // oneco1) up to 255; green or red z / 2 up to 510; houp's grey z / 3 is
    // held at 100 from 300 on, near black below 60; oneco4's blend level
    // z / 3 up to 765.
    static const std::vector<scene_view> views = {
        {"otitulek", "hedge.3ds", 320, 0, 30, 2, false, 0, 60, 255, at_160_100, not_outline},
        {"oskred0", "vosaq.3ds", 320, 0, -1, 2, false, 0, 60, 255, at_120_100},
        {"odistort", "vosaq.3ds", 220, 0, -1, 1, false, 0, 60, 510, at_120_100},
        {"ogreety", "psyki.3ds", 220, 1, 180, 1, false, 0, 60, 510, at_160_90, not_dog_one},
        {"houp", "psyki.3ds", 220, 280, -1, 1, false, 0, 60, 300, stretched, dog_one},
        {"oneco0", "sperm.3ds", 320, 0, -1, 1, false, 0, 0, 0, zoomed},
        {"oneco1", "hrouda2.3ds", 320, 60, -1, 3, false, 0, 60, 255, widened},
        {"oneco4", "sroub2.3ds", 220, 0, -1, 16, true, 0, 300, 765, at_160_90},
        {"oland", "surfonsurf.3ds", 220, 100, -1, 3, false, 12, 0, 0, at_160_90},
    };
    return views;
}

const scene_view& view_of(const std::string& part) {
    for (const scene_view& v : scene_views())
        if (v.part == part) return v;
    return scene_views().front();
}

kf_status walk_view(const std::string& file, const scene_view& view,
                    const std::function<void(float frame, const std::vector<drawn_face>&)>& visit) {
    kf_init(13);
    kf_scene* scene = nullptr;
    kf_alloc_scene(&scene);
    kf_status status = kf_load_world(file.c_str(), scene);
    if (status == KF_OK) status = kf_load_motion(file.c_str(), scene);
    kf_set_active(scene);
    kf_world_node* entry = nullptr;
    if (status == KF_OK) kf_by_name("Camera01", &entry);
    if (status == KF_OK && !entry) kf_by_name("rolli", &entry);
    kf_camera* camera = status == KF_OK ? kf_as_camera(entry) : nullptr;
    if (status == KF_OK && !camera) status = KF_UNDEFINED_NAME;
    if (status != KF_OK) {
        kf_free_scene(scene);
        return status;
    }
    camera->width = view.camera_width;
    camera->height = 200;
    camera->aspect = 0.75f;
    float start = 0, end = 0;
    kf_get_frames(&start, &end);
    kf_set_camera(camera);
    const float last = view.last_frame < 0 ? end : view.last_frame;
    std::vector<drawn_face> faces;
    for (float frame = std::max(view.first_frame, start); frame < last; frame += 1) {
        kf_set_frame(frame);
        kf_update();
        faces.clear();
        for (kf_world_node* n = scene->world_head; n; n = n->next) {
            const kf_object* o = kf_as_object(n);
            if (!o) continue;
            for (int f = 0; f < o->face_count / view.face_divisor; ++f) {
                const kf_face& face = o->faces[f];
                const kf_vector* corners[3] = {&o->vertices[face.a].camera_position,
                                               &o->vertices[face.b].camera_position,
                                               &o->vertices[face.c].camera_position};
                drawn_face d{o, f, {}, true};
                for (int k = 0; k < 3; ++k) {
                    if (corners[k]->z < std::max(view.near_depth, 1e-3f)) d.in_front = false;
                    d.corner[k] = view.project(*camera, *corners[k]);
                }
                if (view.near_depth > 0 && !d.in_front) continue; // the part skips these faces
                faces.push_back(d);
            }
        }
        visit(frame, faces);
    }
    kf_free_scene(scene);
    return KF_OK;
}

view_census census(const std::string& file, const scene_view& view, kf_status* status) {
    view_census out;
    std::map<std::pair<const kf_object*, int>, screen_point> before;
    double moved = 0;
    long matched = 0;
    std::map<const kf_object*, int> meshes;
    const int used = view.first_corner_only ? 1 : 3;
    *status = walk_view(file, view, [&](float, const std::vector<drawn_face>& faces) {
        ++out.frames;
        long good = 0, drawn = 0;
        float x0 = 320, x1 = 0, y0 = 200, y1 = 0;
        std::map<std::pair<const kf_object*, int>, screen_point> now;
        for (const drawn_face& f : faces) {
            if (view.subject && !view.subject(f.mesh->name)) continue;
            ++out.faces, ++drawn;
            ++meshes[f.mesh];
            if (!f.in_front) continue;
            ++out.in_front;
            const float depth = f.corner[2].z;
            if (depth >= view.depth_low && depth <= view.depth_high) ++out.depth_in_window;
            bool seen = false;
            for (int k = 0; k < used; ++k) {
                const screen_point& s = f.corner[k];
                if (!on_picture(s)) continue;
                seen = true;
                x0 = std::min(x0, s.x), x1 = std::max(x1, s.x);
                y0 = std::min(y0, s.y), y1 = std::max(y1, s.y);
            }
            if (seen) ++out.on_picture, ++good;
            const auto key = std::make_pair(f.mesh, f.index);
            now[key] = f.corner[0];
            if (const auto it = before.find(key); it != before.end() && seen) {
                // Held to 50: a corner sweeping past the camera would swamp the mean.
                moved += std::min(
                    50.0f, std::hypot(f.corner[0].x - it->second.x, f.corner[0].y - it->second.y));
                ++matched;
            }
        }
        before = std::move(now);
        if (x1 > x0) out.width += x1 - x0, out.height += y1 - y0;
        out.worst_frame =
            std::min(out.worst_frame, drawn == 0 ? 0.0 : double(good) / double(drawn));
    });
    if (out.frames > 0) out.width /= out.frames, out.height /= out.frames;
    if (matched > 0) out.motion = moved / static_cast<double>(matched);
    out.drawn_meshes = static_cast<int>(meshes.size());
    return out;
}

} // namespace vilora::testing
