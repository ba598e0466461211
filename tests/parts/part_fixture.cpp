#include "tests/parts/part_fixture.h"

#include "driver/data_files.h"
#include "kit/library_writer.h"
#include "tests/pictures/picture_bytes.h"
#include "tests/support/surface_pixels.h"

#include <filesystem>
#include <vector>

namespace vilora::testing {

const test_picture part_pictures[] = {
    {"top0.bmp", 320, 200, 10, 10, 40},    {"top1.bmp", 320, 200, 10, 40, 10},
    {"top2.bmp", 320, 200, 40, 10, 10},    {"top3.bmp", 320, 200, 40, 40, 10},
    {"mushk.bmp", 320, 60, 248, 248, 248}, {"credits.bmp", 320, 200, 40, 40, 40},
    {"cred-code.bmp", 60, 20, 248, 0, 0},  {"cred-music.bmp", 60, 20, 0, 248, 0},
    {"cred-3d.bmp", 60, 20, 0, 0, 248},    {"winditup.bmp", 64, 64, 200, 0, 0},
    {"carky.bmp", 320, 200, 0, 200, 0},    {"hlask9.bmp", 100, 50, 0, 0, 248},
    {"ukaz.bmp", 40, 40, 248, 248, 0},     {"lifelife.bmp", 320, 200, 32, 64, 96},
};

const test_picture& picture_named(const std::string& name) {
    for (const test_picture& p : part_pictures)
        if (name == p.name) return p;
    ADD_FAILURE() << "no test picture " << name;
    return part_pictures[0];
}

namespace {

std::vector<uint8_t> flat_bmp(const test_picture& p) {
    bmp_spec spec;
    spec.width = p.width;
    spec.height = p.height;
    spec.palette = {{p.red, p.green, p.blue}};
    spec.pixels = indexed_rows(p.width, std::vector<std::vector<uint8_t>>(
                                            static_cast<size_t>(p.height),
                                            std::vector<uint8_t>(static_cast<size_t>(p.width), 0)));
    return bmp_bytes(spec);
}

} // namespace

void open_part_library() {
    static bool opened = [] {
        kit::library_writer writer;
        for (const test_picture& p : part_pictures) {
            const std::vector<uint8_t> bytes = flat_bmp(p);
            writer.add_member(p.name, bytes);
        }
        static scratch_dir library_dir;
        const std::string file = (library_dir / "parts.782").string();
        return writer.write(file) && open_library(file.c_str());
    }();
    ASSERT_TRUE(opened);
}

part_test::part_test() {
    set_data_directory(data.path.string());
    display.clip = clip_rect{0, 20, 320, 220};
    origin_x = 0;
    origin_y = 20;
    set_screen_size(320, 240);
    engine_display = &display;
    open_part_library();
    seed_random(1);
}

part_test::~part_test() {
    engine_display = nullptr;
}

void part_test::write_scene(const std::string& name, const test_scene& scene) {
    write_bytes(data / name, scene_bytes(scene));
}

test_scene part_test::one_mesh_scene(int faces, float depth) {
    test_scene scene;
    scene.end_frame = 100;
    const float r = 0.3f * depth;
    scene.meshes = {triangle_mesh("Tri", faces, -r, -r, depth, r, -r, depth, 0, r, depth)};
    return scene;
}

uint32_t part_test::back_pixel(int32_t x, int32_t y) {
    return pixel_at(*display.back, origin_x + x, origin_y + y);
}

uint32_t part_test::colour(uint8_t red, uint8_t green, uint8_t blue) const {
    return screen_pixel(display, red, green, blue);
}

uint32_t part_test::colour_of(const std::string& picture) const {
    const test_picture& p = picture_named(picture);
    return colour(p.red, p.green, p.blue);
}

} // namespace vilora::testing
