// oneco2: a picture spinning and breathing in size, a keyed overlay over it,
// and a large picture blended in while it circles, at a flickering level.
#pragma once

#include "parts/effect_part.h"
#include "parts/oscillator.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"

#include <cstdint>

namespace vilora {

class oneco2 : public effect_part {
public:
    explicit oneco2(display_device* display);
    // `mode` is ignored.
    void run(display_device* display, int32_t mode, int32_t x, int32_t y);

    // State shared by every oneco2 from program start; never reset by the show.
    struct class_statics {
        int32_t spin = 0;                              // degrees, 2..360 once running
        oscillator zoom{2.0f, true, 0.2f, 2.0f, 5.0f}; // scale of the spinning picture
    };
    static class_statics statics;
    // Back to the program-start values (tests run many parts in one program).
    static void reset_statics() { statics = {}; }

    // "majic.bmp" (spinning), "majicbig.bmp" (blended), "mex.bmp" (keyed overlay).
    picture_list pictures;
};

} // namespace vilora
