// Lines by the classic error-term walk: the major coordinate moves one pixel
// per step, the minor one whenever the accumulated error reaches the major
// length. After k steps the error is k * minor mod major and the minor
// coordinate has moved floor(k * minor / major) times, so the walk can start
// at the first step that lands in the picture area.
#include "raster/raster.h"

#include <algorithm>

namespace vilora {

namespace {

// One axis of a line: its start, direction and length.
struct line_axis {
    int64_t start = 0;
    int64_t sign = 1;
    uint64_t length = 0;
};

// Plots steps 1..steps: at step k the major coordinate is major.start +
// sign * (k - 1) and the minor one has moved floor(k * minor.length /
// major.length) times. `plot` takes (major, minor) coordinates.
template <class Plot>
void walk_line(const line_axis& major, const line_axis& minor, uint64_t steps, int64_t area_low,
               int64_t area_high, Plot plot) {
    // The steps whose major coordinate lies in [area_low, area_high).
    int64_t first, last;
    if (major.sign > 0) {
        first = area_low - major.start + 1;
        last = area_high - major.start;
    } else {
        first = major.start - area_high + 2;
        last = major.start - area_low + 1;
    }
    first = std::max<int64_t>(first, 1);
    last = std::min<int64_t>(last, static_cast<int64_t>(steps));
    if (first > last) return;
    // k * minor.length < 2^64: k <= major.length and both lengths are below 2^32.
    const auto k = static_cast<uint64_t>(first);
    uint64_t error = k * minor.length % major.length;
    int64_t along =
        minor.start + minor.sign * static_cast<int64_t>(k * minor.length / major.length);
    int64_t at = major.start + major.sign * (first - 1);
    for (int64_t step = first; step <= last; ++step) {
        plot(at, along);
        at += major.sign;
        error += minor.length;
        if (error >= major.length) {
            error -= major.length;
            along += minor.sign;
        }
    }
}

} // namespace

void draw_line(const raster_target& t, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
               int32_t colour) {
    if (!t.ok()) return;
    const int64_t sx0 = int64_t{x0} + t.origin_x, sy0 = int64_t{y0} + t.origin_y;
    // The whole line is dropped when its start column lies outside 1..318,
    // whatever the screen width.
    if (sx0 <= 0 || sx0 >= 319) return;
    const int64_t dx = int64_t{x1} - x0, dy = int64_t{y1} - y0;
    const line_axis x{sx0, dx >= 0 ? 1 : -1, static_cast<uint64_t>(dx >= 0 ? dx : -dx)};
    const line_axis y{sy0, dy >= 0 ? 1 : -1, static_cast<uint64_t>(dy >= 0 ? dy : -dy)};
    const auto pixel = static_cast<uint16_t>(colour);
    if (x.length > y.length) {
        walk_line(x, y, x.length, t.left, t.right, [&](int64_t column, int64_t row) {
            if (t.holds(column, row)) t.put(column, row, pixel);
        });
    } else if (y.length > 0) {
        walk_line(y, x, y.length, t.top, t.bottom, [&](int64_t row, int64_t column) {
            if (t.holds(column, row)) t.put(column, row, pixel);
        });
    } else {
        // A single point still takes one step, and its error test (0 >= 0)
        // moves x once: the pixel right of (or left of) the start is drawn.
        const int64_t column = x.start + x.sign;
        if (t.holds(column, y.start)) t.put(column, y.start, pixel);
    }
}

} // namespace vilora
