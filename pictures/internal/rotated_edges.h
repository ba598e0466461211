// Scan conversion of the rotated blit: the picture's rectangle turned and
// scaled about a centre becomes a quadrilateral, whose edges are written row
// by row into left and right edge tables (screen x, picture column u and
// picture row v, all 16.16).
#pragma once

#include "platform/display/clip_rect.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vilora {

// One row of the edge tables, all 16.16 fixed point: screen x, picture
// column u and picture row v.
struct edge_entry {
    int32_t x = 0;
    int32_t u = 0;
    int32_t v = 0;
};

// The rotated blit's scratch space, one entry per screen row in each table.
// It grows to the deepest clip drawn into and is kept for later calls.
struct rotated_edge_tables {
    std::vector<edge_entry> left;
    std::vector<edge_entry> right;
    int32_t rows = 0;
    // Where each row of the picture being drawn starts; refilled by every blit.
    std::vector<const uint8_t*> picture_rows;

    // Room for `rows` rows; false (and no tables) when memory runs out.
    bool make_room(int32_t rows);
    // Points picture_rows at the rows of a picture; false when memory runs out.
    bool point_at_rows(const uint8_t* pixels, int32_t pitch, int32_t height);
};

struct rotated_corner {
    int32_t x = 0;
    int32_t y = 0;
};
using rotated_quad = std::array<rotated_corner, 4>;

// Corners keep 16.16 screen positions inside 32 bits.
inline constexpr int32_t rotated_corner_limit = 32767;

// The corners P0..P3 of a width x height picture turned by `angle` degrees
// (clockwise on the screen) and scaled about (centre_x, centre_y). False when
// the scale is not finite or a corner lies beyond rotated_corner_limit.
bool rotated_corners(int32_t width, int32_t height, int32_t centre_x, int32_t centre_y,
                     int32_t angle, float scale, rotated_quad& corners);

// Writes the edges P0->P1, P1->P2, P2->P3, P3->P0 of the quadrilateral into
// the tables, rows clip.top <= row < clip.bottom only. Downward (and level)
// edges go to `right`, upward ones to `left`, traversed from their upper end.
// Both tables must have clip.bottom rows and clip.top must not be negative.
void scan_rotated_edges(const rotated_quad& corners, int32_t width, int32_t height,
                        const clip_rect& clip, std::vector<edge_entry>& left,
                        std::vector<edge_entry>& right);

} // namespace vilora
