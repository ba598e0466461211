// Plays a module through libxmp into 16-bit stereo PCM, remembering where
// each order begins, for listening and for checking levels.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vilora::kit::music {

constexpr int render_rate = 44100;

struct rendering {
    bool ok = false;
    std::vector<int16_t> samples; // interleaved left, right
    // Per order played, in playing order: the order and its first frame
    // (a frame is one left-right pair).
    struct order_start {
        int order;
        size_t frame;
    };
    std::vector<order_start> orders;

    size_t frames() const { return samples.size() / 2; }
};

// The whole song once, from order 0 until it would loop, at most
// `max_seconds` long. Not ok when libxmp cannot load the module.
rendering render_module(std::span<const uint8_t> module, int max_seconds = 900);

// Peak and RMS of a stretch of frames, in full-scale units (1.0 = 32768).
struct levels {
    double peak = 0;
    double rms = 0;
};
levels measure(const rendering& r, size_t first_frame, size_t end_frame);

// The first frame of `order`; the rendering's end when the song never plays it.
size_t order_start(const rendering& r, int order);
// Levels of orders `first` to `last`, played one after another, from the first
// frame of `first` to the first of the order after `last`.
levels measure_orders(const rendering& r, int first, int last);

} // namespace vilora::kit::music
