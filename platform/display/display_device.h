// The one display: it takes the screen in exclusive full-screen mode, sets the
// mode, holds the flip chain's front and back surfaces, the pixel format, the
// picture-area clip and the palette object, and presents frames by flipping.
#pragma once

#include "platform/display/clip_rect.h"
#include "platform/display/palette.h"
#include "platform/display/pixel_format.h"
#include "platform/display/surface.h"
#include "platform/hosts/host.h"
#include "platform/window/window_system.h"

#include <cstdint>
#include <memory>

namespace vilora {

class video_device;

// Error codes of create_interface, set_mode and present.
inline constexpr int display_no_interface = 1;
inline constexpr int display_mode_refused = 2;
inline constexpr int display_exclusive_refused = 3;
inline constexpr int display_primary_failed = 4;
inline constexpr int display_back_buffer_failed = 5;
inline constexpr int display_flip_failed = 26;
inline constexpr int display_no_back_surface = 50;

class display_device {
public:
    display_device();
    virtual ~display_device();
    display_device(const display_device&) = delete;
    display_device& operator=(const display_device&) = delete;

    int create_interface();
    int set_mode(uint32_t mode_flags, window_handle window_given, int32_t width, int32_t height,
                 int32_t depth);
    int present(uint32_t present_flags);
    // What the screen shows now, as the host was given it: the front surface
    // after the latest present. Empty before a mode is set.
    rgb_frame shown_frame() const;
    // After the flip chain was restored: its memory came back undefined, and
    // the parts redraw the picture area only, so what lies around it is made
    // black again, as the mode set left it.
    void blacken_outside_picture();

    uint32_t flags = 0;
    bool separate_back = false; // with flags 0 the back buffer is always in the chain
    clip_rect clip;             // the picture area; every surface points at it
    window_handle window = nullptr;
    std::unique_ptr<pixel_format> format;
    std::unique_ptr<surface> back;
    std::unique_ptr<surface> front;
    std::unique_ptr<palette> screen_palette;
    std::unique_ptr<video_device> video;

private:
    void release_surfaces();
    void read_pixel_format();
};

} // namespace vilora
