// ogreety, the greetings: a large picture turns behind everything. Mode 1
// draws a wireframe scene over it and hangs a speech bubble on one corner of
// the moving mesh, with a greeting name that changes every fifth frame; mode 0
// turns the picture the other way and shows a second picture during half of
// each turn.
#pragma once

#include "parts/scene_part.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"
#include "platform/text/text.h"

#include <array>
#include <cstdint>

namespace vilora {

class ogreety : public scene_part {
public:
    explicit ogreety(display_device* display);
    void run(display_device* display, int32_t mode, int32_t x, int32_t y);

    // State shared by every ogreety from program start; never reset by the show.
    struct class_statics {
        int32_t name_timer = 5; // mode-1 calls until the next name is drawn
    };
    static class_statics statics;
    // Back to the program-start values (tests run many parts in one program).
    static void reset_statics() { statics = {}; }

    // "winditup.bmp" (turning), "carky.bmp", "hlask9.bmp", "ukaz.bmp" (the
    // bubble); the last three colour-keyed.
    picture_list pictures;
    int32_t angle = 0; // turn of picture 0 in degrees, kept in 0..360
    // Where the bubble hangs, relative to the picture area: corner a of face
    // 10 in the last mesh that has one, at the last mode-1 frame.
    int32_t bubble_x = 0;
    int32_t bubble_y = 0;
    font* name_font = nullptr;
    int32_t name_index = 0; // the name shown, into names

    static const std::array<const char*, 14> names;

private:
    void draw_wireframe(display_device* display, int32_t x, int32_t y);
    void draw_bubble(display_device* display, int32_t x, int32_t y);
};

} // namespace vilora
