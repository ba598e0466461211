// oskred0, the credits: over the credits backdrop a looping scene in green
// solid triangles with a jittering grey wireframe of part of it at twice the
// size, and, by mode, one of three credit pictures sliding up into place or
// falling away ever faster.
#pragma once

#include "parts/scene_part.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"

#include <array>
#include <cstdint>

namespace vilora {

class oskred0 : public scene_part {
public:
    explicit oskred0(display_device* display);
    // Modes 2, 3, 4 bring credit picture 1, 2, 3 up one step; 5, 6, 7 let it
    // fall one step; any other mode shows no credit picture.
    void run(display_device* display, int32_t mode, int32_t x, int32_t y);

    // Fall step counts of credit pictures 1, 2, 3: each lies step_sum(drop)
    // pixels below its place; never below 0.
    std::array<int32_t, 3> drop{20, 20, 20};

    // "credits.bmp" (backdrop), "cred-code.bmp", "cred-music.bmp", "cred-3d.bmp".
    picture_list pictures;

private:
    void draw_credit(display_device* display, int32_t mode, int32_t x, int32_t y);
    void draw_scene(display_device* display, int32_t x, int32_t y);
};

} // namespace vilora
