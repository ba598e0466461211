// odistort: over a backdrop a looping scene as a green wireframe, then three
// small solid copies of it at 0.6 scale scrolling right through a band, each
// labelled "one", "two" or "three".
#pragma once

#include "parts/scene_part.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"
#include "platform/text/text.h"

#include <array>
#include <cstdint>

namespace vilora {

class odistort : public scene_part {
public:
    explicit odistort(display_device* display);
    // `mode` is ignored.
    void run(display_device* display, int32_t mode, int32_t x, int32_t y);

    // State shared by every odistort from program start; never reset by the show.
    struct class_statics {
        // Left edges of the three copies, 107 pixels apart, 4 more each frame;
        // a value above 320 comes back 320 lower.
        std::array<int32_t, 3> scroll{0, 107, 214};
    };
    static class_statics statics;
    // Back to the program-start values (tests run many parts in one program).
    static void reset_statics() { statics = {}; }

    picture_list pictures; // "lifelife.bmp", the backdrop
    font* label_font = nullptr;

private:
    void draw_wireframe(display_device* display, int32_t x, int32_t y);
    void draw_copies(display_device* display, int32_t x, int32_t y);
};

} // namespace vilora
