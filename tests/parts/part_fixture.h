// The world of the scene part tests: a 320x240 display whose picture area is
// letterboxed at (0, 20) as the show sets it, the engine's display pointer for
// the rasterisers, a data directory for the scenes, and one library holding
// every picture of the parts, each one flat colour so that a test can tell
// which picture covers a pixel.
#pragma once

#include "driver/engine.h"
#include "tests/library/library_test_support.h"
#include "tests/parts/test_scene.h"
#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace vilora::testing {

struct test_picture {
    const char* name;
    int32_t width;
    int32_t height;
    uint8_t red, green, blue;
};

// The pictures the library holds, and one by name (fails the test if unknown).
extern const test_picture part_pictures[];
const test_picture& picture_named(const std::string& name);

// Opens the picture library once per program: the engine reads pictures from
// the library for good once one is open.
void open_part_library();

class part_test : public ::testing::Test {
protected:
    part_test();
    ~part_test() override;

    // Writes the scene under `name` into the data directory.
    void write_scene(const std::string& name, const test_scene& scene);
    // A scene with one mesh of `faces` copies of a triangle facing the camera
    // at depth `depth`, about the middle of the view whatever the depth: with
    // a 320-wide camera and centre (160, 100) its corners fall near (107, 144),
    // (213, 144) and (160, 56).
    static test_scene one_mesh_scene(int faces, float depth);

    // The back surface's pixel at picture-area (x, y), and the screen value
    // of a colour.
    uint32_t back_pixel(int32_t x, int32_t y);
    uint32_t colour(uint8_t red, uint8_t green, uint8_t blue) const;
    uint32_t colour_of(const std::string& picture) const;

    scratch_dir data;
    test_display screen;
    display_device& display = screen.display;
};

} // namespace vilora::testing
