#include "platform/display/display_device.h"
#include "raster/raster.h"

#include <algorithm>

namespace vilora {

raster_target raster_target_of(const display_device* display, int32_t x, int32_t y) {
    if (!display || !display->back) return {};
    const surface& back = *display->back;
    if (!(back.flags & surface_locked) || !back.pixels || back.bytes_per_pixel() != 2) return {};
    const clip_rect extent = back.extent();
    const int32_t width = extent.right, height = extent.bottom;
    const clip_rect& area = display->clip;
    raster_target target;
    target.pixels = back.pixels;
    target.pitch = back.pitch;
    target.origin_x = x;
    target.origin_y = y;
    target.left = std::clamp(area.left, 0, width);
    target.top = std::clamp(area.top, 0, height);
    target.right = std::clamp(area.right, 0, width);
    target.bottom = std::clamp(area.bottom, 0, height);
    target.area_right = area.right;
    if (target.left >= target.right || target.top >= target.bottom) return {};
    return target;
}

} // namespace vilora
