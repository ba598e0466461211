// The base of the thirteen effect classes. A part is built once at start-up
// from the display (its constructor loads everything and sets `valid`) and then
// draws one frame per call of its own `run(display, mode, x, y)` into the
// display's back surface, offset by the picture area's top-left corner (x, y);
// the display's clip is the picture area itself. Both come from the engine's
// screen, through the timeline.
#pragma once

namespace vilora {

class effect_part {
public:
    virtual ~effect_part() = default;
    // Every picture, scene and font loaded; the driver refuses to start otherwise.
    bool valid = false;
};

} // namespace vilora
