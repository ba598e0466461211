// oneco1, the test mode's part: four backdrops in turn, a scene rocking
// through the later part of its animation as a wide-angle grey wireframe, a
// caption rolling down the screen in repeated rows, and black bars over
// whatever lies outside the picture area.
#pragma once

#include "parts/scene_part.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"
#include "platform/text/text.h"

#include <cstdint>

namespace vilora {

class oneco1 : public scene_part {
public:
    explicit oneco1(display_device* display);
    // `mode` is ignored.
    void run(display_device* display, int32_t mode, int32_t x, int32_t y);

    // State shared by every oneco1 from program start; never reset by the show.
    struct class_statics {
        uint8_t backdrop = 0; // the backdrop last drawn: 1, 2, 3, 0, 1, ... once running
        bool rising = true;   // direction of `frame`
        int32_t roll = 0;     // rows the caption has rolled down, 0..20
    };
    static class_statics statics;
    // Back to the program-start values (tests run many parts in one program).
    static void reset_statics() { statics = {}; }

    font* caption_font = nullptr;
    picture_list pictures; // "noon0.bmp" .. "noon3.bmp"

    // 24 characters.
    static constexpr const char* caption = "the clod rolls on and on";

private:
    void draw_wireframe(display_device* display, int32_t x, int32_t y);
    void draw_caption_rows(display_device* display, int32_t x, int32_t y) const;
};

} // namespace vilora
