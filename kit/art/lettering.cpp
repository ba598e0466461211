#include "kit/art/lettering.h"

#include "platform/display/display_device.h"
#include "platform/display/surface.h"
#include "platform/text/text.h"
#include "platform/window/app_window.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

namespace vilora::kit::art {

struct lettering::screen {
    app_window window;
    display_device display;
    int result = -1;
    mutable std::map<std::pair<int, int>, font*> fonts;

    screen() {
        set_high_colour_layout(high_colour_layout::rgb565);
        window.create_window("vilora-kit", app_window::procedure, window_style_popup, 0, 0, 320,
                             240);
        display.create_interface();
        result = display.set_mode(0, window.handle, 320, 240, 16);
    }

    font* font_of(int width, int height) const {
        font*& f = fonts[{width, height}];
        if (!f) f = create_font("MS SANS SERIFF", width, height);
        return f;
    }
};

lettering::lettering() : screen_(std::make_unique<screen>()) {}
lettering::~lettering() = default;

display_device& lettering::display() const {
    return screen_->display;
}

bool lettering::ready() const {
    return screen_->result == 0 && screen_->font_of(12, 12);
}

mask lettering::text(const std::string& text, int cell_width, int cell_height) const {
    const int margin = 4;
    const int width = static_cast<int>(text.size()) * cell_width * 2 + 2 * margin;
    const int height = cell_height + 2 * margin;
    surface canvas;
    mask out(1, cell_height);
    if (canvas.create_surface(&screen_->display, picture_surface_kind, width, height) != 0)
        return out;
    canvas.clear(0);
    draw_text(&canvas, margin, margin, 0xFFFFFF, screen_->font_of(cell_width, cell_height), "%s",
              text.c_str());
    if (canvas.lock() != 0) return out;
    int left = width, right = -1;
    mask ink(width, cell_height);
    for (int y = 0; y < cell_height; ++y) {
        const uint8_t* row = canvas.pixels + static_cast<ptrdiff_t>(y + margin) * canvas.pitch;
        for (int x = 0; x < width; ++x) {
            uint16_t pixel;
            std::memcpy(&pixel, row + 2 * x, 2);
            if (pixel == 0) continue;
            ink.at(x, y) = 1;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    canvas.unlock();
    if (right < left) return out;
    out = mask(right - left + 1, cell_height);
    for (int y = 0; y < cell_height; ++y)
        for (int x = left; x <= right; ++x) out.at(x - left, y) = ink.at(x, y);
    return out;
}

} // namespace vilora::kit::art
