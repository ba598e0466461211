// pinkous: a picture bent by two moving displacement maps, with a window
// travelling across it that shows one of the maps instead, four boxes
// scrolling to the left and a flickering caption.
#pragma once

#include "parts/displacement_pass.h"
#include "parts/effect_part.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"
#include "platform/text/text.h"

#include <array>
#include <cstdint>

namespace vilora {

class pinkous : public effect_part {
public:
    // Opens "data\robot1.782" for the two maps and then "data\uganda4.782" for
    // everything else; the second stays open for the parts built after it.
    explicit pinkous(display_device* display);
    // `mode` is ignored.
    void run(display_device* display, int32_t mode, int32_t x, int32_t y);

    // State shared by every pinkous from program start; never reset by the show.
    struct class_statics {
        std::array<int32_t, 4> box_x{0, 100, 200, 300}; // box 3 also places the window
        // P, Q (half the column into the row map), R and S.
        displacement_motion motion{0.0f, 2.0f, 10.0f, 8.0f, 50.0f, 2.0f};
        int32_t clean_frames = 0; // the caption's clean counter
    };
    static class_statics statics;
    // Back to the program-start values (tests run many parts in one program).
    static void reset_statics() { statics = {}; }

    picture_list maps;    // row map, column map, source picture
    picture_list sprites; // the backdrop, the keyed box
    font* caption_font = nullptr;
};

} // namespace vilora
