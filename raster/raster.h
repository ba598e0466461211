// Flat triangles, striped triangles and lines, written as 16-bit pixels
// straight into the locked back surface of the engine's display, in
// picture-area coordinates (origin_x and origin_y are added), every pixel
// clipped to the picture area. Positions are followed in 16.16 fixed point.
#pragma once

#include <cstdint>

namespace vilora {

// Fills the rows ceil(ymin) .. ceil(ymax) - 1; each span excludes its left and
// includes its right column. The colour's low 16 bits are written.
void fill_triangle(float x0, float y0, float x1, float y1, float x2, float y2, int32_t colour);
// As fill_triangle, but only odd columns more than 140 pixels left of the
// picture area's right edge.
void fill_triangle_striped(float x0, float y0, float x1, float y1, float x2, float y2,
                           int32_t colour);
// A line without its end point; nothing when its start column lies outside 1..318.
void draw_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour);

} // namespace vilora
