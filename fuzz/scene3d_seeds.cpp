// Writes the seed corpus of the scene3d_load fuzz target:
//   scene3d_seeds DIR
#include "fuzz/seed_file.h"
#include "tests/scene3d/chunk_writer.h"
#include "tests/scene3d/scene_files.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> mesh_only() {
    vilora::test::chunk_writer w;
    vilora::test::begin_scene(w);
    vilora::test::add_mesh(w, "Tri", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {{0, 1, 2, 0}});
    w.end();
    w.end();
    return w.bytes();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: scene3d_seeds DIR\n", stderr);
        return 2;
    }
    std::string dir = argv[1];
    bool ok = vilora::fuzzing::write_seed(dir + "/mesh.3ds", mesh_only()) &&
              vilora::fuzzing::write_seed(dir + "/animated.3ds", vilora::test::animated_scene()) &&
              vilora::fuzzing::write_seed(dir + "/featured.3ds", vilora::test::featured_scene());
    return ok ? 0 : 1;
}
