// How each scene part looks at its scene: the camera width, the frames it
// plays in the show, the faces it draws, its projection and the depths its
// colour rule turns into light and shade, so that the tests can check that
// the default scenes show their subjects to the parts.
#pragma once

#include "scene3d/kf.h"

#include <functional>
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
    float first_frame, last_frame; // the frames it plays; last_frame < 0: the scene's end frame
    int face_divisor;              // draws faces 0 .. count / divisor - 1
    bool first_corner_only;        // oneco4 uses corner a alone
    float near_depth;              // faces with a corner nearer than this are skipped
    // Depths of corner c that its colour rule turns into visible shades
    // without running past a channel's 255; depth_high 0: no depth colour.
    float depth_low, depth_high;
    // Screen position relative to the picture area of a camera-space point.
    screen_point (*project)(const kf_camera& camera, const kf_vector& p);
};

const std::vector<scene_view>& scene_views();
const scene_view& view_of(const std::string& part);

// A face the part draws: its mesh, its index and its corners as projected.
struct drawn_face {
    const kf_object* mesh;
    int index;
    screen_point corner[3];
    bool in_front; // every corner in front of the camera
};

// Loads the file (our reader) and plays the part's frames, handing every
// frame's drawn faces to `visit`. Returns the load's status.
kf_status walk_view(const std::string& file, const scene_view& view,
                    const std::function<void(float frame, const std::vector<drawn_face>&)>& visit);

// What a part's camera sees over its frames.
struct view_census {
    int frames = 0;
    long faces = 0;               // faces the part draws, over all frames
    long in_front = 0;            // of those, with every corner in front of the camera
    long on_picture = 0;          // of those in front, with a used corner inside the picture area
    long depth_in_window = 0;     // of those in front, corner c's depth in the view's window
    double worst_frame = 1;       // the lowest per-frame share of faces in front and on the picture
    double width = 0, height = 0; // mean size of the box round the used corners on the picture
    double motion = 0;            // mean movement of a used corner from frame to frame, pixels
    int drawn_meshes = 0;         // meshes that contribute faces
};

view_census census(const std::string& file, const scene_view& view, kf_status* status);

} // namespace vilora::testing
