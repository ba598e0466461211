#include "pictures/internal/rotated_edges.h"

#include "engine/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>

namespace vilora {

namespace {

// A point of the quadrilateral's outline: screen position and the picture
// position it shows, u and v in 16.16.
struct outline_point {
    int64_t x = 0;
    int64_t y = 0;
    int64_t u = 0;
    int64_t v = 0;
};

// Writes rows ya .. yb + 1 from `upper` down to `lower`: n = yb - ya + 1
// steps of (change * 65536) / n, truncated toward zero. Row ya + k holds the
// start plus k steps, which stays between the two ends, so every stored
// value fits its 32-bit field.
void write_edge(const outline_point& upper, const outline_point& lower, const clip_rect& clip,
                std::vector<edge_entry>& table) {
    const int64_t n = lower.y - upper.y + 1;
    const int64_t step_x = (lower.x - upper.x) * 65536 / n;
    const int64_t step_u = (lower.u - upper.u) / n;
    const int64_t step_v = (lower.v - upper.v) / n;
    const int64_t first = std::max<int64_t>(0, clip.top - upper.y);
    const int64_t last = std::min<int64_t>(n, clip.bottom - 1 - upper.y);
    for (int64_t k = first; k <= last; ++k) {
        table[static_cast<size_t>(upper.y + k)] = {
            static_cast<int32_t>(upper.x * 65536 + k * step_x),
            static_cast<int32_t>(upper.u + k * step_u), static_cast<int32_t>(upper.v + k * step_v)};
    }
}

} // namespace

bool rotated_edge_tables::make_room(int32_t wanted) {
    if (rows >= wanted && left.size() >= static_cast<size_t>(wanted) &&
        right.size() >= static_cast<size_t>(wanted))
        return true;
    try {
        left.assign(static_cast<size_t>(wanted), {});
        right.assign(static_cast<size_t>(wanted), {});
    } catch (const std::bad_alloc&) {
        left.clear();
        right.clear();
        rows = 0;
        return false;
    }
    rows = wanted;
    return true;
}

bool rotated_edge_tables::point_at_rows(const uint8_t* pixels, int32_t pitch, int32_t height) {
    try {
        picture_rows.resize(static_cast<size_t>(height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int32_t y = 0; y < height; ++y)
        picture_rows[static_cast<size_t>(y)] = pixels + static_cast<ptrdiff_t>(y) * pitch;
    return true;
}

bool rotated_corners(int32_t width, int32_t height, int32_t centre_x, int32_t centre_y,
                     int32_t angle, float scale, rotated_quad& corners) {
    const double theta = deg_to_rad(angle);
    const double g = std::trunc(width * static_cast<double>(scale) * 0.5);
    const double m = std::trunc(height * static_cast<double>(scale) * 0.5);
    const double c = std::cos(theta), s = std::sin(theta);
    const double local[4][2] = {{-g, -m}, {g, -m}, {g, m}, {-g, m}};
    for (size_t i = 0; i < 4; ++i) {
        const double x_off = local[i][0], y_off = local[i][1];
        const double x = centre_x + std::trunc(x_off * c - y_off * s);
        const double y = centre_y + std::trunc(x_off * s + y_off * c);
        // Also false for NaN, which fails every comparison.
        if (!(std::fabs(x) <= rotated_corner_limit && std::fabs(y) <= rotated_corner_limit))
            return false;
        corners[i] = {static_cast<int32_t>(x), static_cast<int32_t>(y)};
    }
    return true;
}

void scan_rotated_edges(const rotated_quad& corners, int32_t width, int32_t height,
                        const clip_rect& clip, std::vector<edge_entry>& left,
                        std::vector<edge_entry>& right) {
    const int64_t w = int64_t{width} * 65536, h = int64_t{height} * 65536;
    // The picture's top, right, bottom and left edges, corner by corner.
    const outline_point points[4] = {{corners[0].x, corners[0].y, 0, 0},
                                     {corners[1].x, corners[1].y, w, 0},
                                     {corners[2].x, corners[2].y, w, h},
                                     {corners[3].x, corners[3].y, 0, h}};
    for (size_t i = 0; i < 4; ++i) {
        const outline_point& start = points[i];
        const outline_point& end = points[(i + 1) % 4];
        if (end.y >= start.y)
            write_edge(start, end, clip, right);
        else
            write_edge(end, start, clip, left);
    }
}

} // namespace vilora
