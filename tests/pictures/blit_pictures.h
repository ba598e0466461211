// Pictures for the blit tests: a display in the mode a test asks for, with a
// picture list whose pictures the test fills itself, and seeded random
// pixels and alpha maps.
#pragma once

#include "pictures/picture_list.h"
#include "tests/library/library_test_support.h"
#include "tests/support/test_display.h"

#include <cstdint>
#include <random>
#include <vector>

namespace vilora::testing {

struct blit_screen {
    // On 240 lines the clip is narrowed to the picture area (0, 20, 320, 220).
    explicit blit_screen(int depth = 16, int lines = 200,
                         high_colour_layout layout = high_colour_layout::rgb565);

    // Adds a black width x height picture (colour key 0), keyed or not, with a
    // zeroed alpha map when asked; returns its index.
    int32_t add_picture(int32_t width, int32_t height, bool keyed = false, bool alpha = false);
    surface& picture(int32_t index) { return *list.picture_surface(index); }
    surface& back() { return *screen.display.back; }
    const pixel_format& format() const { return *screen.display.format; }
    // Gives the 16-bit screen other channel masks (layout "other" unless they
    // are one of the known ones); the surfaces keep their 16-bit pixels.
    void use_masks(uint32_t red, uint32_t green, uint32_t blue);

    test_display screen;
    scratch_dir dir;
    picture_list list;
};

// The pixel bytes of every row (without row padding).
std::vector<uint8_t> surface_bytes(surface& target);
// Every pixel value, row by row (little-endian bytes, as pixel_at reads them).
std::vector<uint32_t> pixel_values(surface& target);
void set_pixel_values(surface& target, const std::vector<uint32_t>& values);
void fill_random(surface& target, std::mt19937& random);
// Alphas in groups of four that are all 0, all 255, or mixed (0 and 255 among them).
void fill_random_alpha(surface& target, std::mt19937& random);

// Restores the four-pixel switch and the span implementation a test changed.
class path_scope {
public:
    path_scope();
    ~path_scope();
    path_scope(const path_scope&) = delete;
    path_scope& operator=(const path_scope&) = delete;

private:
    bool mmx_;
};

} // namespace vilora::testing
