// houp: a scene played backwards as a shaky grey wireframe whose width
// breathes, beside five rows of random digits in red.
#pragma once

#include "parts/oscillator.h"
#include "parts/scene_part.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"
#include "platform/text/text.h"

#include <cstdint>

namespace vilora {

class houp : public scene_part {
public:
    explicit houp(display_device* display);
    // `mode` is ignored.
    void run(display_device* display, int32_t mode, int32_t x, int32_t y);

    // State shared by every houp from program start; never reset by the show.
    struct class_statics {
        // Horizontal scale of the projection, in float steps of 0.2 from 2.0:
        // up to 3.8 (the step past 4.0 is taken back in the same call) and
        // down to 1.8, one step below 2.0, before it rises again.
        oscillator stretch{2.0f, true, 0.2f, 2.0f, 4.0f, false};
    };
    static class_statics statics;
    // Back to the program-start values (tests run many parts in one program).
    static void reset_statics() { statics = {}; }

    picture_list pictures; // "glit.bmp", the backdrop
    font* digit_font = nullptr;

private:
    void draw_wireframe(display_device* display, int32_t x, int32_t y);
    void draw_shaken_line(const raster_target& raster, const scene_point& from,
                          const scene_point& to, uint16_t colour) const;
    void draw_digit_rows(display_device* display, int32_t x, int32_t y) const;
};

} // namespace vilora
