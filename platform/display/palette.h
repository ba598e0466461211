// The palette object of 8-bit screens: the 256 screen colours and the two blend
// tables through which 8-bit pictures are faded and alpha-blended. In the other
// modes it is empty.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace vilora {

struct palette_entry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
};
using palette_entries = std::array<palette_entry, 256>;

// Blend weights run 0..31: an 8-bit screen has 32 fade steps.
inline constexpr int blend_weights = 32;

class palette {
public:
    palette() = default;
    virtual ~palette() = default;

    // The palette an 8-bit screen starts with: a 6x6x6 colour cube, the grey
    // levels in between, and a few mixed tones; every channel a 5-bit level.
    static palette screen_default();

    // Sets the colours and rebuilds the blend tables.
    void set_entries(const palette_entries& colours);

    // The colour table; null when the palette is empty (16, 24 and 32-bit modes).
    // It is also the palette the screen shows.
    std::shared_ptr<const palette_entries> entries;

    // Blend tables: for weight w and colour index i, blend_terms[w * 256 + i] holds
    // the colour scaled by w / 31 as three 5-bit fields (red 10..14, green 5..9,
    // blue 0..4); two terms whose weights add up to 31 never carry between fields.
    // blend_results maps such a sum to the nearest palette colour, so
    //   blended index = blend_results[blend_terms[(31 - w) * 256 + d] + blend_terms[w * 256 + s]].
    std::vector<uint16_t> blend_terms;
    std::vector<uint8_t> blend_results;
};

// The entry closest to (red, green, blue) by the sum of absolute channel
// differences; ties keep the lowest index, and an exact match ends the search.
int nearest_palette_index(const palette_entries& colours, int red, int green, int blue);

} // namespace vilora
