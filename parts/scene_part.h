// The framework of the effect parts that own a 3D scene: each builds its scene
// from one 3DS file, animates it with the keyframer, projects the camera-space
// corners of the faces it selects itself and draws them with the rasterisers.
// The library has one active scene and camera for the whole program, so every
// frame of such a part begins by selecting its own again.
#pragma once

#include "engine/numbers.h"
#include "parts/effect_part.h"
#include "raster/raster.h"
#include "scene3d/kf.h"

#include <cstdint>

namespace vilora {

class display_device;

// A projected corner, in pixels relative to the picture area, with the
// corner's depth z truncated toward zero (a depth test on whole units, such
// as "at least 12", is the same on the truncated value).
struct scene_point {
    int32_t x = 0;
    int32_t y = 0;
    int32_t spare = 0;
};

// The block of scene fields every scene part holds. Written by the framework
// while it builds and walks the scene; the parts read the corners and depth of
// the face being drawn and step `frame` by their own rule.
struct scene_state {
    kf_scene* scene = nullptr;       // owned
    kf_world_node* cursor = nullptr; // the camera's entry after construction; in run the mesh's
    kf_object* mesh = nullptr;       // the triangle mesh being drawn
    kf_camera* camera = nullptr;     // null when the scene has no usable camera
    float vertex[3] = {};            // camera-space x, y, z of the corner last projected
    int32_t face_index = 0;
    float last_frame = 0.0f;  // the scene's end frame (some parts overwrite it)
    float frame = 0.0f;       // the part's animation frame
    int32_t point_count = -1; // index of the last projected corner; -1 between faces
    scene_point points[3];    // corners a, b, c of the face being drawn
};

// How a pass maps camera space onto the picture area, in 32-bit float, with
// px = (persp_x + persp_offset) * persp_scale and py likewise:
//   x = truncate((px * x / z + centre_x[corner]) * shrink_x)
//   y = truncate((centre_y[corner] - py * y / z) * shrink_y)
// Most passes use one centre for all three corners and leave the rest alone.
struct scene_projection {
    float centre_x[3] = {160.0f, 160.0f, 160.0f};
    float centre_y[3] = {90.0f, 90.0f, 90.0f};
    float persp_scale = 1.0f;
    float persp_offset = 0.0f;
    float shrink_x = 1.0f;
    float shrink_y = 1.0f;
};

constexpr scene_projection centred_at(float centre_x, float centre_y, float persp_scale = 1.0f) {
    scene_projection p;
    for (int i = 0; i < 3; ++i) {
        p.centre_x[i] = centre_x;
        p.centre_y[i] = centre_y;
    }
    p.persp_scale = persp_scale;
    return p;
}

// Projected coordinates are held to +-projection_limit pixels. A corner on the
// camera plane (z = 0) divides by zero and one just behind or in front of it
// lands arbitrarily far away; converting such values to an integer is
// undefined, and no rasteriser position can hold them. A NaN (0 / 0) becomes 0.
inline constexpr int32_t projection_limit = 30000;

// A depth (or a multiple of one) as a colour component or a whole depth:
// truncated toward zero and held to +-2147483520, the largest float below
// 2^31, NaN giving 0.
inline constexpr int32_t depth_limit = 2147483520;
constexpr int32_t depth_value(float depth) {
    return truncate_toward_zero(depth, -depth_limit, depth_limit);
}

// One step of 1.0 of a frame swinging between `low` and `high`: the call that
// passes an end turns the direction and steps back, so each end value is
// used on two consecutive calls.
void ping_pong_step(float& value, bool& rising, float low, float high);

// The back surface locked for one pass over a scene's meshes, and the target
// the rasterisers draw into meanwhile. The surface is locked when the first
// mesh is drawn (a pass over no mesh leaves it alone) and unlocked when the
// pass ends, unless it was locked before. A null display locks nothing and
// draws nothing: the pass's blits lock the surface themselves.
class mesh_pass_lock {
public:
    mesh_pass_lock(display_device* display, int32_t x, int32_t y)
        : display_(display), x_(x), y_(y) {}
    ~mesh_pass_lock();
    mesh_pass_lock(const mesh_pass_lock&) = delete;
    mesh_pass_lock& operator=(const mesh_pass_lock&) = delete;

    // Locks the back surface unless it is held, and returns the target on it.
    const raster_target& hold();

private:
    display_device* display_;
    int32_t x_;
    int32_t y_;
    bool locked_here_ = false;
    raster_target target_;
};

class scene_part : public effect_part, protected scene_state {
public:
    // Releases the scene (world, then motion, then the record).
    ~scene_part() override;
    scene_part(const scene_part&) = delete;
    scene_part& operator=(const scene_part&) = delete;

    const scene_state& scene_fields() const { return *this; }

protected:
    // Builds the scene of `scene_file` (a show name such as "data\\hedge.3ds")
    // with a camera of that width, 200 lines high at aspect 0.75. `valid`
    // becomes true only when the file exists and has a camera "Camera01" or,
    // failing that, "rolli"; the part then loads its pictures.
    scene_part(const char* scene_file, float camera_width);

    // Makes this part's scene and camera the library's active ones; false
    // (and nothing is selected) when the part has no scene to draw.
    bool select_scene();
    // Sets the scene to `scene_frame` and evaluates it. A frame the library
    // refuses (outside start .. end, the end itself included) leaves the scene
    // at its previous frame, and the part draws on.
    static void show_scene_frame(float scene_frame);
    // The rule of most parts: frame + 1.0, past last_frame back to 0 (not to
    // the start frame); then the scene is shown at it.
    void advance_frame();

    // Calls visit(raster) once per triangle mesh, in world-list order, with
    // `cursor` and `mesh` set and the back surface locked for the pass (see
    // mesh_pass_lock); `raster` is the display's target with the picture area
    // at (x, y).
    template <typename Visit>
    void for_each_mesh(display_device* display, int32_t x, int32_t y, Visit&& visit);
    // Projects the corners of faces 0 .. face_count / divisor - 1 of `mesh`
    // into `points` and calls draw() after each face, with `face_index` and
    // `vertex` (corner c) set.
    template <typename Draw>
    void for_each_face(int32_t divisor, const scene_projection& projection, Draw&& draw);

    // The face in `points` with every corner moved by (dx, dy): the lines
    // a-b, b-c and a-c, or one triangle, flat or striped.
    void draw_face_lines(const raster_target& raster, int32_t colour, int32_t dx = 0,
                         int32_t dy = 0) const;
    void fill_face(const raster_target& raster, int32_t colour, int32_t dx = 0,
                   int32_t dy = 0) const;
    void fill_face_striped(const raster_target& raster, int32_t colour, int32_t dx = 0,
                           int32_t dy = 0) const;

private:
    void project_corner(const kf_vertex& corner, const scene_projection& projection);
};

template <typename Visit>
void scene_part::for_each_mesh(display_device* display, int32_t x, int32_t y, Visit&& visit) {
    mesh_pass_lock lock(display, x, y);
    for (cursor = scene->world_head; cursor; cursor = cursor->next) {
        mesh = kf_as_object(cursor);
        if (!mesh) continue;
        visit(lock.hold());
    }
    mesh = nullptr;
}

template <typename Draw>
void scene_part::for_each_face(int32_t divisor, const scene_projection& projection, Draw&& draw) {
    const int32_t faces = mesh->face_count / divisor;
    for (face_index = 0; face_index < faces; ++face_index) {
        const kf_face& face = mesh->faces[face_index];
        project_corner(mesh->vertices[face.a], projection);
        project_corner(mesh->vertices[face.b], projection);
        project_corner(mesh->vertices[face.c], projection);
        draw();
        point_count = -1;
    }
}

} // namespace vilora
