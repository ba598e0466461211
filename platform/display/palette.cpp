#include "platform/display/palette.h"

#include <cstdlib>

namespace vilora {

namespace {
// A 5-bit level widened to 8 bits by repeating its top bits: 0 -> 0, 31 -> 255.
constexpr int widen5(int level) {
    return level << 3 | level >> 2;
}

constexpr int cube_levels[6] = {0, 6, 12, 19, 25, 31};
constexpr int between_levels[5] = {3, 9, 15, 22, 28};
} // namespace

int nearest_palette_index(const palette_entries& colours, int red, int green, int blue) {
    int best = 768;
    int best_index = 0;
    for (int i = 0; i < 256; ++i) {
        const palette_entry& e = colours[static_cast<size_t>(i)];
        int distance = std::abs(red - e.red) + std::abs(green - e.green) + std::abs(blue - e.blue);
        if (distance < best) {
            best = distance;
            best_index = i;
            if (distance == 0) return i;
        }
    }
    return best_index;
}

palette palette::screen_default() {
    palette_entries colours{};
    size_t next = 0;
    auto add = [&](int r, int g, int b) {
        colours[next++] =
            palette_entry{static_cast<uint8_t>(widen5(r)), static_cast<uint8_t>(widen5(g)),
                          static_cast<uint8_t>(widen5(b)), 0};
    };
    // Index 36r + 6g + b: black is 0, as the pictures' colour key needs.
    for (int r : cube_levels)
        for (int g : cube_levels)
            for (int b : cube_levels) add(r, g, b);
    for (int level = 0; level < 32; ++level) {
        bool in_cube = false;
        for (int c : cube_levels) in_cube = in_cube || c == level;
        if (!in_cube) add(level, level, level);
    }
    for (int r : between_levels)
        for (int g : between_levels)
            for (int b : between_levels)
                if (next < colours.size() && !(r == g && g == b)) add(r, g, b);
    palette result;
    result.set_entries(colours);
    return result;
}

void palette::set_entries(const palette_entries& colours) {
    entries = std::make_shared<const palette_entries>(colours);
    blend_terms.assign(static_cast<size_t>(blend_weights) * 256, 0);
    for (int w = 0; w < blend_weights; ++w) {
        for (int i = 0; i < 256; ++i) {
            const palette_entry& e = colours[static_cast<size_t>(i)];
            int r = e.red * w / 31 >> 3, g = e.green * w / 31 >> 3, b = e.blue * w / 31 >> 3;
            blend_terms[static_cast<size_t>(w * 256 + i)] =
                static_cast<uint16_t>(r << 10 | g << 5 | b);
        }
    }
    blend_results.assign(32768, 0);
    for (int c = 0; c < 32768; ++c) {
        blend_results[static_cast<size_t>(c)] = static_cast<uint8_t>(nearest_palette_index(
            colours, widen5(c >> 10 & 31), widen5(c >> 5 & 31), widen5(c & 31)));
    }
}

} // namespace vilora
