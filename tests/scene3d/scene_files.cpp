#include "tests/scene3d/scene_files.h"

#include <fstream>
#include <random>

namespace vilora::test {

temp_file::temp_file(const std::string& name) {
    std::random_device seed;
    dir_ = std::filesystem::temp_directory_path() /
           ("vilora-scene3d-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / name).string();
}

temp_file::~temp_file() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

void temp_file::write(const std::vector<uint8_t>& bytes) const {
    std::ofstream out(path_, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

namespace {

// The editor chunk of the animated scene: a red material, the camera, a light
// and a four-sided mesh.
void write_animated_world(chunk_writer& w) {
    w.begin(0xAFFF);
    w.begin(0xA000);
    w.str("Red");
    w.end();
    w.begin(0xA020);
    w.begin(0x0011);
    w.u8(255);
    w.u8(0);
    w.u8(0);
    w.end();
    w.end();
    w.end();
    add_camera(w, "Camera01", 0, -50, 10, 0, 0, 0, 0, 35);
    w.begin(0x4000);
    w.str("Omni01");
    w.begin(0x4600);
    w.vec(10, 10, 30);
    w.end();
    w.end();
    add_mesh(w, "Box", {-5, -5, 0, 5, -5, 0, 0, 5, 0, 0, 0, 8},
             {{0, 1, 2, 0}, {0, 1, 3, 0}, {1, 2, 3, 0}, {2, 0, 3, 0}});
}

// The keyframer chunk: the mesh moved, turned and scaled, a hidden dummy under
// it, and the camera and its target placed.
void write_animated_motion(chunk_writer& w) {
    w.begin(0xB000);
    frame_range(w, 0, 40);
    begin_node(w, 0xB002, 0, "Box", -1);
    track_header(w, 0xB020, 0, 2);
    key(w, 0);
    w.vec(0, 0, 0);
    key(w, 40);
    w.vec(10, 0, 5);
    w.end();
    track_header(w, 0xB021, 0, 2);
    key(w, 0);
    w.f32(0);
    w.vec(0, 0, 1);
    key(w, 20);
    w.f32(1.5f);
    w.vec(0, 0, 1);
    w.end();
    track_header(w, 0xB022, 0, 1);
    key(w, 0);
    w.vec(1, 1, 1);
    w.end();
    w.end();
    begin_node(w, 0xB002, 1, "$$$DUMMY", 0);
    w.begin(0xB011);
    w.str("Helper");
    w.end();
    track_header(w, 0xB029, 0, 2);
    key(w, 10);
    key(w, 20);
    w.end();
    w.end();
    begin_node(w, 0xB003, 2, "Camera01", -1);
    track_header(w, 0xB020, 0, 1);
    key(w, 0);
    w.vec(0, -50, 10);
    w.end();
    w.end();
    begin_node(w, 0xB004, 3, "Camera01", -1);
    track_header(w, 0xB020, 0, 1);
    key(w, 0);
    w.vec(0, 0, 0);
    w.end();
    w.end();
    w.end(); // keyframer
}

} // namespace

std::vector<uint8_t> animated_scene() {
    chunk_writer w;
    begin_scene(w);
    write_animated_world(w);
    w.end(); // editor
    write_animated_motion(w);
    w.end(); // main
    return w.bytes();
}

namespace {

void textured_material(chunk_writer& w) {
    w.begin(0xAFFF);
    w.begin(0xA000);
    w.str("Gold");
    w.end();
    w.begin(0xA040);
    w.begin(0x0030);
    w.u16(60);
    w.end();
    w.end();
    w.begin(0xA081);
    w.end();
    w.begin(0xA100);
    w.u16(3);
    w.end();
    w.begin(0xA200);
    w.begin(0x0030);
    w.u16(100);
    w.end();
    w.begin(0xA300);
    w.str("gold.bmp");
    w.end();
    w.begin(0xA351);
    w.u16(0x10);
    w.end();
    w.begin(0xA354);
    w.f32(2);
    w.end();
    w.end();
    w.end();
}

// A tetrahedron named `name`, moved by `dx`, with a local matrix turned a
// quarter about z, mapping coordinates and all faces in "Gold".
void blob(chunk_writer& w, const char* name, float dx) {
    w.begin(0x4000);
    w.str(name);
    w.begin(0x4100);
    w.begin(0x4110);
    w.u16(4);
    w.vec(dx, 0, 0);
    w.vec(dx + 2, 0, 0);
    w.vec(dx, 2, 0);
    w.vec(dx, 0, 2);
    w.end();
    w.begin(0x4140);
    w.u16(4);
    for (int i = 0; i < 4; ++i) {
        w.f32(static_cast<float>(i) / 4);
        w.f32(1);
    }
    w.end();
    w.begin(0x4160);
    w.vec(0, 1, 0);
    w.vec(-1, 0, 0);
    w.vec(0, 0, 1);
    w.vec(dx, 0, 0);
    w.end();
    w.begin(0x4120);
    w.u16(4);
    for (uint16_t v : {0, 1, 2, 0, 0, 1, 3, 8, 1, 2, 3, 16, 2, 0, 3, 0}) w.u16(v);
    w.begin(0x4130);
    w.str("Gold");
    w.u16(4);
    for (uint16_t f : {0, 1, 2, 3}) w.u16(f);
    w.end();
    w.end();
    w.end();
    w.end();
}

// A key header with tension, continuity, bias and both eases.
void spline_key(chunk_writer& w, uint32_t frame) {
    w.u32(frame);
    w.u16(0x1F);
    w.f32(0.2f);
    w.f32(-0.1f);
    w.f32(0.3f);
    w.f32(0.4f);
    w.f32(0.5f);
}

void featured_world(chunk_writer& w) {
    textured_material(w);
    blob(w, "Blob", 0);
    blob(w, "Blob2", 5);
    add_camera(w, "rolli", 0, -30, 5, 0, 0, 0, 10, 28);
    w.begin(0x4000);
    w.str("Spot");
    w.begin(0x4600);
    w.vec(0, 0, 20);
    w.begin(0x0010);
    w.vec(1, 0.5f, 0.25f);
    w.end();
    w.begin(0x4610);
    w.vec(0, 0, 0);
    w.f32(15);
    w.f32(30);
    w.end();
    w.end();
    w.end();
}

void featured_objects(chunk_writer& w) {
    begin_node(w, 0xB002, 0, "Blob", -1);
    w.begin(0xB013);
    w.vec(0.5f, 0, 0);
    w.end();
    track_header(w, 0xB020, 3, 3); // loop
    spline_key(w, 0);
    w.vec(0, 0, 0);
    spline_key(w, 20);
    w.vec(5, 5, 0);
    spline_key(w, 40);
    w.vec(0, 10, 0);
    w.end();
    track_header(w, 0xB021, 2, 3); // repeat
    for (uint32_t frame : {0u, 20u, 40u}) {
        spline_key(w, frame);
        w.f32(1);
        w.vec(0, 1, 0);
    }
    w.end();
    track_header(w, 0xB022, 0, 1);
    key(w, 0);
    w.vec(1, 1, 1);
    w.end();
    track_header(w, 0xB026, 0, 2);
    key(w, 0);
    w.str("Blob");
    key(w, 30);
    w.str("Blob2");
    w.end();
    w.end();
    begin_node(w, 0xB002, 1, "Blob2", 0, 0x800);
    track_header(w, 0xB022, 0, 1);
    key(w, 0);
    w.vec(1, 1, 1);
    w.end();
    w.end();
}

void featured_lights_and_camera(chunk_writer& w) {
    begin_node(w, 0xB001, 6, "$AMBIENT$", -1);
    track_header(w, 0xB025, 0, 2);
    key(w, 0);
    w.vec(0.1f, 0.1f, 0.1f);
    key(w, 60);
    w.vec(0.3f, 0.2f, 0.1f);
    w.end();
    w.end();
    begin_node(w, 0xB003, 2, "rolli", -1);
    track_header(w, 0xB020, 0, 1);
    key(w, 0);
    w.vec(0, -30, 5);
    w.end();
    track_header(w, 0xB023, 0, 2);
    spline_key(w, 0);
    w.f32(60);
    spline_key(w, 60);
    w.f32(30);
    w.end();
    track_header(w, 0xB024, 0, 2);
    key(w, 0);
    w.f32(0);
    key(w, 60);
    w.f32(45);
    w.end();
    w.end();
    begin_node(w, 0xB004, 3, "rolli", 0);
    w.end();
    begin_node(w, 0xB007, 4, "Spot", 2);
    track_header(w, 0xB020, 0, 1);
    key(w, 0);
    w.vec(0, 0, 20);
    w.end();
    track_header(w, 0xB025, 0, 1);
    key(w, 0);
    w.vec(0, 1, 0);
    w.end();
    w.end();
    begin_node(w, 0xB006, 5, "Spot", -1);
    track_header(w, 0xB020, 0, 1);
    key(w, 0);
    w.vec(1, 1, 1);
    w.end();
    w.end();
}

} // namespace

std::vector<uint8_t> featured_scene() {
    chunk_writer w;
    begin_scene(w);
    featured_world(w);
    w.end(); // editor
    w.begin(0xB000);
    frame_range(w, 0, 60);
    featured_objects(w);
    featured_lights_and_camera(w);
    w.end();
    w.end();
    return w.bytes();
}

} // namespace vilora::test
