// A drawing context on a surface, for text and true-colour conversion: the
// pixels of the surface plus the text state selected into it.
#pragma once

#include "platform/display/palette.h"
#include "platform/display/pixel_format.h"

#include <cstdint>
#include <memory>

namespace vilora {

struct font;
class video_surface;

struct device_context {
    video_surface* target = nullptr;
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    int32_t width = 0;
    int32_t height = 0;
    format_record format;
    std::shared_ptr<const palette_entries> palette; // 8-bit surfaces only
    int background_mode = 2;                        // 1 transparent, 2 opaque
    uint32_t text_colour = 0;                       // 0x00BBGGRR
    const font* selected_font = nullptr;
};

} // namespace vilora
