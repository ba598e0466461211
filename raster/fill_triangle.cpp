// Flat and striped triangle fills. The edges are followed row by row in 16.16
// fixed point; slopes, steps and the sums that advance them are 32-bit floats
// like the vertices, and every float-to-integer conversion truncates toward
// zero.
#include "engine/numbers.h"
#include "raster/raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vilora {

namespace {

// Vertices further out would let 16.16 positions, and their drift from
// float rounding over as many rows, leave 32 bits; such triangles are skipped.
constexpr float vertex_limit = 16384.0f;

// trunc(value) into 32 bits. Out-of-range values only arise for an edge
// position or step that no row uses; they saturate instead of being undefined.
constexpr int32_t to_int(float value) {
    return truncate_toward_zero(value, INT32_MIN, INT32_MAX);
}

struct vertex {
    float x;
    float y;
};

// An edge from `from` to `to` entered at row `row`: position trunc((x + (row - y)
// * slope) * 65536) and slope * 65536 per row.
struct edge {
    int32_t position = 0;
    float step = 0.0f;

    edge(const vertex& from, const vertex& to, int32_t row) {
        const float slope = (to.x - from.x) / (to.y - from.y);
        position = to_int((from.x + (static_cast<float>(row) - from.y) * slope) * 65536.0f);
        step = slope * 65536.0f;
    }
    void advance() { position = to_int(static_cast<float>(position) + step); }
};

// The lower short edge steps by a whole number of 16.16 units.
edge lower_edge(const vertex& from, const vertex& to, int32_t row) {
    edge e(from, to, row);
    e.step = static_cast<float>(to_int(e.step));
    return e;
}

// Which columns of a span are drawn: the whole span (cut to the picture area),
// or only its odd columns left of `stripe_end`.
struct span_rule {
    bool striped = false;
    int64_t stripe_end = 0;
};

// Columns lo + 1 .. hi of a row: the left end excluded, the right one included.
void write_span(const raster_target& t, int32_t row, int32_t a, int32_t b, uint16_t colour,
                const span_rule& rule) {
    int64_t first = std::max<int64_t>(int64_t{std::min(a, b)} + 1, t.left);
    int64_t end = std::min<int64_t>(int64_t{std::max(a, b)} + 1, t.right);
    if (rule.striped) {
        end = std::min(end, rule.stripe_end);
        first += ~first & 1; // the first odd column
    }
    const int64_t stride = rule.striped ? 2 : 1;
    for (int64_t column = first; column < end; column += stride) t.put(column, row, colour);
}

void scan_triangle(const raster_target& t, float x0, float y0, float x1, float y1, float x2,
                   float y2, int32_t colour, const span_rule& rule) {
    if (!t.ok()) return;
    const auto ox = static_cast<float>(t.origin_x), oy = static_cast<float>(t.origin_y);
    vertex v[3] = {{x0 + ox, y0 + oy}, {x1 + ox, y1 + oy}, {x2 + ox, y2 + oy}};
    for (const vertex& p : v)
        if (!(std::fabs(p.x) <= vertex_limit && std::fabs(p.y) <= vertex_limit)) return;
    if (v[0].y > v[1].y) std::swap(v[0], v[1]);
    if (v[1].y > v[2].y) std::swap(v[1], v[2]);
    if (v[0].y > v[1].y) std::swap(v[0], v[1]);
    const auto c0 = static_cast<int32_t>(std::ceil(v[0].y));
    const auto c1 = static_cast<int32_t>(std::ceil(v[1].y));
    const auto c2 = static_cast<int32_t>(std::ceil(v[2].y));
    if (c2 == c0) return;

    edge long_edge(v[0], v[2], c0);
    // Until row c1 the short edge is the upper one (when it covers a row).
    edge short_edge = c1 != c0 ? edge(v[0], v[1], c0) : lower_edge(v[1], v[2], c1);
    const auto pixel = static_cast<uint16_t>(colour);
    const int32_t last_row = std::min(c2, t.bottom) - 1;
    for (int32_t row = c0; row <= last_row; ++row) {
        if (row > c0) {
            long_edge.advance();
            if (row == c1)
                short_edge = lower_edge(v[1], v[2], c1);
            else
                short_edge.advance();
        }
        if (row >= t.top)
            write_span(t, row, long_edge.position / 65536, short_edge.position / 65536, pixel,
                       rule);
    }
}

} // namespace

void fill_triangle(const raster_target& target, float x0, float y0, float x1, float y1, float x2,
                   float y2, int32_t colour) {
    scan_triangle(target, x0, y0, x1, y1, x2, y2, colour, {});
}

void fill_triangle_striped(const raster_target& target, float x0, float y0, float x1, float y1,
                           float x2, float y2, int32_t colour) {
    scan_triangle(target, x0, y0, x1, y1, x2, y2, colour, {true, int64_t{target.area_right} - 140});
}

} // namespace vilora
