// Colours into a drawing context's pixels: 8-bit channels packed by the
// context's masks above 8 bits per pixel, the nearest palette colour at 8.
// Internal to the platform layer.
#pragma once

#include "platform/display/device_context.h"

#include <array>
#include <cstdint>

namespace vilora {

class context_colour {
public:
    explicit context_colour(const device_context& context);

    // False when the context has no colours to convert to: an 8-bit context
    // without a palette, or a depth the display does not have.
    bool usable() const { return bytes_per_pixel_ != 0; }
    int bytes_per_pixel() const { return bytes_per_pixel_; }

    // The pixel for (red, green, blue), 0..255 each.
    uint32_t pixel(uint8_t red, uint8_t green, uint8_t blue);
    // The pixel for a colour value 0x00BBGGRR (red in the low byte).
    uint32_t pixel_of_colour_value(uint32_t value) {
        return pixel(static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                     static_cast<uint8_t>(value >> 16));
    }
    // Writes a pixel little-endian, bytes_per_pixel() bytes.
    void store(uint8_t* destination, uint32_t value) const {
        for (int i = 0; i < bytes_per_pixel_; ++i)
            destination[i] = static_cast<uint8_t>(value >> (8 * i));
    }

private:
    struct channel {
        int left_shift = 0;  // lowest set bit of the mask
        int right_shift = 0; // 8 minus the mask's bit count
        uint32_t pack(uint8_t value) const {
            return static_cast<uint32_t>(value >> right_shift) << left_shift;
        }
    };
    static channel channel_of(uint32_t mask);

    // The palette search costs 256 distances, so results are kept in a small
    // direct-mapped cache keyed by the colour (bit 24 marks a valid slot).
    static constexpr size_t cache_slots = 4096;
    struct cached_index {
        uint32_t colour = 0;
        uint8_t index = 0;
    };

    int bytes_per_pixel_ = 0;
    channel red_, green_, blue_;
    const palette_entries* palette_ = nullptr;
    std::array<cached_index, cache_slots> cache_{};
};

} // namespace vilora
