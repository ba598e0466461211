// The displacement pass: every pixel of a rectangle of the picture area is
// copied from a source picture at a position moved by the red fields of two
// map pictures, one moving the row and one the column.
#pragma once

#include "platform/display/display_device.h"
#include "platform/display/surface.h"

#include <cstdint>

namespace vilora {

// Where a map is sampled for screen pixel (column i, row j): at row
// truncate(j + row_offset) and column truncate(i + column_offset), the sums
// taken in 32-bit float.
struct map_offsets {
    float row_offset = 0.0f;
    float column_offset = 0.0f;
};

struct displacement {
    surface* row_map = nullptr;
    map_offsets row_map_at;
    surface* column_map = nullptr;
    map_offsets column_map_at;
    surface* source = nullptr;
    // The rectangle of the picture area, both ends of each range inclusive.
    int32_t first_column = 0;
    int32_t last_column = -1;
    int32_t first_row = 0;
    int32_t last_row = -1;
    // Columns strictly between these two take their pixel from the column map
    // instead of the source (the window is empty by default).
    int32_t window_left = 0;
    int32_t window_right = 0;
};

// Source row = red(row map) + j, modulo 150 above 149; source column =
// red(column map) + i, modulo 320 above 319; the pixel there goes to the back
// surface at (y + j, x + i). Locks the back surface and the pictures for the
// pass. Reads beyond a picture are clamped to its edge, writes beyond the back
// surface dropped; a missing picture or a failed lock leaves the frame as it is.
void run_displacement(display_device* display, const displacement& pass, int32_t x, int32_t y);

} // namespace vilora
