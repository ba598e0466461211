// A value that swings between two bounds in 32-bit float steps: the moving
// offsets of the displacement parts and the breathing scales of oneco2 and houp.
#pragma once

namespace vilora {

struct oscillator {
    float value = 0.0f;
    bool rising = true;
    float step_size = 1.0f;
    float lower = 0.0f;
    float upper = 0.0f;
    // Whether a step below the lower bound is held at the bound; without it
    // the value stays below it, by less than one step, for one call.
    bool hold_lower = true;

    // Past the upper bound the direction turns and the same call steps back,
    // so the top value is held for two calls; below the lower bound the value
    // is set to exactly the bound (when hold_lower) and rises again, so the
    // bottom is held too.
    void step() {
        if (rising) value += step_size;
        if (value > upper) rising = false;
        if (!rising) value -= step_size;
        if (value < lower) {
            if (hold_lower) value = lower;
            rising = true;
        }
    }
};

} // namespace vilora
