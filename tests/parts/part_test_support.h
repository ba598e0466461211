// The stage for effect part tests: a 320x240 display with the picture area
// letterboxed at (0, 20) as the show sets it, archives of blank pictures made
// at test time and opened as the engine's library, and pictures refilled
// pixel by pixel so that every value tells where it came from.
#pragma once

#include "parts/displacement_pass.h"
#include "platform/display/surface.h"
#include "tests/library/library_test_support.h"
#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vilora::testing {

struct blank_picture {
    std::string name;
    int32_t width = 1;
    int32_t height = 1;
};

// A black 24-bit BMP.
std::vector<uint8_t> blank_bmp(int32_t width, int32_t height);

// A copy of a 16-bit surface's pixels, row-major.
struct pixel_grid {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint16_t> values;

    uint16_t at(int32_t row, int32_t column) const {
        return values.at(static_cast<size_t>(row) * static_cast<size_t>(width) +
                         static_cast<size_t>(column));
    }
};
pixel_grid grid_of(surface& target);

// Sets every pixel to value(row, column).
void fill_surface(surface& target, const std::function<uint16_t(int32_t, int32_t)>& value);

class part_test : public ::testing::Test {
protected:
    // The show's screen of 240 lines (its picture area at (0, 20)), a fixed
    // seed, every part's class statics at their program-start values, no
    // library open.
    part_test();
    ~part_test() override;

    // Writes an archive of blank pictures into the scratch directory.
    std::string write_archive(const std::string& file_name,
                              const std::vector<blank_picture>& pictures);
    // Writes it and opens it as the engine's library.
    void open_pictures(const std::vector<blank_picture>& pictures);

    surface& back() { return *screen.display.back; }
    display_device* display() { return &screen.display; }

    static constexpr int32_t x = 0; // the picture area's top-left corner
    static constexpr int32_t y = 20;

    test_display screen;
    scratch_dir dir;
};

// 5-6-5 pixels: the red field as an 8-bit value.
inline int32_t red_565(uint16_t pixel) {
    return (pixel >> 11) << 3;
}

// What the displacement pass leaves at screen column i, row j of the picture
// area, worked out from copies of the pictures; `window` takes the pixel from
// the column map.
uint16_t displaced_pixel(const pixel_grid& row_map, map_offsets row_map_at,
                         const pixel_grid& column_map, map_offsets column_map_at,
                         const pixel_grid& source, int32_t i, int32_t j, bool window = false);

} // namespace vilora::testing
