// oneco4: a screw scene used only as moving points. Over a backdrop with a
// dotted olive stripe and a flickering picture, a small picture is blended at
// the first corner of every sixteenth face, more opaque the deeper the face
// lies; mode 1 adds vertical grey noise.
#pragma once

#include "parts/scene_part.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"
#include "platform/text/text.h"

#include <cstdint>

namespace vilora {

class oneco4 : public scene_part {
public:
    explicit oneco4(display_device* display);
    // 0: as described; 1: with 50 columns of grey noise.
    void run(display_device* display, int32_t mode, int32_t x, int32_t y);

    // "jug.bmp" (backdrop), then "x0.bmp" .. "x11.bmp" at indices 1 .. 12:
    // even numbers (odd indices) are the sprites, odd numbers the flickering
    // picture. None colour-keyed.
    picture_list pictures;
    font* unused_font = nullptr; // created as every part's font is, never drawn with

private:
    void draw_stripe(display_device* display, int32_t x, int32_t y);
    void draw_sprites(display_device* display, int32_t x, int32_t y);
    void draw_noise_columns(display_device* display, int32_t x, int32_t y);
};

} // namespace vilora
