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

std::vector<uint8_t> animated_scene() {
    chunk_writer w;
    begin_scene(w);
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
    w.end(); // editor
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
    w.end(); // main
    return w.bytes();
}

} // namespace vilora::test
