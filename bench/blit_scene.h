// What the blit benchmarks draw: the show's screen (320 x 240, 5-6-5, the
// picture area letterboxed at row 20) as the engine's screen, with a 320 x 200
// picture (keyed and not), a 128 x 128 logo to turn, a 128 x 128 flare whose
// alpha map is mostly 0, and 1000 small triangles; made once per run.
#pragma once

#include "pictures/picture_list.h"
#include "platform/display/display_device.h"
#include "platform/window/app_window.h"

#include <cstdint>
#include <vector>

namespace vilora::bench {

inline constexpr int flare_side = 128;
inline constexpr int logo_side = 128;
// The flare is a soft disc of this radius in the middle of its square.
inline constexpr double flare_radius = 40.0;

struct blit_scene {
    app_window window;
    display_device display;
    picture_list pictures;
    int32_t backdrop = -1, keyed = -1, logo = -1, flare = -1;

    surface& picture(int32_t index) { return *pictures.picture_surface(index); }
    surface& back() { return *display.back; }
};

blit_scene& scene();

// Picture-area coordinates, up to 16 pixels across.
struct small_triangle {
    float x[3];
    float y[3];
};
const std::vector<small_triangle>& small_triangles_of_the_scene();

} // namespace vilora::bench
