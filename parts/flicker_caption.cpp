#include "parts/flicker_caption.h"

#include "engine/engine.h"

#include <string>

namespace vilora {

void draw_flicker_caption(surface* back, const font* caption_font, const char* text,
                          int32_t& clean_frames, int32_t x, int32_t y) {
    if (clean_frames > 0) --clean_frames;
    if (random_int(10) == 1 || clean_frames > 0) {
        draw_text(back, x, y, caption_clean_colour, caption_font, "%s", text);
        if (clean_frames == 0) clean_frames = 3;
        return;
    }
    std::string garbled(text);
    for (char& c : garbled) c = static_cast<char>(c + random_int(5));
    draw_text(back, x, y, caption_garbled_colour, caption_font, "%s", garbled.c_str());
}

} // namespace vilora
