// The stage of the scene part tests, on top of the effect part tests' one:
// the picture area's corner the parts are run with, a data directory for the scenes
// written by each test, and an archive of every picture of the scene parts,
// each one flat colour so that a test can tell which picture covers a pixel.
#pragma once

#include "engine/engine.h"
#include "tests/parts/part_test_support.h"
#include "tests/parts/test_scene.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vilora::testing {

struct flat_picture {
    const char* name;
    int32_t width;
    int32_t height;
    uint8_t red, green, blue;
};

class scene_part_stage : public part_test {
protected:
    scene_part_stage();

    // Writes the scene under `name` into the data directory.
    void write_scene(const std::string& name, const test_scene& scene);
    // A scene with one mesh of `faces` copies of a triangle facing the camera
    // at depth `depth`, about the middle of the view whatever the depth: with
    // a 320-wide camera and centre (160, 100) its corners fall near (107, 144),
    // (213, 144) and (160, 56).
    static test_scene one_mesh_scene(int faces, float depth);

    // The back surface's pixel at picture-area (x, y), and the screen value
    // of a colour or of a picture's flat colour.
    uint32_t back_pixel(int32_t x, int32_t y);
    uint32_t colour(uint8_t red, uint8_t green, uint8_t blue);
    uint32_t colour_of(const std::string& picture);

    // The part's `frame` after each of `calls` runs in mode 0.
    template <class Part>
    std::vector<float> frames_of_runs(Part& part, int calls) {
        std::vector<float> frames;
        for (int call = 0; call < calls; ++call) {
            part.run(&display, 0, origin_x, origin_y);
            frames.push_back(part.scene_fields().frame);
        }
        return frames;
    }

    scratch_dir data;
    display_device& display = screen.display;
    // Where start-up put the picture area; a test of another mode moves it.
    int32_t origin_x = engine_screen().origin_x;
    int32_t origin_y = engine_screen().origin_y;
};

} // namespace vilora::testing
