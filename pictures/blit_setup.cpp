#include "pictures/internal/blit_setup.h"

#include "pictures/internal/blit_clipping.h"
#include "platform/display/display_device.h"

#include <algorithm>

namespace vilora {

blit_lock::blit_lock(surface& picture, surface& destination)
    : picture_(picture), destination_(destination) {
    const bool picture_locked = picture_.lock() == 0;
    const bool destination_locked = destination_.lock() == 0;
    ok_ = picture_locked && destination_locked && picture_.pixels && destination_.pixels;
}

blit_lock::~blit_lock() {
    picture_.unlock();
    destination_.unlock();
}

const pixel_format* blit_format(const surface& picture, const surface& destination) {
    const display_device* display = picture.owner ? picture.owner : destination.owner;
    return display ? display->format.get() : nullptr;
}

int blit_pixel_bytes(const pixel_format& format, const surface& picture,
                     const surface& destination) {
    const int bytes = format.bits_per_pixel / 8;
    if (bytes < 1 || bytes > 4 || format.bits_per_pixel % 8 != 0) return 0;
    if (picture.bytes_per_pixel() != bytes || destination.bytes_per_pixel() != bytes) return 0;
    return bytes;
}

bool colour_key_fits(const pixel_format& format, uint32_t key) {
    const int32_t colour_bits = std::clamp(format.bits_per_pixel, 0, 24);
    return key >> colour_bits == 0;
}

clip_rect destination_clip(const surface& picture, const surface& destination) {
    const clip_rect extent = destination.extent();
    if (!picture.clip) return {};
    const clip_rect& c = *picture.clip;
    return {std::max(c.left, extent.left), std::max(c.top, extent.top),
            std::min(c.right, extent.right), std::min(c.bottom, extent.bottom)};
}

bool place_blit(const surface& picture, const surface& destination, int32_t x, int32_t y,
                int bytes_per_pixel, blit_rows& placed) {
    if (!picture.clip) return false;
    const clip_rect source = picture.extent();
    blit_rect rect{x, y, 0, 0, source.right, source.bottom};
    if (!clip_blit(rect, *picture.clip)) return false;
    // The rule leaves the rectangle inside the picture; the destination can
    // still be smaller than the clip rectangle, or the clip reach outside it.
    if (!clip_blit(rect, destination.extent())) return false;
    placed.destination_pitch = destination.pitch;
    placed.source_pitch = picture.pitch;
    placed.destination = destination.pixels + static_cast<ptrdiff_t>(rect.y) * destination.pitch +
                         static_cast<ptrdiff_t>(rect.x) * bytes_per_pixel;
    placed.source = picture.pixels + static_cast<ptrdiff_t>(rect.top) * picture.pitch +
                    static_cast<ptrdiff_t>(rect.left) * bytes_per_pixel;
    placed.source_left = rect.left;
    placed.source_top = rect.top;
    placed.columns = rect.columns();
    placed.rows = rect.rows();
    return true;
}

} // namespace vilora
