// oneco3: a picture bent by two moving displacement maps over a backdrop, a
// column of sprites climbing at the right edge and a flickering caption.
#pragma once

#include "parts/displacement_pass.h"
#include "parts/effect_part.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"
#include "platform/text/text.h"

#include <cstdint>

namespace vilora {

class oneco3 : public effect_part {
public:
    explicit oneco3(display_device* display);
    // `mode` is ignored.
    void run(display_device* display, int32_t mode, int32_t x, int32_t y);

    // State shared by every oneco3 from program start; never reset by the show.
    struct class_statics {
        // P, Q (half the column into the row map), R and S.
        displacement_motion motion{0.0f, 2.0f, 10.0f, 8.0f, 50.0f, 2.0f};
        int32_t climb = 0;        // sprite column phase, 0..35
        int32_t clean_frames = 0; // the caption's clean counter
    };
    static class_statics statics;
    // Back to the program-start values (tests run many parts in one program).
    static void reset_statics() { statics = {}; }

    picture_list maps;    // column map, row map, source picture
    picture_list sprites; // the backdrop, the climbing sprite
    font* caption_font = nullptr;

private:
    void climb_sprites(display_device* display, int32_t x, int32_t y);
};

} // namespace vilora
