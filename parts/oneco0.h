// oneco0: over a backdrop a keyed picture spins at five times its size about
// the picture area's top-left corner, and a scene rocking back and forth is
// drawn as white striped triangles with one black edge, zoomed in and moved
// 100 pixels left and 50 down; every eleventh face throws a sparse grey scan
// line to the right edge.
#pragma once

#include "parts/scene_part.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"

#include <cstdint>

namespace vilora {

class oneco0 : public scene_part {
public:
    explicit oneco0(display_device* display);
    // `mode` is ignored.
    void run(display_device* display, int32_t mode, int32_t x, int32_t y);

    // State shared by every oneco0 from program start; never reset by the show.
    struct class_statics {
        int32_t spin = 0;       // degrees, 1..360 once running, then 0
        bool rising = true;     // direction of `frame`
        uint8_t scan_count = 0; // faces since the last scan line, 0..10
    };
    static class_statics statics;
    // Back to the program-start values (tests run many parts in one program).
    static void reset_statics() { statics = {}; }

    // "housena.bmp" (backdrop), "mirror3.bmp" (keyed, spinning).
    picture_list pictures;

private:
    void draw_scene(display_device* display, int32_t x, int32_t y);
    void draw_scan_line(display_device* display, int32_t x, int32_t y) const;
};

} // namespace vilora
