#include "parts/scene_part.h"

#include "engine/data_files.h"
#include "library/file_problems.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"

#include <string>

namespace vilora {

namespace {

// Keyframer options of every scene part: hierarchy, morphing and the vertex
// transform, no normals.
constexpr int scene_part_options = KF_HIERARCHY | KF_MORPH | KF_TRANSFORM;

constexpr float camera_height = 200.0f;
constexpr float camera_aspect = 0.75f;

// The camera of a scene is "Camera01", or in some scenes "rolli". Only camera
// entries count: a mesh or light that happens to bear the name is no camera.
kf_world_node* find_camera_entry() {
    if (kf_world_node* entry = kf_find(KF_CAMERA, "Camera01")) return entry;
    return kf_find(KF_CAMERA, "rolli");
}

} // namespace

void ping_pong_step(float& value, bool& rising, float low, float high) {
    if (rising) {
        value += 1.0f;
        if (value > high) {
            rising = false;
            value -= 1.0f;
        }
    } else {
        value -= 1.0f;
        if (value < low) {
            value = low;
            rising = true;
        }
    }
}

scene_part::scene_part(const char* scene_file, float camera_width) {
    valid = false;
    point_count = -1;
    kf_init(scene_part_options);
    if (kf_alloc_scene(&scene) != KF_OK) return;
    const std::string path = data_file(scene_file);
    if (!file_exists(path.c_str())) return;
    // A file that does not read leaves an empty scene, which has no camera.
    // A keyframer section that does not read leaves the world without motion
    // (no node places a mesh or sets the camera's projection), and the part
    // valid: the loads' results do not decide it. That is said once.
    const kf_status world = kf_load_world(path.c_str(), scene);
    const kf_status motion = kf_load_motion(path.c_str(), scene);
    if (world == KF_OK && scene->world_head && motion != KF_OK) {
        const std::optional<file_problem> problem = take_file_problem();
        note_skipped_data(path, "keyframer section skipped" +
                                    (problem ? " (" + problem->cause + ")" : std::string()) +
                                    "; the part plays on without the scene's animation");
    }
    kf_set_active(scene);
    cursor = find_camera_entry();
    camera = kf_as_camera(cursor);
    if (!camera) {
        note_file_problem(path, "the scene has no camera");
        return;
    }
    camera->width = camera_width;
    camera->height = camera_height;
    camera->aspect = camera_aspect;
    kf_get_frames(&frame, &last_frame);
    kf_set_camera(camera);
    valid = true;
}

scene_part::~scene_part() {
    // Frees world and motion (and forgets them as the active scene and camera).
    kf_free_scene(scene);
}

bool scene_part::select_scene() {
    if (!camera) return false;
    kf_set_active(scene);
    kf_set_camera(camera);
    return true;
}

void scene_part::show_scene_frame(float scene_frame) {
    kf_set_frame(scene_frame);
    kf_update();
}

void scene_part::advance_frame() {
    frame += 1.0f;
    if (frame > last_frame) frame = 0.0f;
    show_scene_frame(frame);
}

mesh_pass_lock::~mesh_pass_lock() {
    if (locked_here_) display_->back->unlock();
}

const raster_target& mesh_pass_lock::hold() {
    if (target_.ok() || !display_ || !display_->back) return target_;
    surface& back = *display_->back;
    const bool was_locked = (back.flags & surface_locked) != 0;
    if (back.lock() == 0 && !was_locked) locked_here_ = true;
    target_ = raster_target_of(display_, x_, y_);
    return target_;
}

void scene_part::project_corner(const kf_vertex& corner, const scene_projection& projection) {
    vertex[0] = corner.camera_position.x;
    vertex[1] = corner.camera_position.y;
    vertex[2] = corner.camera_position.z;
    const int32_t slot = point_count + 1;
    const float px = (camera->persp_x + projection.persp_offset) * projection.persp_scale;
    const float py = (camera->persp_y + projection.persp_offset) * projection.persp_scale;
    const float sx = (px * vertex[0] / vertex[2] + projection.centre_x[slot]) * projection.shrink_x;
    const float sy = (projection.centre_y[slot] - py * vertex[1] / vertex[2]) * projection.shrink_y;
    points[slot].x = truncate_toward_zero(sx, -projection_limit, projection_limit);
    points[slot].y = truncate_toward_zero(sy, -projection_limit, projection_limit);
    points[slot].spare = depth_value(vertex[2]);
    point_count = slot;
}

void scene_part::draw_face_lines(const raster_target& raster, int32_t colour, int32_t dx,
                                 int32_t dy) const {
    const scene_point &a = points[0], &b = points[1], &c = points[2];
    draw_line(raster, a.x + dx, a.y + dy, b.x + dx, b.y + dy, colour);
    draw_line(raster, b.x + dx, b.y + dy, c.x + dx, c.y + dy, colour);
    draw_line(raster, a.x + dx, a.y + dy, c.x + dx, c.y + dy, colour);
}

namespace {

using triangle_filler = void (*)(const raster_target&, float, float, float, float, float, float,
                                 int32_t);

void fill_moved(triangle_filler fill, const raster_target& raster, const scene_point (&p)[3],
                int32_t colour, int32_t dx, int32_t dy) {
    fill(raster, static_cast<float>(p[0].x + dx), static_cast<float>(p[0].y + dy),
         static_cast<float>(p[1].x + dx), static_cast<float>(p[1].y + dy),
         static_cast<float>(p[2].x + dx), static_cast<float>(p[2].y + dy), colour);
}

} // namespace

void scene_part::fill_face(const raster_target& raster, int32_t colour, int32_t dx,
                           int32_t dy) const {
    fill_moved(fill_triangle, raster, points, colour, dx, dy);
}

void scene_part::fill_face_striped(const raster_target& raster, int32_t colour, int32_t dx,
                                   int32_t dy) const {
    fill_moved(fill_triangle_striped, raster, points, colour, dx, dy);
}

} // namespace vilora
