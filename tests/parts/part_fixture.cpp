#include "tests/parts/part_fixture.h"

#include "driver/data_files.h"
#include "kit/library_writer.h"
#include "parts/odistort.h"
#include "parts/ogreety.h"
#include "tests/pictures/picture_bytes.h"
#include "tests/support/surface_pixels.h"

#include <vector>

namespace vilora::testing {

namespace {

constexpr flat_picture flat_pictures[] = {
    {"top0.bmp", 320, 200, 10, 10, 40},    {"top1.bmp", 320, 200, 10, 40, 10},
    {"top2.bmp", 320, 200, 40, 10, 10},    {"top3.bmp", 320, 200, 40, 40, 10},
    {"mushk.bmp", 320, 60, 248, 248, 248}, {"credits.bmp", 320, 200, 40, 40, 40},
    {"cred-code.bmp", 60, 20, 248, 0, 0},  {"cred-music.bmp", 60, 20, 0, 248, 0},
    {"cred-3d.bmp", 60, 20, 0, 0, 248},    {"winditup.bmp", 64, 64, 200, 0, 0},
    {"carky.bmp", 320, 200, 0, 200, 0},    {"hlask9.bmp", 100, 50, 0, 0, 248},
    {"ukaz.bmp", 40, 40, 248, 248, 0},     {"lifelife.bmp", 320, 200, 32, 64, 96},
};

std::vector<uint8_t> flat_bmp(const flat_picture& p) {
    bmp_spec spec;
    spec.width = p.width;
    spec.height = p.height;
    spec.palette = {{p.red, p.green, p.blue}};
    const std::vector<uint8_t> row(static_cast<size_t>(p.width), 0);
    spec.pixels = indexed_rows(
        p.width, std::vector<std::vector<uint8_t>>(static_cast<size_t>(p.height), row));
    return bmp_bytes(spec);
}

} // namespace

scene_part_stage::scene_part_stage() {
    set_data_directory(data.path.string());
    set_screen_size(320, 240);
    engine_display = &screen.display;
    ogreety::reset_statics();
    odistort::reset_statics();
    kit::library_writer writer;
    for (const flat_picture& p : flat_pictures) EXPECT_TRUE(writer.add_member(p.name, flat_bmp(p)));
    const std::string file = (dir / "scene_parts.782").string();
    EXPECT_TRUE(writer.write(file)) << writer.error();
    EXPECT_TRUE(open_library(file.c_str()));
}

scene_part_stage::~scene_part_stage() {
    engine_display = nullptr;
}

void scene_part_stage::write_scene(const std::string& name, const test_scene& scene) {
    write_bytes(data / name, scene_bytes(scene));
}

test_scene scene_part_stage::one_mesh_scene(int faces, float depth) {
    test_scene scene;
    scene.end_frame = 100;
    const float r = 0.3f * depth;
    scene.meshes = {triangle_mesh("Tri", faces, -r, -r, depth, r, -r, depth, 0, r, depth)};
    return scene;
}

uint32_t scene_part_stage::back_pixel(int32_t x, int32_t y) {
    return pixel_at(back(), origin_x + x, origin_y + y);
}

uint32_t scene_part_stage::colour(uint8_t red, uint8_t green, uint8_t blue) {
    return screen_pixel(screen.display, red, green, blue);
}

uint32_t scene_part_stage::colour_of(const std::string& picture) {
    for (const flat_picture& p : flat_pictures)
        if (picture == p.name) return colour(p.red, p.green, p.blue);
    ADD_FAILURE() << "no test picture " << picture;
    return 0;
}

} // namespace vilora::testing
