// Text drawing: fonts matched by face name and rendered without antialiasing
// into a character cell, drawn transparently into a surface in its own pixel
// format. The rasteriser stays behind this header.
#pragma once

#include "platform/display/device_context.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace vilora {

class surface;
struct font_face; // the rasteriser's sized face, private to the font code

// A font handle. Fonts live until the program ends; the handle stays valid.
struct font {
    std::string face_name;     // the face asked for
    std::string file;          // the face file the font matcher chose for it
    int32_t width = 0;         // average character width in pixels; 0: the face's own
    int32_t height = 0;        // cell height in pixels: ascent plus descent
    int32_t ascent = 0;        // pixels from the top of the cell to the baseline
    font_face* face = nullptr; // owned with the font
};

// A font of the given face and cell (weight normal, upright, ANSI characters,
// glyphs without antialiasing). A face name that is not installed resolves to
// the closest installed face, a plain sans-serif one for unknown names. Null,
// with a message on stderr, when no face can be loaded at all.
font* create_font(const char* face_name, int32_t width, int32_t height);

// The face a context without a selected font draws with: a plain sans-serif
// face in a 16-pixel cell. Null when no face can be loaded.
const font* default_font();

// Draws `length` characters with the context's selected font (the default font
// when none is selected) and text colour, the top-left corner of the text's
// cell at (x, y). Only glyph pixels are written: the background stays as it is.
void text_out(device_context& context, int32_t x, int32_t y, const char* text, size_t length);

// Formats the text printf-style (cut to 2047 characters) and draws it with the
// font (or the context's current one when null) at (x, y) of the surface in
// the colour 0x00BBGGRR, over a transparent background. The surface keeps its
// drawing context when the caller already held it. Always returns 0.
int draw_text(surface* target, int32_t x, int32_t y, uint32_t colour, const font* text_font,
              const char* format, ...) __attribute__((format(printf, 6, 7)));

} // namespace vilora
