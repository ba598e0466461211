// otitulek, the title: over one of four flickering title pictures the hedge
// scene circles as grey solid triangles and, at twice the size with each
// corner pulled to a centre of its own, runs as a grey wireframe; the mode
// says how much of it is drawn, how much noise goes over it and whether the
// mushroom picture fades in.
#pragma once

#include "parts/scene_part.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"

#include <cstdint>

namespace vilora {

class otitulek : public scene_part {
public:
    explicit otitulek(display_device* display);
    // 0: picture and circling scene; 1: with 50 noise lines in one frame of
    // ten; 2: and the wireframe; 3: with 200 noise lines every frame; 4 (and
    // above 5): and the mushroom fading in; 5: the title picture alone.
    void run(display_device* display, int32_t mode, int32_t x, int32_t y);

    // `frame` swings between 0 and last_frame (30), the scene shown backwards.
    bool rising = true;
    int32_t angle = 0;       // circling angle in degrees, 1..360 once running
    int32_t wire_frame = 0;  // scene frame of the wireframe, 0..30
    int32_t wire_delay = 10; // calls until wire_frame moves next
    bool wire_rising = true;
    int32_t fade = 0; // level of the mushroom picture, at most 183

    picture_list tops;     // "top0.bmp" .. "top3.bmp"
    picture_list mushroom; // "mushk.bmp"

private:
    void draw_solid_pass(display_device* display, int32_t x, int32_t y);
    void step_wire_frame();
    void draw_wire_pass(display_device* display, int32_t mode, int32_t x, int32_t y);
    void draw_noise(display_device* display, int32_t mode, int32_t x, int32_t y);
};

} // namespace vilora
