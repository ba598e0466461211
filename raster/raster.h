// Flat triangles, striped triangles and lines, written as 16-bit pixels
// straight into the locked back surface of a display. Like the parts, the
// primitives take the display and the picture area's top-left corner (x, y):
// coordinates are picture-area coordinates, (x, y) is added to each, and every
// pixel is clipped to the picture area, which is the display's clip.
// Positions are followed in 16.16 fixed point.
#pragma once

#include <cstdint>
#include <cstring>

namespace vilora {

class display_device;

// Where the primitives draw: the back surface's pixels and the picture area on
// it as far as the surface really holds it.
struct raster_target {
    uint8_t* pixels = nullptr; // row 0 of the back surface; null: nothing is drawn
    int32_t pitch = 0;
    int32_t origin_x = 0; // added to every coordinate
    int32_t origin_y = 0;
    // The picture area cut to the surface; right and bottom exclusive.
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t area_right = 0; // the picture area's right edge before the cut

    bool ok() const { return pixels != nullptr; }
    bool holds(int64_t column, int64_t row) const {
        return column >= left && column < right && row >= top && row < bottom;
    }
    void put(int64_t column, int64_t row, uint16_t colour) const {
        std::memcpy(pixels + row * pitch + column * 2, &colour, sizeof colour);
    }
};

// The target on the display's back surface with the picture area's corner at
// (x, y). It draws nothing (not ok()) when there is no display, its back
// surface is not locked or does not hold 16-bit pixels, or the picture area
// leaves nothing of the surface.
raster_target raster_target_of(const display_device* display, int32_t x, int32_t y);

// Fills the rows ceil(ymin) .. ceil(ymax) - 1; each span excludes its left and
// includes its right column. The colour's low 16 bits are written.
void fill_triangle(const raster_target& target, float x0, float y0, float x1, float y1, float x2,
                   float y2, int32_t colour);
// As fill_triangle, but only odd columns more than 140 pixels left of the
// picture area's right edge.
void fill_triangle_striped(const raster_target& target, float x0, float y0, float x1, float y1,
                           float x2, float y2, int32_t colour);
// A line without its end point; nothing when its start column lies outside 1..318.
void draw_line(const raster_target& target, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
               int32_t colour);

} // namespace vilora
