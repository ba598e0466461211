#include "platform/hosts/sdl/internal/present_geometry.h"

#include "platform/hosts/frame_scaling.h"

#include <algorithm>

namespace vilora {

present_rect present_geometry(int frame_width, int frame_height, int window_width,
                              int window_height) {
    if (frame_width <= 0 || frame_height <= 0 || window_width <= 0 || window_height <= 0) return {};
    // The shape on screen: 4:3 for the demo's 320-wide modes (200 lines stretched
    // as a 4:3 monitor did), the frame's own shape otherwise.
    const screen_size shape = shown_shape(frame_width, frame_height);
    const int shape_w = shape.width, shape_h = shape.height;
    int scale = std::min(window_width / shape_w, window_height / shape_h);
    present_rect r;
    if (scale >= 1) {
        r.width = shape_w * scale;
        r.height = shape_h * scale;
    } else if (window_width * shape_h <= window_height * shape_w) {
        r.width = window_width;
        r.height = window_width * shape_h / shape_w;
    } else {
        r.height = window_height;
        r.width = window_height * shape_w / shape_h;
    }
    r.x = (window_width - r.width) / 2;
    r.y = (window_height - r.height) / 2;
    return r;
}

present_rect window_geometry(int desktop_width, int desktop_height) {
    const int room = std::min(desktop_width * 9 / 10 / 320, desktop_height * 9 / 10 / 240);
    const int scale = std::clamp(room, 1, 3);
    return {0, 0, 320 * scale, 240 * scale};
}

} // namespace vilora
