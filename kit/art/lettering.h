// Captions for the pictures, drawn by the engine's own text renderer (the
// face the parts use, without antialiasing) and handed back as masks, so that
// the data's lettering is the show's lettering.
#pragma once

#include "kit/art/image.h"

#include <memory>
#include <string>

namespace vilora {
class display_device;
}

namespace vilora::kit::art {

class lettering {
public:
    // Sets up a headless 5-6-5 display, the show's own screen format.
    lettering();
    ~lettering();
    lettering(const lettering&) = delete;
    lettering& operator=(const lettering&) = delete;

    // False when the display or the font cannot be had.
    bool ready() const;
    // The text in "MS SANS SERIFF" with a `cell_width` x `cell_height` cell:
    // as wide as its ink, as tall as the cell; 1 on glyph pixels, else 0.
    mask text(const std::string& text, int cell_width, int cell_height) const;

    // The display the text is drawn on; previews decode pictures on it too.
    display_device& display() const;

private:
    struct screen;
    std::unique_ptr<screen> screen_;
};

} // namespace vilora::kit::art
