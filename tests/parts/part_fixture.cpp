#include "tests/parts/part_fixture.h"

#include "engine/data_files.h"
#include "kit/formats/library_writer.h"
#include "parts/houp.h"
#include "parts/odistort.h"
#include "parts/ogreety.h"
#include "parts/oland.h"
#include "parts/oneco0.h"
#include "parts/oneco1.h"
#include "tests/pictures/picture_bytes.h"
#include "tests/support/surface_pixels.h"

#include <vector>

namespace vilora::testing {

namespace {

// The small pictures "x0.bmp" to "x11.bmp" are all red 248 with green
// 20 n + 8, so that each stays recognisable through a fade.
constexpr flat_picture flat_pictures[] = {
    {"top0.bmp", 320, 200, 10, 10, 40},    {"top1.bmp", 320, 200, 10, 40, 10},
    {"top2.bmp", 320, 200, 40, 10, 10},    {"top3.bmp", 320, 200, 40, 40, 10},
    {"mushk.bmp", 320, 60, 248, 248, 248}, {"credits.bmp", 320, 200, 40, 40, 40},
    {"cred-code.bmp", 60, 20, 248, 0, 0},  {"cred-music.bmp", 60, 20, 0, 248, 0},
    {"cred-3d.bmp", 60, 20, 0, 0, 248},    {"winditup.bmp", 64, 64, 200, 0, 0},
    {"carky.bmp", 320, 200, 0, 200, 0},    {"hlask9.bmp", 100, 50, 0, 0, 248},
    {"ukaz.bmp", 40, 40, 248, 248, 0},     {"lifelife.bmp", 320, 200, 32, 64, 96},
    {"jug.bmp", 320, 200, 0, 0, 64},       {"x0.bmp", 16, 16, 248, 8, 0},
    {"x1.bmp", 16, 16, 248, 28, 0},        {"x2.bmp", 16, 16, 248, 48, 0},
    {"x3.bmp", 16, 16, 248, 68, 0},        {"x4.bmp", 16, 16, 248, 88, 0},
    {"x5.bmp", 16, 16, 248, 108, 0},       {"x6.bmp", 16, 16, 248, 128, 0},
    {"x7.bmp", 16, 16, 248, 148, 0},       {"x8.bmp", 16, 16, 248, 168, 0},
    {"x9.bmp", 16, 16, 248, 188, 0},       {"x10.bmp", 16, 16, 248, 208, 0},
    {"x11.bmp", 16, 16, 248, 228, 0},      {"housena.bmp", 320, 200, 64, 32, 0},
    {"mirror3.bmp", 2, 2, 200, 200, 0},    {"glit.bmp", 320, 200, 32, 64, 32},
    {"hool.bmp", 320, 10, 200, 96, 48},    {"noon0.bmp", 320, 200, 16, 48, 80},
    {"noon1.bmp", 320, 200, 48, 80, 16},   {"noon2.bmp", 320, 200, 80, 16, 48},
    {"noon3.bmp", 320, 200, 96, 96, 16},
};

// The flare: 8 x 8, opaque, pure red.
std::vector<uint8_t> flare_psd() {
    std::vector<uint8_t> planes(64, 248);
    planes.resize(3 * 64, 0);
    return psd_bytes(psd_spec{1, 3, 8, 8, 8, 3, 0, 0, planes});
}

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
    ogreety::reset_statics();
    odistort::reset_statics();
    oneco0::reset_statics();
    houp::reset_statics();
    oland::reset_statics();
    oneco1::reset_statics();
    kit::library_writer writer;
    for (const flat_picture& p : flat_pictures) EXPECT_TRUE(writer.add_member(p.name, flat_bmp(p)));
    EXPECT_TRUE(writer.add_member("flare1.psd", flare_psd()));
    const std::string file = (dir / "scene_parts.782").string();
    EXPECT_TRUE(writer.write(file)) << writer.error();
    EXPECT_TRUE(open_library(file.c_str()));
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

uint32_t scene_part_stage::back_pixel(int32_t column, int32_t row) {
    return pixel_at(back(), origin_x + column, origin_y + row);
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
