#include "platform/display/display_device.h"

#include "platform/display/frame_conversion.h"
#include "platform/display/internal/video_memory.h"

namespace vilora {

display_device::display_device() = default;

display_device::~display_device() {
    release_surfaces();
    video.reset();
}

// The back buffer belongs to the flip chain: its surface object lets go of it
// first, and the front surface gives back the whole chain.
void display_device::release_surfaces() {
    if (!separate_back && back) back->platform = nullptr;
    screen_palette.reset();
    format.reset();
    front.reset();
    back.reset();
}

int display_device::create_interface() {
    video = std::make_unique<video_device>();
    return 0;
}

int display_device::set_mode(uint32_t mode_flags, window_handle window_given, int32_t width,
                             int32_t height, int32_t depth) {
    flags = mode_flags;
    release_surfaces();
    window = window_given;
    front = std::make_unique<surface>();
    back = std::make_unique<surface>();
    screen_palette = std::make_unique<palette>();
    format = std::make_unique<pixel_format>();
    if (!video) return display_exclusive_refused;

    if (!video->set_cooperative_level(window, cooperative_exclusive | cooperative_fullscreen))
        return display_exclusive_refused;
    if (!video->set_display_mode(width, height, depth)) return display_mode_refused;

    separate_back = false;
    front->platform = video->create_primary_chain();
    if (!front->platform) return display_primary_failed;
    read_pixel_format();
    back->platform = front->platform->attached_back();
    if (!back->platform) return display_back_buffer_failed;

    if (depth == 8) *screen_palette = palette::screen_default();
    for (surface* s : {back.get(), front.get()}) {
        s->width = width;
        s->height = height;
        s->clip = &clip;
        s->clear(0);
        s->owner = this;
        s->set_palette(screen_palette.get());
    }
    clip = clip_rect{0, 0, width, height};
    return 0;
}

void display_device::read_pixel_format() {
    format->read(front->platform->format());
}

void display_device::blacken_outside_picture() {
    for (surface* chain : {front.get(), back.get()}) {
        if (!chain || !chain->platform) continue;
        const int32_t w = chain->width, h = chain->height;
        const clip_rect& c = clip;
        // Above, below, left and right of the picture area; empty bands fill nothing.
        const video_rect bands[] = {{0, 0, w, c.top},
                                    {0, c.bottom, w, h},
                                    {0, c.top, c.left, c.bottom},
                                    {c.right, c.top, w, c.bottom}};
        for (const video_rect& band : bands)
            if (band.right > band.left && band.bottom > band.top) chain->platform->fill(band, 0);
    }
}

int display_device::present(uint32_t) {
    if (!back) return display_no_back_surface;
    if (!front || !front->platform) return display_flip_failed;
    video_status status = video->flip(*front->platform);
    if (status == video_status::lost) {
        front->restore_if_lost();
        status = video->flip(*front->platform);
    }
    return status == video_status::ok ? 0 : display_flip_failed;
}

rgb_frame display_device::shown_frame() const {
    if (!front || !front->platform) return {};
    return frame_from_surface(*front->platform);
}

} // namespace vilora
