// obw: three picture effects picked by mode. 0 bends a picture through two
// moving displacement maps, 1 scrolls five captions over a picture with grey
// noise, 2 eats a picture away with black noise lines, more with every frame.
#pragma once

#include "parts/displacement_pass.h"
#include "parts/effect_part.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"
#include "platform/text/text.h"

#include <array>
#include <cstdint>

namespace vilora {

class obw : public effect_part {
public:
    explicit obw(display_device* display);
    void run(display_device* display, int32_t mode, int32_t x, int32_t y);

    // State shared by every obw from program start; the show never resets it,
    // so each stretch of a mode goes on where the last one stopped.
    struct class_statics {
        // Oscillators 1 to 4 of the mode-0 bend.
        displacement_motion motion{200.0f, 2.0f, 50.0f, 8.0f, 250.0f, 1.0f};
        std::array<int32_t, 5> caption_x{}; // set by the constructor
        int32_t noise_count = 0;            // mode-2 frames drawn
    };
    static class_statics statics;
    // Back to the program-start values (tests run many parts in one program).
    static void reset_statics() { statics = {}; }

    picture_list maps;      // row map, column map, source picture
    picture_list backdrops; // one per mode
    font* caption_font = nullptr;

private:
    void bend_picture(display_device* display, int32_t x, int32_t y);
    void scroll_captions(display_device* display, int32_t x, int32_t y);
    void eat_picture(display_device* display, int32_t x, int32_t y);
};

} // namespace vilora
