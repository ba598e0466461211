// The displacement pass: every pixel of a rectangle of the picture area is
// copied from a source picture at a position moved by the red fields of two
// map pictures, one moving the row and one the column.
#pragma once

#include "parts/oscillator.h"
#include "platform/display/display_device.h"
#include "platform/display/surface.h"

#include <cstdint>

namespace vilora {

class picture_list;

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

// The four offsets that move a pass's maps, each an oscillator between 0 and
// `upper`: the first, second and fourth rising by 1.0 from the start, the
// third falling by 0.5. The column offset into the row map is its oscillator
// times `row_map_column_scale`.
struct displacement_motion {
    constexpr displacement_motion(float column_map_column_start, float row_map_column_start,
                                  float column_map_row_start, float row_map_row_start, float upper,
                                  float row_map_column_times)
        : column_map_column{column_map_column_start, true, 1.0f, 0.0f, upper},
          row_map_column{row_map_column_start, true, 1.0f, 0.0f, upper},
          column_map_row{column_map_row_start, false, 0.5f, 0.0f, upper},
          row_map_row{row_map_row_start, true, 1.0f, 0.0f, upper},
          row_map_column_scale(row_map_column_times) {}

    // Steps the four in order, once per frame.
    void step() {
        column_map_column.step();
        row_map_column.step();
        column_map_row.step();
        row_map_row.step();
    }

    oscillator column_map_column; // 1
    oscillator row_map_column;    // 2
    oscillator column_map_row;    // 3
    oscillator row_map_row;       // 4
    float row_map_column_scale;
};

// A pass with the row map and column map at those indices of `maps` and the
// source picture at index 2, sampled where `motion` now puts them; the
// rectangle and window are the caller's to set.
displacement displacement_of(const picture_list& maps, int32_t row_map, int32_t column_map,
                             const displacement_motion& motion);

} // namespace vilora
