#include "platform/display/surface.h"

#include "platform/display/display_device.h"
#include "platform/display/internal/video_memory.h"
#include "platform/display/palette.h"

#include <algorithm>
#include <cstdint>

namespace vilora {

surface::~surface() {
    release();
}

template <typename Operation>
video_status surface::with_restore(Operation operation) {
    video_status status = operation();
    if (status == video_status::lost) {
        restore_if_lost();
        status = operation();
    }
    return status;
}

int surface::create_surface(display_device* display, int kind, int32_t new_width,
                            int32_t new_height) {
    release();
    owner = display;
    width = new_width;
    height = new_height;
    if (!display || !display->video || kind != picture_surface_kind) return surface_create_failed;
    platform = display->video->create_offscreen(new_width, new_height);
    if (!platform) return surface_create_failed;
    clip = &display->clip;
    set_palette(display->screen_palette.get());
    surface_kind = static_cast<uint8_t>(kind);
    lock();
    unlock();
    return 0;
}

int surface::lock() {
    if (flags & surface_locked) return 0;
    if (!platform) return surface_lock_failed;
    uint8_t* memory = nullptr;
    int32_t row_bytes = 0;
    if (with_restore([&] { return platform->lock(memory, row_bytes); }) != video_status::ok)
        return surface_lock_failed;
    pixels = memory;
    pitch = row_bytes;
    flags |= surface_locked;
    return 0;
}

int surface::unlock() {
    if (!(flags & surface_locked)) return 0;
    if (!platform || with_restore([&] { return platform->unlock(); }) != video_status::ok)
        return surface_unlock_failed;
    flags &= static_cast<uint8_t>(~surface_locked);
    return 0;
}

int surface::get_dc() {
    if (flags & surface_dc_held) return 0;
    if (!platform) return surface_get_dc_failed;
    device_context* context = nullptr;
    if (with_restore([&] { return platform->get_dc(context); }) != video_status::ok)
        return surface_get_dc_failed;
    dc = context;
    flags |= surface_dc_held;
    return 0;
}

int surface::release_dc() {
    if (!(flags & surface_dc_held)) return 0;
    if (!platform || with_restore([&] { return platform->release_dc(); }) != video_status::ok)
        return surface_release_dc_failed;
    dc = nullptr;
    flags &= static_cast<uint8_t>(~surface_dc_held);
    return 0;
}

int surface::set_colour_key(uint32_t value) {
    colour_key = value;
    if (!platform) return 1;
    return platform->set_colour_key(value, value) == video_status::ok ? 0 : 1;
}

void surface::blit_to(surface* destination, int32_t x, int32_t y, int32_t left, int32_t top,
                      int32_t right, int32_t bottom) {
    if (!destination || !destination->platform || !platform || !clip) return;
    // A rectangle clipped to nothing still goes to the copy, which refuses it.
    placed_rect r{x, y, left, top, right, bottom};
    clip_placed(r, *clip);
    // Whatever is still outside 32 bits lies far outside every surface.
    auto narrow = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };

    const bool keyed = flags & surface_colour_keyed;
    const video_rect source_rect{narrow(r.left), narrow(r.top), narrow(r.right), narrow(r.bottom)};
    auto copy = [&] {
        return destination->platform->copy_from(narrow(r.x), narrow(r.y), *platform, source_rect,
                                                keyed);
    };
    if (copy() == video_status::lost) {
        restore_if_lost();
        destination->restore_if_lost();
        copy();
    }
}

int surface::fill_rect(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) {
    if (!platform) return surface_fill_failed;
    const video_rect rect{left, top, right, bottom};
    if (with_restore([&] { return platform->fill(rect, colour); }) != video_status::ok)
        return surface_fill_failed;
    return 0;
}

int surface::clear(uint32_t colour) {
    return fill_rect(0, 0, width, height, colour);
}

void surface::restore_if_lost() {
    if (!platform || !platform->is_lost()) return;
    platform->restore();
    // The display's own surfaces are its flip chain, which restores as one.
    if (owner && surface_kind == 0 && (owner->front.get() == this || owner->back.get() == this))
        owner->blacken_outside_picture();
}

void surface::set_clip(clip_rect* rect) {
    if (flags & surface_clip_owned) delete clip;
    clip = rect;
    flags &= static_cast<uint8_t>(~surface_clip_owned);
}

void surface::attach_alpha_map() {
    alpha_map =
        std::make_unique<uint8_t[]>(static_cast<size_t>(width) * static_cast<size_t>(height));
}

int surface::set_palette(palette* palette_object_given) {
    palette_object = palette_object_given;
    if (!palette_object) return surface_palette_failed;
    if (platform && platform->format().rgb_bit_count == 8 && palette_object->entries) {
        auto entries = palette_object->entries;
        if (with_restore([&] { return platform->set_palette(entries); }) != video_status::ok)
            return surface_palette_failed;
    }
    return 0;
}

int surface::bytes_per_pixel() const {
    return platform ? platform->bytes_per_pixel() : 0;
}

clip_rect surface::extent() const {
    if (!platform) return {};
    return {0, 0, std::clamp(width, 0, platform->width()),
            std::clamp(height, 0, platform->height())};
}

void surface::release() {
    release_dc();
    unlock();
    if (flags & surface_clip_owned) delete clip;
    clip = nullptr;
    release_video_surface(platform);
    platform = nullptr;
    alpha_map.reset();
    owner = nullptr;
    dc = nullptr;
    palette_object = nullptr;
    surface_kind = 0;
    flags &= static_cast<uint8_t>(~(surface_colour_keyed | surface_clip_owned));
}

} // namespace vilora
