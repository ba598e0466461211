// oland: a flight over a field as a grey wireframe on black, each face the
// brighter the lower it lies on the screen, a flare riding on the first
// visible face, green noise streaks, the frame picture on top and the caption
// "flying over mushroom fields".
#pragma once

#include "parts/scene_part.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"
#include "platform/text/text.h"

#include <cstdint>

namespace vilora {

class oland : public scene_part {
public:
    explicit oland(display_device* display);
    // `mode` is ignored.
    void run(display_device* display, int32_t mode, int32_t x, int32_t y);

    // State shared by every oland from program start; never reset by the show.
    struct class_statics {
        bool rising = true; // direction of `frame`
    };
    static class_statics statics;
    // Back to the program-start values (tests run many parts in one program).
    static void reset_statics() { statics = {}; }

    // "hool.bmp" (keyed frame picture), "flare1.psd" (alpha-mapped flare).
    picture_list pictures;
    font* caption_font = nullptr;
    // Column of the flare, relative to the picture area: corner b of the
    // first face drawn in the last frame; -1 when none was.
    int32_t flare_x = -1;

    static constexpr const char* caption = "flying over mushroom fields";

private:
    void draw_wireframe(display_device* display, int32_t x, int32_t y);
    void draw_streaks(display_device* display, int32_t x, int32_t y) const;
};

} // namespace vilora
