#include "raster/raster_target.h"

#include "driver/engine.h"
#include "platform/display_device.h"

#include <algorithm>

namespace vilora {

bool current_raster_target(raster_target& target) {
    if (!engine_display || !engine_display->back) return false;
    const surface& back = *engine_display->back;
    if (!(back.flags & surface_locked) || !back.pixels || !back.platform ||
        back.platform->bytes_per_pixel() != 2)
        return false;
    const int64_t width = std::clamp(back.width, 0, back.platform->width());
    const int64_t height = std::clamp(back.height, 0, back.platform->height());
    // In 64 bits: the globals may hold anything.
    const int64_t left = origin_x, top = origin_y;
    const int64_t right = int64_t{screen_width} - origin_x;
    const int64_t bottom = int64_t{screen_height} - origin_y;
    target.pixels = back.pixels;
    target.pitch = back.pitch;
    target.left = static_cast<int32_t>(std::clamp<int64_t>(left, 0, width));
    target.top = static_cast<int32_t>(std::clamp<int64_t>(top, 0, height));
    target.right = static_cast<int32_t>(std::clamp<int64_t>(right, 0, width));
    target.bottom = static_cast<int32_t>(std::clamp<int64_t>(bottom, 0, height));
    return target.left < target.right && target.top < target.bottom;
}

} // namespace vilora
