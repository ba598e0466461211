#include "platform/hosts/frame_scaling.h"

#include <cstddef>

namespace vilora {

screen_size shown_shape(int frame_width, int frame_height) {
    if (frame_width == 320 && (frame_height == 200 || frame_height == 240)) return {320, 240};
    return {frame_width, frame_height};
}

rgb_frame scaled_to_shown_shape(const rgb_frame& frame, int factor) {
    rgb_frame out;
    if (factor < 1 || frame.width <= 0 || frame.height <= 0 ||
        frame.pixels.size() != static_cast<size_t>(frame.width) * frame.height)
        return out;
    const screen_size shape = shown_shape(frame.width, frame.height);
    out.width = shape.width * factor;
    out.height = shape.height * factor;
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    // Output pixel x samples source column x * width / out_width: the nearest
    // one to the left of its position, so block edges fall on whole pixels.
    std::vector<int> column(static_cast<size_t>(out.width));
    for (int x = 0; x < out.width; ++x)
        column[static_cast<size_t>(x)] = static_cast<int>(int64_t{x} * frame.width / out.width);
    for (int y = 0; y < out.height; ++y) {
        const int source_row = static_cast<int>(int64_t{y} * frame.height / out.height);
        const uint32_t* in = frame.pixels.data() + static_cast<size_t>(source_row) * frame.width;
        uint32_t* line = out.pixels.data() + static_cast<size_t>(y) * out.width;
        for (int x = 0; x < out.width; ++x) line[x] = in[column[static_cast<size_t>(x)]];
    }
    return out;
}

} // namespace vilora
