// A caption that flickers between its clean text and a garbled copy; once it
// comes up clean by chance it stays clean on the two following calls.
#pragma once

#include "platform/display/surface.h"
#include "platform/text/text.h"

#include <cstdint>

namespace vilora {

// Text colours, 0x00BBGGRR: the clean caption (200, 200, 200) and the garbled
// one (160, 160, 160).
inline constexpr uint32_t caption_clean_colour = 0xC8C8C8;
inline constexpr uint32_t caption_garbled_colour = 0xA0A0A0;

// `clean_frames` counts the calls still to be drawn clean; it is the caller's
// and outlives the call. Draws random_int(10) once, then, for a garbled copy,
// random_int(5) once per character, added to its code.
void draw_flicker_caption(surface* back, const font* caption_font, const char* text,
                          int32_t& clean_frames, int32_t x, int32_t y);

} // namespace vilora
