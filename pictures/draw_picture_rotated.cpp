// Rotated and scaled blit: the turned picture's outline goes into the
// picture list's edge tables, then every row between the left and the right
// edge is filled by stepping linearly through the picture.
#include "pictures/internal/blit_setup.h"
#include "pictures/internal/rotated_edges.h"
#include "pictures/internal/rotated_spans.h"
#include "pictures/picture_list.h"
#include "platform/display/display_device.h"

#include <algorithm>
#include <new>

namespace vilora {

namespace {

// Fills columns xl + 1 .. xr - 1 of one row (cut to the clip), the ends of the
// span excluded. u and v step by the span's change over its width, truncated
// toward zero; the first drawn column is one step past the left end.
void fill_row(uint8_t* row_pixels, int bytes, const edge_entry& l, const edge_entry& r,
              const clip_rect& clip, const picture_sampler& picture, const span_samplers& fill) {
    const int64_t xl = l.x >> 16;
    int64_t xr = r.x >> 16;
    const int64_t width = std::max<int64_t>(xr - xl, 1);
    span_walk walk{l.u, l.v, (int64_t{r.u} - l.u) / width, (int64_t{r.v} - l.v) / width};
    xr = std::min<int64_t>(xr, clip.right);
    const int64_t start = std::max<int64_t>(xl, clip.left);
    if (start + 1 >= xr) return;
    const auto count = static_cast<int32_t>(xr - 1 - start);
    walk.u += walk.du * (start + 1 - xl);
    walk.v += walk.dv * (start + 1 - xl);
    // The walk is linear: its two ends on the picture put all of it there.
    const int64_t last_u = walk.u + walk.du * (count - 1), last_v = walk.v + walk.dv * (count - 1);
    const int64_t u_end = int64_t{picture.width} << 16, v_end = int64_t{picture.height} << 16;
    const bool inside = std::min(walk.u, last_u) >= 0 && std::max(walk.u, last_u) < u_end &&
                        std::min(walk.v, last_v) >= 0 && std::max(walk.v, last_v) < v_end;
    (inside ? fill.inside : fill.clamped)(row_pixels + (start + 1) * bytes, picture, walk, count);
}

} // namespace

void picture_list::draw_picture_rotated(surface* destination, int32_t centre_x, int32_t centre_y,
                                        int32_t index, int32_t angle, float scale) const {
    surface* picture = picture_surface(index);
    if (!picture || !destination) return;
    display_device* display = picture->owner ? picture->owner : destination->owner;
    if (!display || !display->format) return;
    const blit_lock lock(*picture, *destination);
    const int bytes = blit_pixel_bytes(*display->format, *picture, *destination);
    const clip_rect source = picture->extent();
    if (!lock.ok() || !bytes || source.right <= 0 || source.bottom <= 0) return;

    rotated_quad corners;
    if (!rotated_corners(source.right, source.bottom, centre_x, centre_y, angle, scale, corners))
        return;
    const clip_rect clip = destination_clip(*picture, *destination);
    int32_t ymin = corners[0].y, ymax = corners[0].y;
    for (const rotated_corner& c : corners) {
        ymin = std::min(ymin, c.y);
        ymax = std::max(ymax, c.y);
    }
    if (ymin >= ymax || ymax < clip.top || ymin >= clip.bottom ||
        std::min(ymax, clip.bottom) - std::max(ymin, clip.top) <= 0 || clip.left >= clip.right)
        return;
    if (!edge_tables_) edge_tables_.reset(new (std::nothrow) rotated_edge_tables);
    // The tables reach down to the clip's bottom row.
    if (!edge_tables_ || !edge_tables_->make_room(clip.bottom)) return;
    rotated_edge_tables& edges = *edge_tables_;
    scan_rotated_edges(corners, source.right, source.bottom, clip, edges.left, edges.right);

    const bool keyed = (picture->flags & surface_colour_keyed) &&
                       colour_key_fits(*display->format, picture->colour_key);
    if (!edges.point_at_rows(picture->pixels, picture->pitch, source.bottom)) return;
    const picture_sampler sampler{edges.picture_rows.data(), source.right, source.bottom,
                                  picture->colour_key};
    const span_samplers fill = choose_samplers(bytes, keyed);
    for (int32_t r = std::max(ymin, clip.top); r <= std::min(ymax, clip.bottom - 1); ++r) {
        const auto row = static_cast<size_t>(r);
        fill_row(destination->pixels + static_cast<ptrdiff_t>(r) * destination->pitch, bytes,
                 edges.left[row], edges.right[row], clip, sampler, fill);
    }
}

} // namespace vilora
