// Reading and writing single pixels of a surface in tests, and the pixel a
// colour becomes on a display, worked out independently of the code under test.
#pragma once

#include "platform/display/display_device.h"
#include "platform/display/surface.h"

#include <cstdint>
#include <vector>

namespace vilora::testing {

// The pixel at (x, y); the surface is locked for the read if it is not already.
uint32_t pixel_at(surface& target, int32_t x, int32_t y);
void set_pixel(surface& target, int32_t x, int32_t y, uint32_t value);
// Every pixel, row by row.
std::vector<uint32_t> all_pixels(surface& target);

// (red, green, blue) as the display shows it: packed by its pixel format above
// 8 bits, the nearest screen palette index at 8.
uint32_t screen_pixel(const display_device& display, uint8_t red, uint8_t green, uint8_t blue);

} // namespace vilora::testing
