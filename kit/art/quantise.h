// From the canvas to the pixels that are written: true colour dithered for a
// 5-6-5 screen, or 8-bit through a palette found by median cut. Keyed pictures
// keep black (0) for their transparent pixels only: an opaque pixel that a
// 16-bit screen would pack to 0 is lifted just above it.
#pragma once

#include "kit/art/image.h"
#include "kit/formats/bmp_writer.h"

namespace vilora::kit::art {

// Ordered (4x4 Bayer) dither to 5-6-5 levels, each level written as the 8-bit
// value the screen's truncation maps back onto it.
rgb_picture to_rgb565(const image& canvas, bool keyed);

// The colour moved onto the nearest levels of a 5-6-5 screen. Written in a
// true-colour picture it is not dithered and reads back unchanged, so a flat
// field of it blends over the same field without a trace.
colour on_screen_levels(colour c);

// Median cut over the dithered 5-6-5 colours into at most `colours` entries
// (index 0 reserved for black when keyed); pixels take the nearest entry.
indexed_picture to_indexed(const image& canvas, bool keyed, int colours = 256);

// An 8-bit picture whose index is a field value: index(x, y) 0..255 and the
// palette given entry by entry (displacement maps: red = index).
indexed_picture from_field(int width, int height, const bmp_palette& palette,
                           const std::function<uint8_t(int x, int y)>& index);

} // namespace vilora::kit::art
