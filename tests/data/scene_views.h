// How each scene part looks at its scene: the camera width, the frames it
// plays, the faces it draws and its projection, so that the tests can check
// that the default scenes show their meshes to the parts.
#pragma once

#include "scene3d/kf.h"

#include <string>
#include <vector>

namespace vilora::testing {

struct screen_point {
    float x, y, z;
};

struct scene_view {
    std::string part;
    std::string scene;
    float camera_width;
    float first_frame, last_frame; // last_frame < 0: the scene's end frame
    int face_divisor;              // draws faces 0 .. count / divisor - 1
    bool first_corner_only;        // oneco4 uses corner a alone
    float near_depth;              // faces with a corner nearer than this are skipped
    bool shades_by_depth;          // colours or blend levels come from the depth
    // Screen position relative to the picture area of a camera-space point.
    screen_point (*project)(const kf_camera& camera, const kf_vector& p);
};

const std::vector<scene_view>& scene_views();

// What a part's camera sees over its frames.
struct view_census {
    int frames = 0;
    long faces = 0;          // faces the part draws, over all frames
    long in_front = 0;       // of those, with every corner in front of the camera
    long on_screen = 0;      // of those, every corner within one screen of the picture area
    long depth_in_range = 0; // of those in front, depth of corner c in 20 .. 250
    double worst_frame = 1;  // the lowest per-frame share of faces in front and on screen
    int meshes = 0;
    int drawn_meshes = 0; // meshes that contribute faces
};

// Loads the file (our reader), plays the part's frames and counts; status
// of the load in `status`.
view_census census(const std::string& file, const scene_view& view, kf_status* status);

} // namespace vilora::testing
